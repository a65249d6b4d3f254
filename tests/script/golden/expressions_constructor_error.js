// new on a name that holds a native function.
var p = println;
var x = new p();
