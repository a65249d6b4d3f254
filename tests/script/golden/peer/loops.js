// Loops: for, while, do-while, break and continue.
var total = 0;
for (var i = 0; i < 10; i++) {
  if (i == 3) continue;
  if (i == 8) break;
  total = total + i;
}
println(total);
var n = 0;
while (n < 5) { n++; }
println(n);
var k = 10;
do { k = k - 3; } while (k > 0);
println(k);
var rows = "";
for (var a = 1; a <= 3; a++) {
  for (var b = 1; b <= 3; b++) {
    if (b > a) break;
    rows = rows + a + "" + b + " ";
  }
}
println(rows);
