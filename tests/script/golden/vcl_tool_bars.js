// Tool bars with their buttons, cool bars and images: defaults, the flow of the buttons and
// the rows they take, the bar as a collection of its buttons, sets and enumerations of the
// tool windows, the action on a tool button, buttons freed with their bar, and error texts.
function show(label, v) { println(label + " = " + v); }
function places(bar) {
  var s = [];
  for (var i = 0; i < bar.ButtonCount; i++) s.push(bar[i].Left + ":" + bar[i].Top + ":" + bar[i].Width);
  return s.join(" ");
}
var f = new VCLForm();
f.setBounds(0, 0, 400, 300);
var bar = new VCLToolBar(f);
show("toString", bar + " " + bar.VCLclassName);
show("defaults", bar.Align + " " + bar.ButtonWidth + "x" + bar.ButtonHeight + " " + bar.Wrapable + " " +
     bar.Flat + " " + bar.ShowCaptions + " " + bar.Indent + " " + bar.Height);
show("edges", bar.EdgeBorders + " " + bar.EdgeInner + " " + bar.EdgeOuter);
show("no buttons", bar.ButtonCount + " " + bar.RowCount + " " + bar[0]);
var b = [];
for (var i = 0; i < 5; i++) {
  b[i] = new VCLToolButton(bar);
  b[i].Caption = "B" + i;
}
b[2].Style = "tbsSeparator";
show("a button", b[0] + " " + b[0].VCLclassName + " " + b[0].Style + " " + b[0].ImageIndex + " " + b[0].Down);
show("places", places(bar));
show("Index", b[0].Index + " " + b[3].Index);
show("bar[1] and buttons(1) are the button's wrapper", bar[1] === b[1] && bar.buttons(1) === b[1]);
show("bar[5], buttons(-1)", bar[5] + " " + bar.buttons(-1));
show("parent", b[4].parent === bar);
bar.Align = "alNone";
bar.Width = 60;
show("60 wide", places(bar) + " / rows " + bar.RowCount);
bar.Wrapable = false;
show("not wrapable", places(bar) + " / rows " + bar.RowCount);
b[1].Wrap = true;
show("Wrap on B1", places(bar) + " / rows " + bar.RowCount);
bar.ButtonWidth = 30;
bar.ButtonHeight = 25;
bar.Indent = 4;
show("wider cells", places(bar));
bar.EdgeBorders = "[ebLeft, ebBottom]";
show("EdgeBorders", bar.EdgeBorders + " / " + places(bar));
bar.EdgeBorders = {ebTop: true};
bar.EdgeInner = "esNone";
show("one edge line", bar.EdgeBorders + " " + bar.EdgeInner + " / " + places(bar));
try { bar.EdgeOuter = "esDeep"; } catch (x) { show("EdgeOuter = esDeep", x); }
try { b[0].Style = 7; } catch (x) { show("Style = 7", x); }
try { bar.ButtonCount = 3; } catch (x) { show("ButtonCount = 3", x); }
show("Style by ordinal", (b[0].Style = 1, b[0].Style));
b[0].Down = true;
show("a check button down", b[0].Down);
show("trackMenu of a number", bar.trackMenu(5));
show("trackMenu without a menu", bar.trackMenu(b[0]));
var pm = new VCLPopupMenu();
b[0].DropdownMenu = pm;
show("DropdownMenu", b[0].DropdownMenu === pm);
try { b[0].DropdownMenu = f; } catch (x) { show("DropdownMenu = a form", x); }
pm = null;
var act = new VCLAction();
act.Caption = "Act";
act.Hint = "Do it";
b[3].action = act;
show("the action gives its state", b[3].Caption + " / " + b[3].Hint + " / " + (b[3].action === act));
act.Enabled = false;
act.Visible = false;
show("and follows it", b[3].Enabled + " " + b[3].Visible + " / " + places(bar));
b[3].action = null;
act = null;
b[4] = null;
show("a button's last reference gone", bar.ButtonCount);
var loose = new VCLToolButton();
show("a loose button", loose.Index + " " + loose.parent);

var cool = new VCLCoolBar(f);
show("cool bar", cool + " " + cool.VCLclassName + " " + cool.Align + " " + cool.ShowText + " " + cool.AutoSize +
     " " + cool.FixedOrder + " " + cool.EdgeBorders);
show("its bands", cool.Bands + " " + cool.Bands.VCLclassName);
var inner = new VCLToolBar(cool);
show("a tool bar on a cool bar", inner.Align + " " + (inner.parent === cool) + " " + inner.Left);

var img = new VCLImage(f);
show("image", img + " " + img.VCLclassName + " " + img.Width + "x" + img.Height);
show("image defaults", img.AutoSize + " " + img.Center + " " + img.Stretch + " " + img.Proportional + " " +
     img.Transparent + " " + img.Picture.VCLclassName);
img.Stretch = true;
img.Picture = new VCLImage().Picture;
show("Picture = another picture", img.Picture.VCLclassName + " " + img.Stretch);
show("image events", img.getEvents());
show("tool button events", b[0].getEvents());
//--- next run ---
// A tool bar's buttons need an index.
var bar = new VCLToolBar();
bar.buttons();
//--- next run ---
// Buttons go with their bar; their wrappers stay, answering "VCL is null".
var f = new VCLForm();
var bar = new VCLToolBar(f);
var btn = new VCLToolButton(bar);
f = null;
bar = null;
println("ComponentCount = " + btn.ComponentCount);
println(btn.Index);
