// Caught errors of the engine: 1e6 calls of a name that is not defined.
var n = 0;
for (var i = 0; i < 1e6; i++) { try { undefinedFunction(); } catch (e) { n = n + 1; } }
print(n);
