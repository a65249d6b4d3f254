// Numeric loop: 3e6 additions.
var s = 0;
for (var i = 0; i < 3e6; i++) { s = s + i; }
print(s);
