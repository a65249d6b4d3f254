// String building, length and character access.
var s = "";
for (var i = 0; i < 10; i++) { s = s + i; }
println(s);
println(s.length);
var t = "ab";
t += "cd";
t = t + "ef";
println(t);
println(t.charAt(2));
var words = "";
var list = ["alpha", "beta", "gamma"];
for (var j = 0; j < list.length; j++) { words = words + list[j] + ";"; }
println(words);
println("x" + 1 + 2);
