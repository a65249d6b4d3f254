// Array methods on a seeded list, sorted with a numeric compare function: the same output
// in Kestrin, duktape and mujs (return values that differ between them are not printed).
var seed = 12345;
function next() {
  seed = (seed * 69069 + 1) & 0x7fffffff;
  return seed % 1000;
}
var a = [];
for (var i = 0; i < 200; i++) a.push(next());
var sorted = a.slice(0).sort(function (p, q) { return p - q; });
println(sorted.slice(0, 10).join(","));
println(sorted.slice(-5).join(","));
var ok = true;
for (var i = 1; i < sorted.length; i++) if (sorted[i - 1] > sorted[i]) ok = false;
println(ok);
println(a.slice(0, 5).join(" "));
var down = a.slice(0, 20).sort(function (p, q) { return q - p; });
println(down.join(","));
var b = [1, 2, 3, 4, 5, 6];
println(b.splice(1, 2).join(","));
println(b.join(","));
b.reverse();
println(b.join("-"));
println(b.pop());
println(b.shift());
b.unshift(9, 8);
println(b.join(","));
println(b.concat([7, 6], [5]).join(","));
println(b.slice(-2).join(","));
println(b.length);
var sum = 0;
for (var i = 0; i < a.length; i++) sum = sum + a[i];
println(sum);
