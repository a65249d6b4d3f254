// Errors of the engine end the expression and the statement where they happen, reach the
// nearest try through calls, conditions and arguments, and run every finally on the way.
function show(label, f) {
  try { f(); println(label, "no error"); } catch (e) { println(label, e); }
}
function inner() { try { missingInner(); } finally { println("inner finally"); } }
show("through a call:", function() { inner(); println("not reached"); });
var x = 1;
function mark(v) { println("mark", v); return v; }
show("argument:", function() { x = mark(missingArg); });
show("last argument first:", function() { mark(mark(1), missingLast); });
println("x", x);
show("compound:", function() { x += missingCompound; });
show("increment:", function() { var o = null; o.p++; });
println("x", x);
show("if:", function() { if (missingIf) println("then"); else println("else"); });
show("while:", function() { var n = 0; while (n < 3 && (n < 2 || missingWhile)) n++; println("n", n); });
show("for step:", function() { for (var i = 0; i < 3; i = i + missingStep) println("i", i); });
show("switch:", function() { switch (missingSwitch) { default: println("default"); } });
show("case label:", function() { switch (1) { case 0: println("zero"); case missingCase: println("one"); } });
show("for in:", function() { for (var k in missingCollection) println(k); });
show("with:", function() { with (missingWith) println("inside"); });
show("return:", function() { return missingReturn; });
show("throw:", function() { throw missingThrow; });
show("var:", function() { var v = missingVar; println("v", v); });
show("member of member:", function() { var a = {}; a.b.c = 1; });
show("member of null:", function() { var n = null; println(n.length); });
show("call of a number:", function() { var n = 3; n(); });
show("method of undefined:", function() { var u; u.m(mark(2)); });
show("new:", function() { new Thing(missingNew); });
show("or:", function() { println(missingOr || mark(3)); });
show("conditional:", function() { println(missingCond ? mark(4) : mark(5)); });
show("array literal:", function() { println([1, missingItem, mark(6)]); });
show("object literal:", function() { println({a: mark(7), b: missingField}); });
show("sort compare:", function() { [3, 1, 2].sort(function(a, b) { return a - missingCompare; }); });
println("typeof", typeof missingTypeof);
function readsMissing() { return missingInCall; }
function throwsValue() { throw "thrown"; }
println("typeof of a call", typeof readsMissing());
show("typeof of a thrown value:", function() { println(typeof throwsValue()); });
function withFinally() {
  try { missingBeforeFinally(); } finally { return "finally wins"; }
}
println(withFinally());
function replacedInFinally() {
  try { throw "first"; } finally { missingInFinally(); }
}
show("replaced in finally:", replacedInFinally);
for (var j = 0; j < 3; j++) {
  try { if (j == 1) break; missingInLoop(); } catch (e) { println("loop", j, e); }
}
try { missingOuter(); } catch (e) { try { throw e + "!"; } catch (f) { println("rethrown", f); } }
function deep(n) { if (n == 0) return missingDeep; return deep(n - 1) + 1; }
show("deep:", function() { println(deep(50)); });
function uncaught() {
  var a = 1;
  return a + missingAtTheEnd;
}
uncaught();
println("not reached");
