// A syntax error reports its line.
var a = 1;
var b = ;
