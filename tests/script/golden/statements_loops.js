// for with continue runs the step; do-while re-tests after continue; return leaves for.
var seen = "";
for (var i = 0; i < 3; i++) { if (i == 1) continue; seen = seen + i; }
println(seen, i);
var n = 0, runs = 0;
do { runs++; n++; if (n < 3) continue; } while (n < 5);
println(runs);
var steps = 0;
function find() { for (var k = 0; k < 10; steps++) { if (k == 2) return k; k++; } return -1; }
println(find(), steps);
var w = 0;
while (true) { w++; if (w > 4) break; }
println(w);
for (;;) { break; }
println("done");
