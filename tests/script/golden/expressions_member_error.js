// A member of a number that does not exist.
var n = 5;
n.foo = 1;
