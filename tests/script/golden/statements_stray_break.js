// break outside a loop inside a function is a syntax error at its line.
function f() {
  println("in f");
  break;
}
for (var i = 0; i < 3; i++) { f(); }
