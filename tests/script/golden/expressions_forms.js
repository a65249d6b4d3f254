// Literal keys, new without parentheses, class (Base) syntax, index forms, typeof absorbing
// missing members.
var o = {name: 1, "two words": 2, 3: "three", flag};
println(o.name, o("two words"), o[3], typeof o.flag);
function P() { this.made = true; }
var p = new P;
println(p.made);
class A { var a = 1; }
class B(A) { var b = 2; }
var b = new B();
println(b.a, b.b, nameOf(b));
var grid = {};
grid[1, 2] = "last index";
println(grid[2], grid(0, 2]);
println(typeof o.missing, typeof o["missing"]);
println(nameOf(A), typeof A);
