// A list item's displayRect before its form is shown: a Rect of zeros for each part, by
// identifier or ordinal, and null for a code that names no part; once the form is shown,
// the laid-out rectangle.
function d(r) { return r === null ? "null" : typeof(r) + " " + r.left + "," + r.top + "," + r.right + "," + r.bottom; }
var f = new VCLForm();
f.setBounds(0, 0, 300, 200);
var lv = new VCLListView(f);
lv.setBounds(0, 0, 200, 150);
lv.ViewStyle = "vsReport";
lv.column.add().Caption = "Name";
var a = lv.items.add();
a.Caption = "alpha";
var codes = ["drBounds", "drIcon", "drLabel", "drSelectBounds", 0, 3, 4, -1, "drNothing", null];
for (var i = 0; i < codes.length; i++) println(codes[i] + ": " + d(a.displayRect(codes[i])));
var alone = new VCLListView();
println("a list without a form: " + d(alone.items.add().displayRect("drLabel")));
f.show();
doEvents();
var r = a.displayRect("drBounds");
println("shown: " + typeof(r) + " " + (r.right > r.left) + " " + (r.bottom > r.top));
