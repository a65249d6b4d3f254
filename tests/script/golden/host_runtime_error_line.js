// The error line is the statement's, also after calls that returned.
function one() { return 1; }
var a = 1;
var b = 2;
var c = one() + missing;
