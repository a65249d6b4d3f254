// Objects: literals, member reads and writes, nested objects, methods.
var o = {a: 1, b: "two"};
o.c = 3;
o.a = o.a + o.c;
println(o.a);
println(o.b);
var p = {inner: {v: 7}};
p.inner.v = p.inner.v * 6;
println(p.inner.v);
function Counter() { this.count = 0; this.add = function(k) { this.count = this.count + k; }; }
var c = new Counter();
c.add(5);
c.add(6);
println(c.count);
