// this of plain calls, methods, call and apply, arguments.
function who() { return nameOf(this); }
println(who());
var o = {who: who};
println(o.who());
function add(a, b) { return nameOf(this) + ":" + (a + b); }
var t = {};
println(add.call(t, 1, 2));
println(add.apply(t, [3, 4]));
function count() { return arguments.length + ":" + arguments[0]; }
println(count(9, 8, 7));
function missing(a, b) { return typeof b; }
println(missing(1));
function self() { return arguments.callee == self; }
println(self());
try { add.apply(t, 5); } catch (e) { println(e); }
