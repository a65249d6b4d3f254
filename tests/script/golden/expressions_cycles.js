// An array that holds itself: its text is an error, not a crash.
var a = [1];
a[1] = a;
println(a.length);
println(a);
