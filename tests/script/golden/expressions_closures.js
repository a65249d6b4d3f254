// Returned functions keep a snapshot of the variables at the return; nested functions
// see the enclosing call's newest variables; stored functions lose them.
function make() { var n = 0; return function() { n++; return n; }; }
var c = make();
println(c(), c(), c());
function snap() { var v = 1; var g = function() { return v; }; v = 2; return g; }
println(snap()());
function outer() { var x = 10; function inner() { return x; } x = 11; return inner(); }
println(outer());
var kept;
function store() { var y = 5; kept = function() { return y; }; }
store();
try { kept(); } catch (e) { println(e); }
