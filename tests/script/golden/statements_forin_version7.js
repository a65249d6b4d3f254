// After @set @VERSION7 for-in over an array gives the items.
@set @VERSION7 = 1
var out = "";
for (var v in [10, 20]) out = out + v + " ";
println(out);
