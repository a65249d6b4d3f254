// Tree text files: saveToFile byte for byte, loadFromFile with tabs, blanks, empty lines,
// CP932 and UTF-8 text, the level error and a missing file changing nothing, and a tree
// past the depth limit refused by the adders and by the reader.
var CR = new Number(13).toChar(), LF = new Number(10).toChar(), CRLF = CR + LF, TAB = new Number(9).toChar();
function check(label, f) {
  var v;
  try { v = f(); } catch (e) { v = "error " + e; }
  println(label + " = " + v);
}
function texts(tv) {
  var s = [];
  for (var i = 0; i < tv.Items.Count; i++) { var n = tv.Items.item(i); s.push(n.Level + ":" + n.Text); }
  return s.join(" ");
}
function write(name, text) { var f = new File(name); f.open("w"); f.write(text); f.close(); }
function bytes(name) {
  var f = new File(name); f.open("r"); var t = f.read(); f.close();
  var s = [];
  for (var i = 0; i < t.length; i++) {
    var c = t.charCodeAt(i);
    s.push(c == 9 ? "<TAB>" : c == 13 ? "<CR>" : c == 10 ? "<LF>" : t.charAt(i));
  }
  return s.join("");
}
var tv = new VCLTreeView();
var a = tv.Items.add(null, "a");
var b = tv.Items.addChild(a, "b");
tv.Items.addChild(b, "c");
tv.saveToFile("three.txt");
check("saveToFile", function () { return bytes("three.txt"); });
write("blanks.txt", "a" + CRLF + " b" + CRLF + "  c" + CRLF);
// [what, file, its text (null: the file is there or missing)]
var cases = [
  ["the same with blanks", "blanks.txt", null],
  ["LF line ends and empty lines", "lf.txt", "x" + LF + LF + TAB + "y" + LF + LF],
  ["CR line ends and a step back", "cr.txt", "x" + CR + TAB + "y" + CR + TAB + TAB + "z" + CR + "w" + CR],
  ["CP932 text", "sjis.txt", "日本" + CRLF + TAB + "語" + CRLF],
  ["a level error changes nothing", "level.txt", "p" + CRLF + TAB + "q" + CRLF + TAB + TAB + TAB + "bad" + CRLF],
  ["a first line indented", "indented.txt", TAB + "first" + CRLF],
  ["an empty file", "empty.txt", ""],
  ["a missing file", "missing.txt", null]
];
for (var i = 0; i < cases.length; i++) {
  var file = cases[i][1];
  if (!isNull(cases[i][2])) write(file, cases[i][2]);
  check(cases[i][0], function () { tv.loadFromFile(file); return texts(tv); });
  if (cases[i][0] == "a level error changes nothing") check("after the level error", function () { return texts(tv); });
}
check("the held node after loading", function () { return a.Text; });

// UTF-8 text is read as UTF-8 (the script sees it in CP932).
var utf8 = "";
var codes = [0xE6, 0x97, 0xA5, 13, 10, 9, 0xE6, 0x9C, 0xAC, 13, 10];
for (var k = 0; k < codes.length; k++) utf8 += new Number(codes[k]).toChar();
write("utf8.txt", utf8);
check("UTF-8 text", function () { tv.loadFromFile("utf8.txt"); return texts(tv); });

// The depth limit: adders and the reader refuse the same depth.
var deep = tv.Items.add(null, "0");
var depth = 0;
check("a chain of nodes", function () { for (;;) { deep = tv.Items.addChild(deep, "n"); depth = deep.Level; } });
check("its depth", function () { return depth; });
check("moving a branch past the limit", function () { var r = tv.Items.add(null, "r"); tv.Items.addChild(r, "s"); r.moveTo(deep, "naAddChild"); });
check("full expand of the chain", function () { tv.fullExpand(); return tv.Items.getFirstNode().Expanded; });
var text = "", indent = "";
for (var t = 0; t <= depth; t++) { text += indent + "n" + CRLF; indent += TAB; }
write("deepest.txt", text);
check("a file as deep as the limit", function () { tv.loadFromFile("deepest.txt"); return tv.Items.Count; });
write("too_deep.txt", text + indent + "n" + CRLF);
check("a file one level deeper", function () { tv.loadFromFile("too_deep.txt"); });
check("the tree after it", function () { return tv.Items.Count; });
//--- next run ---
var tv = new VCLTreeView();
var f = new File("level.txt"); f.open("w"); var CRLF = new Number(13).toChar() + new Number(10).toChar(), TAB = new Number(9).toChar();
f.write("p" + CRLF + TAB + "q" + CRLF + TAB + TAB + TAB + "bad" + CRLF); f.close();
tv.loadFromFile("level.txt");
//--- next run ---
var tv = new VCLTreeView();
tv.loadFromFile("no such file.txt");
//--- next run ---
var tv = new VCLTreeView();
var n = tv.Items.add(null, "0");
for (;;) n = tv.Items.addChild(n, "n");
