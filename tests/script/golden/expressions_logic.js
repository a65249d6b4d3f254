// || and && give booleans; && and || stop early; typeof takes the whole comma expression.
println("" || "x", "a" && "b", 0 || 0);
var called = false;
function f() { called = true; return true; }
println(0 && f(), called);
println(1 || f(), called);
println(typeof undeclaredName);
println(typeof 1 == "undefined");
println(typeof null, typeof "s", typeof 1.5, typeof [], typeof f, typeof true);
println(void 0);
println(1 ? "then" : "else", 0 ? "then" : "else");
println(!0, !"x", -(3), ~5);
