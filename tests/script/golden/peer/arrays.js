// Arrays: literals, growth by index, length, sums.
var a = [3, 1, 4, 1, 5];
println(a.length);
var sum = 0;
for (var i = 0; i < a.length; i++) { sum = sum + a[i]; }
println(sum);
var b = [];
for (var j = 0; j < 20; j++) { b[j] = j * j; }
println(b.length);
println(b[19]);
b.push(400);
println(b.length);
println(b[20]);
