// Caught errors of the engine: 1e6 reads of a member of null.
var n = 0;
var o = null;
for (var i = 0; i < 1e6; i++) { try { o.x; } catch (e) { n = n + 1; } }
print(n);
