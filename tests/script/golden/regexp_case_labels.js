// Regular-expression case labels: a literal is tested through the RegExp singleton, a
// RegExp object tests itself; either way RegExp.$1 and the rest show the test.
function kind(s) {
  switch (s) {
    case /^(\d+)$/: return "number " + RegExp.$1;
    case /^([a-z]+)@([a-z]+)$/i: return "mail " + RegExp.$2;
    case "plain": return "plain text";
    default: return "other, last match still " + RegExp.lastMatch;
  }
}
println(kind("123"));
println(kind("Me@Host"));
println(kind("plain"));
println(kind("?"));
println("RegExp: " + RegExp + " " + RegExp.input);

var word = new RegExp("w(or)d");
switch ("a word") {
  case 5: println("five"); break;
  case word: println("word " + word.$1 + " " + word.index + " " + RegExp.$1 + " " + RegExp.lastMatch);
  case /never/: println("falls through");
}
// The subject is the discriminant as text.
switch (42) { case /4(2)/: println("number as text " + RegExp.$1); }
// The lexer's forms of the RegExp statics.
/(b)(c)/.exec("abcd");
println(RegExp.$_ + " " + RegExp.$& + " " + RegExp.$+ + " " + RegExp.$` + " " + RegExp.$");
