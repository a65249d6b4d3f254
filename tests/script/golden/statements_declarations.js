// var without a value is the integer 0; declaring again resets; static keeps its value.
var x;
println(x, typeof x);
x = 5;
var x;
println(x);
var a = 1, b = a + 1;
println(b);
function counter() { static n = 0; n++; return n; }
counter();
counter();
println(counter());
function setGlobal() { g = 9; }
setGlobal();
println(g);
global q = 4;
println(q);
