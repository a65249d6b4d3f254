// Deep recursion through script calls, eval and the printing of nested arrays ends in a
// "stack overflow" script error, whatever the stack: this script also runs with 4 MiB.
function d(n) { if (n == 0) return 0; return d(n - 1) + 1; }
try { println(d(100000)); } catch (e) { println("calls: " + e); }
function e(n) { return eval("e(n + 1)"); }
try { e(0); } catch (x) { println("eval: " + x); }
var a = [];
var b = a;
for (var i = 0; i < 1000; i++) { var c = [0]; b.push(c); b = c; }
try { println(a); } catch (x) { println("print: " + x); }
try { println(a.join("-")); } catch (x) { println("join: " + x); }
println(d(1000));
d(100000);
