// A computation that never ends.
var i = 0;
while (true) i++;
