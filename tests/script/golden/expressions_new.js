// new on script functions and classes; prototypes by name.
function F(v) { this.v = v; return 99; }
var f = new F(3);
println(f.v, nameOf(f), f.constructor == F);
F.prototype.shared = "proto";
println(f.shared);
class Base { var kind = "base"; function Base(x) { this.x = x; } function describe() { return this.kind + ":" + this.x; } }
class Derived extends Base { var extra; function Derived(x) { this.kind = "derived"; } }
var b = new Base(1);
var d = new Derived(2);
println(b.describe(), d.describe(), d.extra, nameOf(d));
var m = d.describe;
println(m());
var arr = new Array(3);
println(arr.length);
