// List view handlers that change the list from inside: clearing it from "onDeletion",
// "onSelectItem" and "onData", sorting again or clearing from "onCompare". The list stays
// consistent and every held wrapper answers.
function show(label, v) { println(label + " = " + v); }
function captions(lv) {
  var out = [];
  for (var i = 0; i < lv.items.Count; i++) out.push(lv.items[i].Caption);
  return out.join(" ");
}
var f = new VCLForm();
f.setBounds(0, 0, 300, 300);
var lv = new VCLListView(f);
lv.setBounds(0, 0, 280, 280);
lv.ViewStyle = "vsReport";
lv.column.add().Caption = "Name";
function fill(n) {
  lv.items.clear();
  for (var i = 0; i < n; i++) lv.items.add().Caption = "item" + (n - i);
}
f.show();
doEvents();

fill(5);
var first = lv.items[0];
var deletions = [];
lv.onDeletion = function (s, item) { deletions.push(item.Caption); if (lv.items.Count > 0) lv.items.clear(); };
lv.items["delete"](2);
lv.onDeletion = null;
show("clear from onDeletion", lv.items.Count + " [" + deletions.join(",") + "]");
try { first.Caption; } catch (x) { show("a held item", x); }

fill(4);
var selections = 0;
lv.onSelectItem = function (s, item, selected) { selections++; lv.items.clear(); };
lv.items[1].Selected = true;
doEvents();
lv.onSelectItem = null;
show("clear from onSelectItem", lv.items.Count + " " + selections + " " + lv.SelCount);
lv.items.add().Caption = "after";
show("the list afterwards", captions(lv));

fill(6);
var nested = null;
lv.onCompare = function (s, a, b, data, compare) {
  if (nested === null) nested = lv.alphaSort();
  compare.number = a.Caption < b.Caption ? -1 : a.Caption > b.Caption ? 1 : 0;
};
var sorted = lv.alphaSort();
show("alphaSort", sorted + " " + captions(lv));
show("alphaSort from onCompare", nested);
lv.onCompare = function (s, a, b, data, compare) { lv.items.clear(); };
try { lv.alphaSort(); } catch (x) { show("clear from onCompare", x); }
lv.onCompare = null;
show("the items after it", lv.items.Count + " " + captions(lv));

var v = new VCLListView(f);
v.setBounds(0, 0, 280, 280);
v.ViewStyle = "vsReport";
v.column.add().Caption = "Row";
v.OwnerData = true;
var data_calls = 0;
v.onData = function (s, item) { data_calls++; item.Caption = "row"; v.items.clear(); };
v.items.Count = 50;
lv.hide();
doEvents();
doEvents();
show("clear from onData", v.items.Count + " " + (data_calls > 0));
v.onData = null;
v.items.Count = 3;
doEvents();
show("owner data afterwards", v.items.Count + " " + v.items.item(2).Index);
f.release();
doEvents();
