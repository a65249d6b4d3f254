// Math: the eighteen functions and eight constants; results keep their kinds (integer
// or double), leave 32 bits as exact doubles, and NaN and the infinities pass through.
var c = ["E", "LN2", "LN10", "LOG2E", "LOG10E", "PI", "SQRT1_2", "SQRT2"];
for (var i = 0; i < c.length; i++) println(c[i] + " = " + Math[c[i]]);
println("Math.pi (published names ignore case) = " + Math.pi);

var rounding = [2.5, 3.5, -2.5, 0.5, 1.5, -0.4, 1e10, -1e10, 2147483647.5, -2147483648.5, 1e300];
for (var i = 0; i < rounding.length; i++) {
  var x = rounding[i];
  println("round/floor/ceil(" + x + ") = " + Math.round(x) + " " + Math.floor(x) + " " + Math.ceil(x) +
          (Math.round(x) === 2 ? " (integer 2)" : ""));
}
println("abs(-3) === 3: " + (Math.abs(-3) === 3) + ", abs(-2.5) === 2.5: " + (Math.abs(-2.5) === 2.5));
println("abs(-2147483648) = " + Math.abs(-2147483648) + ", abs(\"-7\") = " + Math.abs("-7"));
println("max() = " + Math.max().toString() + ", min() = " + Math.min().toString());
println("max(1, \"x\") = " + Math.max(1, "x").toString() + ", max(\"x\", 1) = " + Math.max("x", 1).toString());
println("max(1, 7.5, \"3\") = " + Math.max(1, 7.5, "3") + ", min(1, -7.5, \"3\") = " + Math.min(1, -7.5, "3"));
println("max(1, 1/0) = " + Math.max(1, 1 / 0).toString() + ", max(1, 0/0) = " + Math.max(1, 0 / 0).toString());
println("pow(2, 10) = " + Math.pow(2, 10) + ", pow(0, -1) = " + Math.pow(0, -1).toString() + ", pow(-8, 1/3) = " + Math.pow(-8, 1 / 3).toString());
println("sqrt(16) = " + Math.sqrt(16) + ", sqrt(-1) = " + Math.sqrt(-1).toString() + ", log(0) = " + Math.log(0).toString());
println("exp(0) = " + Math.exp(0) + ", sin(0) = " + Math.sin(0) + ", cos(0) = " + Math.cos(0) + ", tan(0) = " + Math.tan(0));
println("asin(1) = " + Math.asin(1) + ", acos(1) = " + Math.acos(1) + ", atan(1) = " + Math.atan(1) + ", atan2(1, 1) = " + Math.atan2(1, 1));
println("asin(2) = " + Math.asin(2).toString() + ", atan2(1) is undefined: " + isUndefined(Math.atan2(1)));
println("sqrt(1/0) = " + Math.sqrt(1 / 0).toString() + ", floor(-1/0) = " + Math.floor(-1 / 0).toString() + ", abs(-1/0) = " + Math.abs(-1 / 0).toString());
println("sqrt(0/0) = " + Math.sqrt(0 / 0).toString() + ", round(0/0) = " + Math.round(0 / 0).toString());
println("exp() is undefined: " + isUndefined(Math.exp()));

// random(n) draws integers 0 .. n-1, random() doubles in [0, 1).
var seen = [0, 0, 0, 0, 0, 0], bad = 0;
for (var i = 0; i < 600; i++) {
  var r = Math.random(6);
  if (r < 0 || r > 5 || r !== Math.floor(r)) bad++; else seen[r]++;
  var u = Math.random();
  if (u < 0 || u >= 1) bad++;
}
var all = true;
for (var i = 0; i < 6; i++) if (seen[i] == 0) all = false;
println("random: bad draws " + bad + ", every face seen: " + all + ", random(0) = " + Math.random(0));
