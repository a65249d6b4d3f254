// String building: 100000 appends.
var t = "";
for (var k = 0; k < 100000; k++) { t = t + "x"; }
print(t.length);
