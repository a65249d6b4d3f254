// Lines written before the run is killed from outside, while it computes forever.
println("first");
print("second, without a line end");
var i = 0;
while (true) i++;
