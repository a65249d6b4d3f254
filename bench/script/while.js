// A bare while loop: 3e6 increments.
var i = 0;
while (i < 3e6) { i++; }
print(i);
