// Thrown and caught values: 1e6 throws.
var n = 0;
for (var i = 0; i < 1e6; i++) { try { throw i; } catch (e) { n = n + 1; } }
print(n);
