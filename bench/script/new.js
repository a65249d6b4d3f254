// Objects made by a constructor function: 1e6 `new F(i, i)`.
function F(a, b) { this.a = a; this.b = b; }
var s = 0;
for (var i = 0; i < 1e6; i++) { var o = new F(i, i); s = s + o.b; }
print(s);
