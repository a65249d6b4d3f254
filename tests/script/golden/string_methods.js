// String: positions count characters (a lead byte and its trail byte are one), searches
// never match a trail byte, and the methods' defaults and results.
function text(v) {
  if (isUndefined(v)) return "undefined";
  if (isNaN(v)) return "NaN";
  return v;
}
// The codes of the characters of a string, separated by blanks.
function codes(s) {
  var out = [];
  for (var i = 0; i < s.length; i++) out.push(s.charCodeAt(i));
  return out.join(" ");
}
function show(label, v) { println(label + " = [" + text(v) + "]"); }

var j = "表ソab";  // two double-byte characters, then "ab"
show("length", j.length);
show("sizeOf", j.sizeOf());
show("charAt(1)", j.charAt(1));
show("charAt(9)", j.charAt(9));
show("charAt(-1)", j.charAt(-1));
show("charAt()", j.charAt());
show("charCodeAt(0)", j.charCodeAt(0));
show("charCodeAt(2)", j.charCodeAt(2));
show("charCodeAt(9)", j.charCodeAt(9));
show("reverse()", j.reverse());
show("fromCharCode(33440, 65, 0x10041)", String.fromCharCode(33440, 65, 0x10041));
show("fromCharCode(33440) bytes", String.fromCharCode(33440).charCodeAt(0));
show("fromCharCode() is undefined", isUndefined(String.fromCharCode()));

// Searches: positions in characters; a trail byte never starts a match.
show("\"ソ表\".indexOf(\"\\\\\")", "ソ表".indexOf("\\"));
show("\"アイウ\".indexOf(\"A\")", "アイウ".indexOf("A"));
show("indexOf(\"a\")", j.indexOf("a"));
show("indexOf(\"ソ\", 1)", j.indexOf("ソ", 1));
show("indexOf(\"ソ\", 2)", j.indexOf("ソ", 2));
show("indexOf(\"\")", j.indexOf(""));
show("lastIndexOf(\"b\")", "abab".lastIndexOf("b"));
show("lastIndexOf(\"b\", 2)", "abab".lastIndexOf("b", 2));
show("lastIndexOf(\"ab\", 2)", "abab".lastIndexOf("ab", 2));
show("lastIndexOf(\"表\")", "表a表".lastIndexOf("表"));

// Copies.
show("slice(-2)", "abcde".slice(-2));
show("slice(1, -1)", "abcde".slice(1, -1));
show("slice(-9)", "abcde".slice(-9));
show("slice()", "abcde".slice());
show("substr(-5, 2)", "abcde".substr(-5, 2));
show("substr(1)", "abcde".substr(1));
show("substr(1, 0)", "abcde".substr(1, 0));
show("substring(3, 1)", "abcde".substring(3, 1));
show("substring(1, 3)", "abcde".substring(1, 3));
show("substring(-2, 2)", "abcde".substring(-2, 2));
show("substring(2, 2147483647)", "abcde".substring(2, 2147483647));
show("slice of Japanese", "日本語のテキスト".slice(2, 5));
show("substr of Japanese", "日本語のテキスト".substr(4));

// The rest.
show("concat(1, \"b\")", "a".concat(1, "b"));
show("concat() is undefined", isUndefined("a".concat()));
show("multiply(3)", "ab".multiply(3));
show("multiply(0)", "ab".multiply(0));
show("multiply()", "ab".multiply());
show("toUpperCase()", "abcｱｲａｂαβаб表".toUpperCase());
show("toLowerCase()", "ABCｱｲＡＢΑΒАБ表".toLowerCase());
show("trim()", " \t x y \r\n".trim());
show("trimLeft()", "  x ".trimLeft() + "|");
show("trimRight()", "  x ".trimRight() + "|");
show("localeCompare", ["a".localeCompare("B"), "a".localeCompare("A"), "B".localeCompare("a"), "ab".localeCompare("ab"), "!".localeCompare("a")]);
show("toString()", "x".toString());
show("toWide() of ab: bytes", "ab".toWide().sizeOf() + ": " + codes("ab".toWide()));
show("toWide() of 表: UTF-16LE 68 88", codes("表".toWide()));
show("toUTF8() of 表 (bytes)", escape("表".toUTF8()));
show("fromUTF8toSJIS() round trip", "日本".toUTF8().fromUTF8toSJIS());
show("anchor", "x".anchor("n"));
show("link", "x".link("u"));
show("fontcolor", "x".fontcolor("red"));
show("fontsize", "x".fontsize(3));
show("wrappers", "x".big() + "x".blink() + "x".bold() + "x".fixed() + "x".italics() + "x".small() + "x".strike() + "x".sub() + "x".sup());
show("anchor() is undefined", isUndefined("x".anchor()));
