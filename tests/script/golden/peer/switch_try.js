// switch with fall-through and default; try/catch/finally with thrown primitives.
function name(n) {
  var r = "";
  switch (n) {
    case 1: r = "one"; break;
    case 2: r = "two";
    case 3: r = r + "three"; break;
    default: r = "many";
  }
  return r;
}
println(name(1));
println(name(2));
println(name(3));
println(name(9));
try { throw 42; } catch (e) { println(e); }
try { throw "boom"; } catch (e) { println(e); } finally { println("finally"); }
function inner() { throw 7; }
function outer() { try { inner(); } catch (x) { return x + 1; } return 0; }
println(outer());
var log = "";
for (var i = 0; i < 3; i++) {
  try { if (i == 1) throw i; log = log + "t" + i; } catch (e) { log = log + "c" + e; } finally { log = log + "f"; }
}
println(log);
