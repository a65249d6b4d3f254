// The run's arguments (see wscript_arguments.args): a, /x:1, /y, b, /x:a:b and an URL.
var a = WScript.Arguments;
println(a.Count + " " + a.length + " " + arguments.length);
for (var i = 0; i < a.Count; i++) println(i + ": " + a.Item(i));
var named = a.Named;
println(named.Count + " " + named.Length);
println(named.Item("x"));
println(named.Item("/h"));
println(named.Exists("x") + " " + named.Exists("y") + " " + named.Exists());
println(named.getProperties());
try { named.Item("nothing"); } catch (e) { println(e); }
println(named.Item());
var unnamed = a.Unnamed;
println(unnamed.Count);
for (var i = 0; i < unnamed.Count; i++) println(unnamed.Item(i));
println(a.Item());
println(a.Item(8));  // reading past the end grows the list
println(a.Count);
a.ShowUsage();
println(a.getProperties());
