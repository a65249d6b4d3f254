// eval sees the caller's variables; the same text again is parsed once.
function f(x) { return eval("x + 1"); }
println(f(1), f(41));
var total = 0;
for (var i = 0; i < 1000; i++) total = total + eval("i");
println(total);
println(eval("'a' + 'b'"));
eval("1 +");
