// Array writes and reads: 3e5 each.
var a = [];
for (var k = 0; k < 3e5; k++) { a[k] = k; }
var s = 0;
for (var k = 0; k < 3e5; k++) { s = s + a[k]; }
print(s);
