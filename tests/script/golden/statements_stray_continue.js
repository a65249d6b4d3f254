// continue in a switch inside a function without a loop does not reach the caller's loop.
function f(v) {
  switch (v) {
    case 1: continue;
  }
  return v;
}
for (var i = 0; i < 3; i++) { println("call " + i); f(i); }
