// Calls of a one-line function: 1e6.
function f(x) { return x + 1; }
var s = 0;
for (var k = 0; k < 1e6; k++) { s = f(s); }
print(s);
