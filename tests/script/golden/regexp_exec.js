// RegExp: exec and test, the state after a match, the dollar members, the flags, the
// constructor's rules and the text form.
function show(label, v) { println(label + " = [" + v + "]"); }
function state(re) {
  var t = "index " + re.index;
  t = t + " lastIndex " + re.lastIndex;
  t = t + " lastMatch " + re.lastMatch;
  t = t + " lastParen " + re.lastParen;
  t = t + " left " + re.leftContext;
  t = t + " right " + re.rightContext;
  t = t + " input " + re.input;
  return t;
}
function dollars(re) {
  var t = "";
  for (var d = 0; d < 10; d++) t = t + "|" + re["$" + d];
  return t;
}

// global exec returns every match at once; the state describes the last one.
var re = new RegExp("a(b)?", "g");
var m = re.exec("ab a");
show("exec g", m);
show("length", m.length);
show("state", state(re));
show("dollars", dollars(re));

// Without global: the first match only, its groups in the dollar members.
re = new RegExp("(\\w+)@(\\w+)\\.(org|com)");
show("exec", re.exec("mail me@example.org or you@test.com"));
show("state", state(re));
show("dollars", dollars(re));

// A failed exec gives null; the last match stays, and the dollar members show it.
show("exec none", re.exec("nothing here"));
show("state", state(re));
show("dollars", dollars(re));
var fresh = new RegExp("x");
show("fresh exec none", fresh.exec("abc"));
show("fresh state", state(fresh));
show("fresh $0", fresh.$0 == "" && typeof(fresh.$0));

// test: false without an argument; otherwise as exec.
show("test()", re.test());
show("test", re.test("x me@host.com"));
show("state", state(re));

// exec() without an argument takes RegExp.input.
RegExp.input = "abc123";
var digits = new RegExp("\\d+");
show("exec()", digits.exec());
show("RegExp.$_", RegExp.$_);

// The flags and the text form; a flags text of four or more characters is ignored.
var f = new RegExp("x", "mig");
show("toString", f.toString());
show("flags", f.ignoreCase + " " + f.global + " " + f.multiline + " " + f.source);
show("gimx", new RegExp("x", "gimx"));
show("gi", new RegExp("x", "gi"));
f.global = false;
f.source = "y+";
show("changed", f);
show("ignoreCase", f.test("YY"));
f.ignoreCase = false;
show("ignoreCase off", f.test("YY"));

// lastIndex and index are read-only.
re = new RegExp("b");
re.exec("abc");
re.lastIndex = 0;
re.index = 7;
show("read-only", re.index + " " + re.lastIndex);

// A literal held in a variable is a value: each member access makes a fresh RegExp.
var lit = /x/;
lit.exec("axb");
show("literal index", lit.index);
show("literal text", lit);
var kept = new RegExp(/x(y)/gi);
kept.exec("zzXY xy");
show("new RegExp(literal)", kept + " " + state(kept));
// A RegExp object (not a literal) as pattern gives its text.
var copied = new RegExp(f);
show("new RegExp(object)", copied.source);

// Case, multiline and the dot.
show("i", /ABC/i.test("xabcx"));
// "\n" in a double-quoted string is CR LF.
show("m", new RegExp("^b$", "m").exec("a\nb\nc"));
show("no m", new RegExp("^b$").exec("a\nb\nc"));
show("m cr", /^b/m.exec("a\rb"));
show("dot cr", /a.c/.test("a\rc"));
