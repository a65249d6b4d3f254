// Calling a number.
var n = 3;
n(1);
