// Strings (StringList): lines, text forms, indexing, sorting with the engine's name order,
// files, and lists from other lists; then every error.
function show(label, v) { println(label + " = " + (isNull(v) ? "null" : isUndefined(v) ? "undefined" : v)); }
var LF = new Number(10).toChar(), CR = new Number(13).toChar();
function lines(s) { var out = "", n = s.count; for (var i = 0; i < n; i++) out += "[" + s[i] + "]"; return out; }

var s = new Strings("one" + LF + "two" + CR + LF + "three" + CR);
show("count of three lines", s.count);
show("add two", s.add("four", 5));
show("lines", lines(s));
show("length", s.length);
show("s[\"count\"]", s["count"]);
show("toString(,)", s.toString(","));
show("toString()", s.toString() == s.text);
show("text ends in CR LF", s.text.substring(s.text.length - 2) == CR + LF);
show("add() appends an empty line", s.add());
show("insert(0, zero)", lines(s.insert(0, "zero")));
show("delete(6)", lines(s.delete(6)));
s[1] = "ONE";
show("s[1] = ONE", lines(s));
show("indexOf(one) without case", s.indexOf("one"));
show("indexOf(missing)", s.indexOf("missing"));
show("indexOf()", s.indexOf());
var n = 0;
for (var item in s) n++;
show("for in", n);
show("clear", s.clear().count);
show("new Strings(5)", new Strings(5).count);
show("new Strings(new StringBuffer(a b))", lines(new Strings(new StringBuffer("a b"))));

// Sorting: without case, duplicates ignored unless accepted; trail bytes are never folded,
// so ア (83 41) and ヂ (83 61) are two names.
s = new Strings();
s.add("pear", "Apple", "ヂ", "fig", "ア", "apple", "10", "_x", "Fig");
show("sorted", s.sorted);
show("indexOf(ヂ) unsorted", s.indexOf("ヂ"));
s.sort();
show("sort", lines(s));
s.clear();
s.sorted = true;
show("duplicates", s.duplicates);
show("add(b, A, a, B)", s.add("b", "A", "a", "B"));
show("sorted list ignores duplicates", lines(s));
show("indexOf(ヂ) of none", s.indexOf("ヂ"));
s.add("ア");
show("indexOf(ヂ) with ア", s.indexOf("ヂ"));
s.add("ヂ");
show("ア and ヂ", lines(s));
s.duplicates = true;
s.add("a");
show("duplicates accepted", lines(s));
s.caseSensitive = true;
show("caseSensitive", s.caseSensitive + " " + lines(s) + " indexOf(A) " + s.indexOf("A") + " indexOf(B) " + s.indexOf("B"));

// commaText: blanks outside quotes separate; quotes, commas, blanks and control bytes quote.
s = new Strings();
s.commaText = "a b,\"c d\",\"e,\"\"f\"\"\",,last,";
show("commaText =", lines(s));
show("commaText", s.commaText);
s.clear(); s.add("");
show("one empty line", s.commaText);
s.clear(); s.add("tab" + new Number(9).toChar(), "");
show("tab and empty", s.commaText);

// Files: written with CR LF, read back splitting at CR LF, CR and LF.
s = new Strings("日本語" + LF + "表" + CR + "last");
show("saveToFile", s.saveToFile("list.txt").count);
var f = new File("list.txt");
f.open(); show("file bytes", f.read().length + " bytes"); f.close();
var t = new Strings();
show("loadFromFile", lines(t.loadFromFile("list.txt")));
f = new File("mixed.txt");
f.open("w"); f.write("x" + CR + "y" + LF + "z" + CR + LF + CR); f.close();
show("loadFromFile mixed line ends", lines(t.loadFromFile("mixed.txt")));

// From other lists.
t = new Strings("keep");
show("addStrings(Strings)", lines(t.addStrings(new Strings("a" + LF + "b"))));
show("addStrings(Array)", lines(t.addStrings([1, "two", null])));
show("addStrings(StringBuffer)", lines(t.addStrings(new StringBuffer("xy"))));
show("addStrings(7, 8)", lines(t.addStrings(7, 8)));
show("assign(Array)", lines(t.assign(["only"])));
show("assign(itself)", lines(t.assign(t)));
show("assign(9)", lines(t.assign(9)));
try { t.assign({}); } catch (e) { show("assign({})", e); }
show("after a refused assign", lines(t));
try { t[5]; } catch (e) { show("t[5]", e); }
try { t.insert(3, "x"); } catch (e) { show("insert(3)", e); }
//--- next run ---
new Strings("a" + new Number(10).toChar() + "b")[5];
//--- next run ---
new Strings("a").insert(0);
//--- next run ---
new Strings("a").insert(5, "x");
//--- next run ---
var s = new Strings("a"); s.sorted = true; s.insert(0, "x");
//--- next run ---
var s = new Strings("a"); s.sorted = true; s[0] = "x";
//--- next run ---
new Strings("a").delete();
//--- next run ---
new Strings("a").delete(-1);
//--- next run ---
new Strings().addStrings();
//--- next run ---
new Strings().addStrings({});
//--- next run ---
new Strings().assign();
//--- next run ---
new Strings().loadFromFile();
//--- next run ---
new Strings().loadFromFile("missing.txt");
//--- next run ---
new Strings().saveToFile();
//--- next run ---
var f = new File("a file"); f.open("w"); f.close(); new Strings("x").saveToFile("a file/below.txt");
