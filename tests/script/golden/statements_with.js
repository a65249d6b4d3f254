// with makes an object's members visible as names; a non-object is an error.
var o = {a: 1, b: 2};
with (o) { a = a + b; println(a); }
println(o.a);
with (5) { println("never"); }
