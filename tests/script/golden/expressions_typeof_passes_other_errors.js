// typeof absorbs only missing names and keys; other errors pass on.
var n = NaN;
println(typeof missingName);
println(typeof (n * 1));
