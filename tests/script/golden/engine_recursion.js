// Unbounded recursion is a script error, not a crash; try can catch it.
function down(n) { return down(n + 1); }
try { down(0); } catch (e) { println("caught " + e); }
function again(n) { return again(n + 1) + 1; }
again(0);
