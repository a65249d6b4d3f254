// Reading an undeclared name is an error with the name, at its line.
var a = 1;

println(a + b);
