// RegExp and String replace: templates, callbacks (one that uses the same RegExp among
// them), the state afterwards, and the String method's argument forms.
function show(label, v) { println(label + " = [" + v + "]"); }

// Templates: $&, $n with any number of digits, ${n}, ${&}, ${}; a backslash copies the
// next character; a $ without a reference is copied.
var re = new RegExp("(b)(c)", "g");
var cases = ["<$&>", "<$1-$2>", "<${1}${2}>", "<${&}|${}>", "<\\$1>", "<$$1>", "<$x $ ${ ${a}>",
             "<$3|$14|$15|$99999999999999999999>", "<$01>", "end\\"];
for (var i = 0; i < cases.length; i++) show(cases[i], re.replace("abcdbc", cases[i]));

// Without global only the first match; no match gives the input; no replacement gives "".
show("first", new RegExp("o").replace("foo boo", "0"));
show("all", new RegExp("o", "g").replace("foo boo", "0"));
show("none", new RegExp("x", "g").replace("foo", "0"));
show("no replacement", new RegExp("o", "g").replace("foo"));
show("no input", new RegExp("o").replace());

// The state afterwards describes the last match replaced.
re = new RegExp("(\\d)(x)?", "g");
show("replace", re.replace("a1x b2 c3", "#"));
show("state", re.index + " " + re.lastMatch + " [" + re.lastParen + "] " + re.$1);
show("RegExp", RegExp.lastMatch + " " + RegExp.$1);

// A callback gets the match, every group ("" for one that did not take part), the byte
// offset and the input.
function args() {
  var t = "";
  for (var k = 0; k < arguments.length; k++) t = t + "(" + arguments[k] + ")";
  return t;
}
show("callback", "a1x b2".replace(/(\d)(x)?/g, args));
show("callback no groups", "abc".replace(/b/, args));
show("callback result", "1 2 3".replace(/\d/g, function(m) { return m * 10; }));

// A callback that runs the same RegExp does not disturb the replace.
var same = new RegExp("\\d", "g");
show("re-entrant", same.replace("a1b2c3", function(m) { return "<" + same.exec("x9y8").length + ">"; }));
show("re-entrant state", same.index + " " + same.lastMatch + " " + same.input);

// String.replace: a RegExp and the replacement, or a pattern, optional flags, the
// replacement; a string pattern is a regular expression.
show("string pattern", "a.b.c".replace(".", "-"));
show("string flags", "a.b.c".replace("\\.", "g", "-"));
show("two args", "aaa".replace("a", "g"));
show("regexp arg", "aaa".replace(new RegExp("a", "g"), "b"));
show("missing", "aaa".replace(/a/));
show("none", typeof("aaa".replace()));
show("literal g", "x-y-z".replace(/-/g, "+"));
