// Arithmetic on NaN is a type error naming the kinds.
var x = 1 + NaN * 0;
