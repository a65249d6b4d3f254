// Sort: 1e6 numbers from a seeded generator, sorted with a numeric compare function, then
// checked for order.
var seed = 20240229;
var a = [];
for (var i = 0; i < 1000000; i++) {
  seed = (seed * 69069 + 1) & 0x7fffffff;
  a.push(seed % 1000000);
}
a.sort(function (p, q) { return p - q; });
var ok = true;
for (var i = 1; i < a.length; i++) if (a[i - 1] > a[i]) ok = false;
print(ok);
