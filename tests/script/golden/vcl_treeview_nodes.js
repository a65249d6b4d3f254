// Tree views from scripts: one wrapper per node, Data, the adders, moving, indexing,
// deleting with held wrappers, the nodes' assign and item ids, each case a row of a table.
// The engine evaluates the right operand of + first: a case calls what changes the tree in
// a statement of its own.
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
var f = new VCLForm();
var tv = new VCLTreeView(f);
var items = tv.Items;
var data = { name: "payload" };
var a = items.add(null, "a");
var b = items.addChild(a, "b");
var c = items.addChild(b, "c");
var d = items.add(a, "d");
var sorted = new VCLTreeView();
var z = sorted.Items.add(null, "z");
sorted.Items.addChild(z, "b");
sorted.Items.addChild(z, "A");
sorted.Items.add(null, "m");
sorted.Items.add(null, "B");
var cases = [
  ["toString", function () { return tv + " " + items + " " + a; }],
  ["the view's events", function () { return tv.getEvents().join(","); }],
  ["add(null) gives the first node's one wrapper", function () { return items.getFirstNode() === a; }],
  ["Data set on one is seen on the other", function () { a.Data = data; return items.item(0).Data.name; }],
  ["addChildObject with a number leaves Data null", function () { return items.addChildObject(d, "n", 5).Data; }],
  ["addChildObject with an object sets Data", function () { return items.addChildObject(d, "o", data).Data === data; }],
  ["addObjectFirst", function () { return items.addObjectFirst(a, "first", data).Index; }],
  ["insert before b", function () { var i = items.insert(b, "ib"); return i.Index + " " + b.Index; }],
  ["addChildFirst(null)", function () { return items.addChildFirst(null, "top").AbsoluteIndex; }],
  ["the tree", function () { return texts(tv); }],
  ["nodes Count and a node's Count", function () { return items.Count + " " + a.Count + " " + a.count; }],
  ["node[i] and item(i)", function () { return a[1].Text + " " + (a.item(1) === b); }],
  ["items[i]", function () { return items[2].Text; }],
  ["Parent, Level, TreeView, Owner", function () { return c.Parent.Text + " " + c.Level + " " + (c.TreeView === tv) + " " + (c.Owner === items); }],
  ["a top node's Parent", function () { return a.Parent; }],
  ["getNext walk", function () { var s = []; for (var n = items.getFirstNode(); n != null; n = n.getNext()) s.push(n.Text); return s.join(","); }],
  ["getPrev of d", function () { return d.getPrev().Text; }],
  ["siblings and children", function () { return b.getPrevSibling().Text + " " + a.getFirstChild().Text + " " + a.getLastChild().Text + " " + a.getNextChild(b); }],
  ["hasAsParent and indexOf", function () { return c.hasAsParent(a) + " " + a.hasAsParent(c) + " " + a.indexOf(b) + " " + a.indexOf(c); }],
  ["IsVisible of a collapsed child", function () { return c.IsVisible; }],
  ["expand(true) then IsVisible", function () { a.expand(true); return c.IsVisible + " " + a.Expanded + " " + b.Expanded; }],
  ["collapse(false)", function () { a.collapse(false); return a.Expanded + " " + b.Expanded; }],
  ["moveTo naAddChild makes the last child", function () { d.moveTo(b, "naAddChild"); return d.Parent.Text + " " + d.Index + " " + d.Level + " " + d.getFirstChild().Level; }],
  ["moveTo naAddFirst by ordinal", function () { d.moveTo(a, 1); return d.Level + " " + d.AbsoluteIndex + " " + texts(tv); }],
  ["moveTo naInsert", function () { d.moveTo(a, "naInsert"); return d.getNextSibling() === a; }],
  ["moveTo an unknown mode", function () { d.moveTo(a, "naSideways"); }],
  ["moveTo into its own branch", function () { a.moveTo(c, "naAddChild"); }],
  ["moveTo with a number as destination", function () { d.moveTo(3, "naAdd"); }],
  ["items.item(Count)", function () { return items.item(items.Count); }],
  ["items.item(-1)", function () { return items.item(-1); }],
  ["node.item out of range", function () { return a.item(a.Count); }],
  ["items.assign returns undefined", function () { var n = items.Count; return isUndefined(items.assign(items)) + " " + (items.Count == n); }],
  ["getNode(ItemId) round trip", function () { return items.getNode(c.ItemId) === c; }],
  ["getNode of an unknown id", function () { return items.getNode(123456) + " " + items.getNode(0) + " " + items.getNode(-1); }],
  ["item(i, source) keeps the target's wrapper and takes Data", function () {
    var host = items.add(null, "host"); var t = items.addChild(host, "target"); var s = items.add(null, "source");
    s.Data = { name: "from source" }; s.ImageIndex = 4;
    var r = host.item(0, s);
    return (r === s) + " " + (host.item(0) === t) + " " + t.Text + " " + t.ImageIndex + " " + t.Data.name + " " + (s.Data === t.Data); }],
  ["item(i, null) leaves the target", function () { return b.item(0, null) + " " + b.item(0).Text; }],
  ["item(i, 7)", function () { return b.item(0, 7); }],
  ["nodes.delete of a non-node does nothing", function () { var n = items.Count; items.delete(5); items.delete(null); return items.Count == n; }],
  ["a node argument that is no node", function () { return a.indexOf("b"); }],
  ["another view's node as DropTarget, then deleted", function () {
    var other = new VCLTreeView(); var o = other.Items.add(null, "o");
    tv.DropTarget = o; other.Items.delete(o); return tv.DropTarget; }],
  ["another view's node as a parent", function () { var other = new VCLTreeView(); items.addChild(other.Items.add(null, "o"), "x"); }],
  ["alphaSort of the view sorts every level", function () { var r = sorted.alphaSort(); return r + " " + texts(sorted); }],
  ["a node's alphaSort sorts its children only", function () {
    var v = new VCLTreeView(); var r = v.Items.add(null, "r"); v.Items.addChild(r, "y"); var x = v.Items.addChild(r, "x");
    v.Items.addChild(x, "2"); v.Items.addChild(x, "1"); var done = r.alphaSort(); return done + " " + texts(v); }],
  ["onCompare gives the order", function () {
    sorted.onCompare = function (s, n1, n2, data, compare) { compare.number = n1.Text < n2.Text ? 1 : n1.Text > n2.Text ? -1 : 0; };
    sorted.alphaSort(); return texts(sorted); }],
  ["alphaSort from onCompare", function () {
    sorted.onCompare = function (s, n1, n2, data, compare) { s.alphaSort(); };
    sorted.alphaSort(); }],
  ["the tree after it", function () { return texts(sorted); }],
  ["DropTarget", function () { b.DropTarget = true; return tv.DropTarget.Text + " " + b.DropTarget + " " + c.DropTarget; }]
];
for (var i = 0; i < cases.length; i++) check(cases[i][0], cases[i][1]);

// The life of held wrappers.
var p = items.add(null, "parent");
var kid = items.addChild(p, "kid");
var grand = items.addChild(kid, "grand");
kid.Data = data;
var gone = [];
tv.onDeletion = function (sender, node) { gone.push(node.Text + (node.Deleting ? "*" : "")); };
p.delete();
check("onDeletion saw each node, children first", function () { return gone.join(","); });
check("a held child after its parent's delete", function () { return grand.Text; });
check("its Data reads null", function () { return kid.Data; });
check("its Level", function () { return kid.Level; });
check("its Data is kept by no one", function () { return data.name; });
var held = items.getFirstNode();
items.clear();
check("after clear", function () { return items.Count + " " + items.getFirstNode() + " " + gone.length; });
check("a held node after clear", function () { return held.Text; });
var n1 = items.add(null, "x");
tv = null; f.release(); f = null; doEvents();
check("a held node after the form's release", function () { return n1.Text; });
check("its Data after the release", function () { return n1.Data; });
check("the nodes after the release", function () { return items.Count; });
//--- next run ---
var tv = new VCLTreeView();
tv.Items.add(null, "only");
tv.Items.item(1);
//--- next run ---
var tv = new VCLTreeView();
var n = tv.Items.add(null, "x");
n.item(0);
//--- next run ---
var tv = new VCLTreeView();
var n = tv.Items.add(null, "x");
tv.Items.delete(n);
n.Text;
//--- next run ---
var tv = new VCLTreeView();
var n = tv.Items.add(null, "x");
n.moveTo(n, "naAddChild");
