// RegExp split and the String methods split, match and search: limits, empty pieces and
// empty matches, string patterns, and byte offsets on Japanese text.
function show(label, v) { println(label + " = [" + v + "]"); }
function pieces(a) {
  var t = "";
  for (var i = 0; i < a.length; i++) t = t + "(" + a[i] + ")";
  return a.length + " " + t;
}

// Limits: none, 2, 0 (an empty Array), negative (no limit).
var comma = new RegExp(",");
show("split", pieces(comma.split("a,b,,c,")));
show("limit 2", pieces(comma.split("a,b,c", 2)));
show("limit 0", pieces(comma.split("a,b,c", 0)));
show("limit -1", pieces(comma.split("a,b,c", -1)));
show("no input", pieces(comma.split()));
show("no match", pieces(comma.split("abc")));
// An empty match steps one character; captures are not pieces.
show("x*", pieces("abc".split(/x*/)));
show("captures", pieces("a1b2c".split(/(\d)/)));

// String.split: a string pattern is a regular expression; a numeric second argument is
// the limit, any other is the flags and the limit comes third.
show("dot", pieces("a.b".split(".")));
show("escaped dot", pieces("a.b".split("\\.")));
show("string limit", pieces("a,b,c".split(",", 2)));
show("flags", pieces("aXbxc".split("x", "i")));
show("flags limit", pieces("aXbxc".split("x", "i", 2)));
show("regexp limit", pieces("a1b2c3".split(/\d/, 2)));
show("regexp object", pieces("a b  c".split(new RegExp(" +"))));
show("no argument", typeof("abc".split()));

// match: exec's answer; search: the byte offset, -1 without a match.
show("match", "x1 y22 z333".match(/\d+/g));
show("match count", "x1 y22 z333".match(/\d+/g).length);
show("match one", "x1 y22".match("\\d+"));
show("match flags", "aAa".match("a", "gi"));
show("match none", "abc".match(/\d/));
show("match no argument", "abc".match());
show("search", "xabcx".search(/b/));
show("search none", "xabcx".search("q"));
show("search no argument", "abc".search());
show("search g", "a1b2".search(/\d/g));
var used = new RegExp("c");
used.exec("abc");
show("search after a match", "xyz".search(used) + " " + used.index);

// Positions are byte offsets; a double-byte character is one character to the pattern.
var jp = "表示テストソdアA";
show("search jp", jp.search(/テ/) + " " + jp.search("ソd") + " " + jp.search(/A/) + " " + jp.length);
var re = new RegExp("(ア)A");
re.exec(jp);
show("exec jp", re.index + " " + re.lastIndex + " " + re.$1 + " [" + re.leftContext + "] [" + re.rightContext + "]");
show("trail byte", "表示".match(/表示/) + " " + /A/.test("ア") + " " + /\\/.test("ソ"));
show("whole characters", "アイウ".replace(/./g, "[$&]") + " " + "アアイ".match(/ア+/));
show("ranges", /[ァ-ン]+/.exec("abcアイウxyz") + " " + "x０１２y".match(/[０-９]+/));
show("split jp", pieces("表,示;テ".split(/[,;]/)));
