// Math functions with integral results (no rounding ties, where the languages differ).
var xs = [0, 1.2, -1.2, 2.7, -2.7, 1e9 + 0.3, -1e9 - 0.3];
for (var i = 0; i < xs.length; i++) {
  var x = xs[i];
  println(Math.floor(x) + " " + Math.ceil(x) + " " + Math.round(x) + " " + Math.abs(Math.floor(x)));
}
println(Math.max(3, 9, -2) + " " + Math.min(3, 9, -2) + " " + Math.max(1.5, 1) + " " + Math.min(-1, -1.5));
println(Math.pow(2, 10) + " " + Math.pow(3, 4) + " " + Math.sqrt(144) + " " + Math.sqrt(0));
println(Math.floor(Math.PI * 1000) + " " + Math.round(Math.E * 1e6) + " " + Math.floor(Math.exp(3)) + " " + Math.round(Math.log(1000) * 100));
println(Math.round(Math.sin(1) * 1e6) + " " + Math.round(Math.cos(1) * 1e6) + " " + Math.round(Math.atan2(1, 2) * 1e6));
