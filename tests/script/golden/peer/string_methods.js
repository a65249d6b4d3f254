// String methods over ASCII and Japanese text: lengths and positions count characters in
// Kestrin (CP932) as in duktape and mujs (UTF-16), so both agree on these texts.
var texts = ["hello world, hello", "日本語のテキスト、日本語の文", "mixed 表 and ソ text"];
for (var i = 0; i < texts.length; i++) {
  var s = texts[i];
  println(s.length);
  println(s.indexOf("o") + " " + s.indexOf("語") + " " + s.indexOf("日本", 1) + " " + s.indexOf("x", 100));
  println(s.lastIndexOf("l") + " " + s.lastIndexOf("の") + " " + s.lastIndexOf("日本", 5) + " " + s.lastIndexOf("ソ"));
  println(s.charAt(0) + s.charAt(3) + s.charAt(s.length - 1) + "[" + s.charAt(99) + "]");
  println(s.slice(2, 6) + "|" + s.slice(-3) + "|" + s.slice(1, -1) + "|" + s.slice(-99, 2));
  println(s.substring(5, 2) + "|" + s.substring(-3, 3) + "|" + s.substring(4));
  println(s.toUpperCase());
  println(s.concat("!", 1));
}
var codes = "";
for (var i = 0; i < 5; i++) codes = codes + "Kestrin".charCodeAt(i) + " ";
println(codes);
println(String.fromCharCode(72, 105, 33));
println("ABC def".toLowerCase());
// Methods of a long Japanese text read back to front, and a method whose callback calls
// methods of other strings.
var long = "";
for (var i = 0; i < 600; i++) long = long + (i % 3 ? "表" : "a");
var back = "";
for (var i = long.length - 1; i >= 3; i -= 37) back = back + long.charAt(i) + long.substring(i - 3, i).length + long.indexOf("a", i);
println(back);
println("a-b-c".replace(/-/g, function (m) { return "xyz".charAt(1) + "日本".substring(1, 2) + m.length; }));
