// Property reads and writes: 1e6 iterations.
var o = {a: 0, b: 1, c: 2};
for (var k = 0; k < 1e6; k++) { o.a = o.b + o.c; o.b = o.a - o.c; }
print(o.b);
