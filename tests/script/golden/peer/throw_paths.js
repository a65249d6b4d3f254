// Thrown values through blocks, loops, switch, finally clauses and function boundaries.
var log = "";
function note(s) { log = log + s + " "; }
for (var i = 0; i < 3; i++) {
  try { if (i == 1) throw "t" + i; note("body" + i); } catch (e) { note("catch:" + e); } finally { note("fin" + i); }
}
println(log);
log = "";
function inner(x) { while (true) { switch (x) { case 1: throw "from switch"; default: return "none"; } } }
try { inner(1); } catch (e) { note(e); }
note(inner(2));
println(log);
log = "";
function rethrow() {
  try { throw 1; } catch (e) { note("c" + e); throw e + 1; } finally { note("f"); }
}
try { rethrow(); } catch (e) { note("outer" + e); }
println(log);
function finallyWins() { try { throw "lost"; } finally { return "finally"; } }
println(finallyWins());
function finallyThrows() { try { return "kept"; } finally { throw "replaced"; } }
try { finallyThrows(); } catch (e) { println(e); }
function nested() {
  try {
    try { throw "a"; } finally { note("in-fin"); }
  } catch (e) { return "caught " + e; }
}
log = "";
var r = nested();
println(r + " " + log);
var count = 0;
for (var k = 0; k < 1000; k++) { try { throw k; } catch (e) { count = count + e; } }
println(count);
do { try { throw 5; } catch (e) { println("do " + e); break; } } while (true);
