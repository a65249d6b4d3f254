// List views: one wrapper per item and its Data, the collections, searches, hit tests and
// display rectangles, the argument errors (their texts in the runs at the end), and wrappers a script still holds after their
// items or their list have gone.
function show(label, v) { println(label + " = " + v); }
function captions(lv) {
  var out = [];
  for (var i = 0; i < lv.items.Count; i++) out.push(lv.items[i].Caption);
  return out.join(" ");
}
var f = new VCLForm();
f.setBounds(0, 0, 400, 300);
var lv = new VCLListView(f);
lv.setBounds(0, 0, 300, 200);
lv.ViewStyle = "vsReport";
var c0 = lv.column.add();
c0.Caption = "Name";
c0.Width = 100;
lv.column.add().Caption = "Value";
var log = [];
lv.onInsert = function (s, item) { log.push("insert " + item.Index); };
lv.onDeletion = function (s, item) { log.push("deletion " + item.Caption); };
var a = lv.items.add();
a.Caption = "beta";
a.SubItems.add("2");
var b = lv.items.add();
b.Caption = "Alpha";
b.SubItems.add("1");
var c = lv.items.insert(0);
c.Caption = "gamma";
f.show();
doEvents();

var cases = [
  ["add gives the one wrapper", function () { return lv.items.item(1) === a && lv.items[1] === a; }],
  ["Data set on one is seen on the other", function () { a.Data = {v: 7}; return lv.items.item(1).Data.v; }],
  ["items.item(Count)", function () { return lv.items.item(lv.items.Count); }],
  ["items.item(-1)", function () { return lv.items.item(-1); }],
  ["Count and Index after insert(0)", function () { return lv.items.Count + " " + a.Index + " " + c.Index; }],
  ["SubItems", function () { return b.SubItems[0] + " " + b.SubItems.Count; }],
  ["Owner and ListView", function () { return (a.Owner === lv.items) + " " + (a.ListView === lv) + " " + (lv.items.Owner === lv); }],
  ["the wrapper classes", function () { return a + " " + lv.items + " " + lv.column + " " + lv.column[0]; }],
  ["displayRect drLabel", function () { var r = a.displayRect("drLabel"); return (r.right > r.left) + " " + (r.bottom > r.top); }],
  ["displayRect by ordinal", function () { return a.displayRect(0) !== null; }],
  ["displayRect of no such part", function () { return a.displayRect("drNothing"); }],
  ["getHitTestInfoAt over empty space", function () { return lv.getHitTestInfoAt(250, 190); }],
  ["getHitTestInfoAt on an item", function () { var r = a.displayRect("drBounds"); return lv.getHitTestInfoAt(r.left + 3, r.top + 3); }],
  ["getHitTestInfoAt outside", function () { return lv.getHitTestInfoAt(-5, 500); }],
  ["getItemAt", function () { var r = b.displayRect("drBounds"); return lv.getItemAt(r.left + 3, r.top + 3) === b; }],
  ["getItemAt over empty space", function () { return lv.getItemAt(250, 190); }],
  ["column.Count and captions", function () { return lv.column.Count + " " + lv.column.items(0).Caption + " " + lv.column[1].Caption + " " + c0.Width; }],
  ["column.items(99)", function () { return lv.column.items(99); }],
  ["findData", function () { return typeof lv.findData(1); }],
  ["findCaption partial", function () { return lv.findCaption(0, "al", true, true, false).Caption; }],
  ["findCaption exact, no match", function () { return lv.findCaption(0, "al", false, true, false); }],
  ["findCaption exact without case", function () { return lv.findCaption(-1, "BETA", false, true, false).Caption; }],
  ["findCaption not inclusive, wrapping", function () { return lv.findCaption(0, "gam", true, false, true).Caption; }],
  ["findCaption not wrapping", function () { return lv.findCaption(1, "gam", true, false, false); }],
  ["subItemImages", function () { var set = b.subItemImages(0, 3); return set + " " + b.subItemImages(0) + " " + b.subItemImages(5) + " " + b.subItemImages(-1, 2); }],
  ["alphaSort by caption", function () { var sorted = lv.alphaSort(); return sorted + " " + captions(lv); }],
  ["Index follows the sort", function () { return a.Index + " " + b.Index + " " + c.Index; }],
  ["alphaSort with onCompare", function () {
    lv.onCompare = function (s, i1, i2, data, compare) { compare.number = i2.Caption.length - i1.Caption.length; };
    var sorted = lv.alphaSort();
    lv.onCompare = null;
    return sorted + " " + captions(lv);
  }],
  ["Selected and ItemIndex", function () { a.Selected = true; return (lv.Selected === a) + " " + lv.ItemIndex + " " + lv.SelCount; }],
  ["Selected = another", function () { lv.Selected = c; return a.Selected + " " + c.Selected + " " + lv.ItemIndex; }],
  ["ItemIndex = -1", function () { lv.ItemIndex = -1; return lv.Selected + " " + lv.SelCount; }],
  ["getNextItem isSelected", function () { lv.items[2].Selected = true; return lv.getNextItem(lv.items[0], "sdAll", "[isSelected]") === lv.items[2]; }],
  ["getNextItem backwards", function () { return lv.getNextItem(lv.items[2], "sdAbove", "isNone").Caption; }],
  ["getNextItem without a start item", function () { return lv.getNextItem(5, "sdAll", ""); }],
  ["getNearestItem with a number", function () { return lv.getNearestItem(3, "sdAll"); }],
  ["getNearestItem of an unknown direction", function () { return lv.getNearestItem({x: 1, y: 1}, "sdNowhere"); }],
  ["arrange arDefault", function () { return lv.arrange("arDefault") === lv; }],
  ["arrange of an unknown code", function () { return lv.arrange("arNothing"); }],
  ["stringWidth", function () { return lv.stringWidth("abc") > 0 && lv.stringWidth("") == 0; }],
  ["Position", function () { var p = a.Position; return typeof p.x; }],
  ["Position = null", function () { a.Position = null; }],
  ["Handle of an item is the list's", function () { return a.Handle === lv.items.Handle && a.Handle === lv.handle; }],
  ["indexOf", function () { return lv.items.indexOf(b) + " " + lv.items.indexOf(null); }],
  ["indexOf of a number", function () { return lv.items.indexOf(5); }],
  ["item(i, source) keeps the target's wrapper", function () {
    b.Data = {v: "b"};
    var target = lv.items[0];
    var r = lv.items.item(0, b);
    return (r === b) + " " + (lv.items[0] === target) + " " + target.Caption + " " + target.Data.v + " " + target.SubItems[0];
  }],
  ["item(i, null)", function () { var t = lv.items[2]; return lv.items.item(2, null) + " " + t.Caption; }],
  ["item(i, a number)", function () { return lv.items.item(0, 5); }],
  ["items[i] = source", function () { lv.items[2] = c; return lv.items[2].Caption; }],
  ["Count = 5 of a list that is not owner data", function () { lv.items.Count = 5; }],
  ["items.delete(99)", function () { lv.items["delete"](99); }],
  ["items.insert(99)", function () { lv.items.insert(99); }],
  ["a deleted item held", function () { b["delete"](); return b.Data; }],
  ["its Caption", function () { return b.Caption; }],
  ["its Index", function () { return b.Index; }],
  ["setting its Data", function () { b.Data = {}; }],
  ["Count after the delete", function () { return lv.items.Count; }],
  ["clear", function () { lv.items.clear(); return lv.items.Count + " " + a.Data + " " + lv.Selected; }],
  ["a held item after clear", function () { return a.Caption; }],
  ["events", function () { return log.join(","); }]
];
for (var i = 0; i < cases.length; i++) {
  try { show(cases[i][0], cases[i][1]()); } catch (x) { show(cases[i][0], x); }
}

// An item held after its form was released.
var held = lv.items.add();
held.Caption = "held";
f.release();
doEvents();
try { show("an item of a released form", held.Caption); } catch (x) { show("an item of a released form", x); }
show("its Data", held.Data);

// Owner data: a million rows, of which only the painted ones are asked for.
var g = new VCLForm();
g.setBounds(0, 0, 300, 300);
var v = new VCLListView(g);
v.setBounds(0, 0, 280, 280);
v.ViewStyle = "vsReport";
v.column.add().Caption = "Row";
v.OwnerData = true;
var calls = 0;
v.onData = function (s, item) { calls++; item.Caption = "row " + item.Index; };
v.items.Count = 1000000;
g.show();
doEvents();
doEvents();
show("owner data Count", v.items.Count);
show("onData asked for painted rows only", calls > 0 && calls < 200);
var r5 = v.items.item(5);
show("an owner-data item", r5.Caption + " " + r5.Index);
show("a fresh wrapper per read", v.items.item(5) === r5);
show("items.item(Count)", v.items.item(1000000));
v.items.Count = 0;
try { show("a row held after Count = 0", r5.Caption); } catch (x) { show("a row held after Count = 0", x); }
g.release();
doEvents();
//--- next run ---
var lv = new VCLListView();
var item = lv.items.add();
item.Position = null;
//--- next run ---
var lv = new VCLListView();
var item = lv.items.add();
lv.items["delete"](0);
item.Caption;
//--- next run ---
var lv = new VCLListView();
lv.column.add();
lv.column.items(1);
//--- next run ---
var lv = new VCLListView();
lv.items.Count = 5;
//--- next run ---
var lv = new VCLListView();
lv.items.add();
lv.items["delete"](1);
