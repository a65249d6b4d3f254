// Regex: 100,000 generated lines split at their line ends; per line a global replace with a
// template, two global matches counted and two tests.
var names = ["alpha", "beta", "gamma", "delta", "epsilon"];
var lines = [];
for (var i = 0; i < 100000; i++)
  lines.push("item " + i + ": " + names[i % 5] + " value " + (i * 37 % 1000) + ", price " + (i % 97) +
             " JPY; mail " + names[(i * 3) % 5] + "@example." + (i % 2 ? "org" : "com"));
var all = lines.join("\n").split(/\n/);
var n = 0, replaced = 0;
for (var k = 0; k < all.length; k++) {
  var line = all[k];
  replaced = replaced + line.replace(/(\d+)/g, "<$1>").length;
  n = n + line.match(/\d+/g).length + line.match(/[a-z]+/g).length;
  if (/price \d+ JPY/.test(line)) n++;
  if (/gamma|delta/.test(line)) n++;
}
print(all.length + " " + n + " " + replaced);
