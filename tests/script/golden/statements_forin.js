// for-in: array indices are integers; objects give their data members, not methods.
var a = [10, 20, 30];
var out = "";
for (var k in a) out = out + k + ":" + (typeof k) + " ";
println(out);
var o = {x: 1, y: 2, f: function() {}};
var names = "";
for (var p in o) names = names + p + " ";
println(names);
for (k in [7, 8]) { a = null; println(k); }
