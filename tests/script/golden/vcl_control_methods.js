// The controls' own operations from scripts: handles and messages, Controls[] order,
// coordinates, hit tests, scaling, mirroring, align suspension, constraints with their
// events, selections counted in script characters, and their errors.
function show(label, v) { println(label + " = " + v); }
var f = new VCLForm();
f.setBounds(0, 0, 408, 327);
var p = new VCLPanel(f);
p.Name = "P";
p.setBounds(10, 10, 100, 50);
var l = new VCLLabel(f);
l.AutoSize = false;
l.setBounds(200, 10, 40, 20);
var b = new VCLButton(f);
show("handle is a number", (typeof p.handle) + " " + (p.handle > 0));
show("handle is stable", p.handle === p.handle);
show("handles differ", p.handle != f.handle && p.handle != b.handle);
show("ParentWindow", p.ParentWindow);
p.ParentWindow = f.handle;
show("ParentWindow after a write", p.ParentWindow === f.handle);
show("VisibleDockClientCount", f.VisibleDockClientCount);
// Controls[]: the label (no window of its own) before the panel and the button.
show("controls(0) is the label", f.controls(0) === l);
show("controls(1) is the panel", f.controls(1) === p);
// Messages: WM_SETTEXT 0x0C, WM_GETTEXT 0x0D, WM_GETTEXTLENGTH 0x0E, WM_CLOSE 0x10.
var e = new VCLEdit(f);
show("WM_SETTEXT", e.perform(0x0C, 0, "日本語 text"));
show("Text", e.Text);
show("WM_GETTEXTLENGTH counts script bytes", e.perform(0x0E, 0, 0));
show("WM_GETTEXT into 5", e.perform(0x0D, 5, 0));
show("WM_GETTEXT into 0", e.perform(0x0D, 0, 0));
show("label WM_SETTEXT", l.perform(0x0C, 0, "caption"));
show("Caption", l.Caption);
show("another message", p.perform(0x400, 1, 2));
f.onClose = function (s, action) { println("form onClose " + action); };
show("WM_CLOSE on a form", f.perform(0x10, 0, 0));
// Coordinates: a control never shown sums its position over its parents.
var inner = new VCLPanel(p);
inner.setBounds(5, 6, 20, 20);
var pt = inner.clientToScreen({x: 1, y: 2});
show("clientToScreen", pt.x + "," + pt.y);
pt = inner.screenToClient(pt);
show("screenToClient back", pt.x + "," + pt.y);
// Hit tests: windowed children only when asked.
show("controlAtPos on the label", f.controlAtPos({x: 205, y: 15}, false) === l);
show("controlAtPos on the panel, windowed not allowed", f.controlAtPos({x: 15, y: 40}, false));
show("controlAtPos on the panel, windowed allowed", f.controlAtPos({x: 15, y: 40}, false, true) === p);
show("controlAtPos on the edit above the panel", f.controlAtPos({x: 15, y: 15}, false, true) === e);
l.Enabled = false;
show("a disabled label", f.controlAtPos({x: 205, y: 15}, false) + " " + (f.controlAtPos({x: 205, y: 15}, true) === l));
show("findChildControl", f.findChildControl("p") === p);
// Scaling, mirroring, scrolling.
p.scaleBy(3, 2);
show("panel after scaleBy(3, 2)", p.Left + " " + p.Top + " " + p.Width + " " + p.Height);
show("inner after scaleBy(3, 2)", inner.Left + " " + inner.Top + " " + inner.Width + " " + inner.Height);
p.flipChildren(false);
show("inner after flipChildren", inner.Left);
p.scrollBy(2, 3);
show("inner after scrollBy", inner.Left + " " + inner.Top);
// Align suspended: the panel stays until the last enableAlign.
var top = new VCLPanel(f);
f.disableAlign();
top.Top = 100;
top.Align = "alTop";
show("alTop while disabled", top.Top);
f.enableAlign();
show("alTop after enableAlign", top.Top + " " + top.Width);
// Constraints and the size events, by-reference arguments copied back.
var c = new VCLPanel(f);
c.Constraints.MaxWidth = 80;
c.Width = 200;
show("Width under MaxWidth 80", c.Width);
c.onCanResize = function (s, w, h, resize) {
  println("onCanResize " + w.number + " " + h.number + " " + resize.bool);
  if (w.number == 33) resize.bool = false;
  if (w.number == 44) w.number = 55;
};
c.onConstrainedResize = function (s, minW, minH, maxW, maxH) {
  println("onConstrainedResize " + minW.number + " " + minH.number + " " + maxW.number + " " + maxH.number);
  minW.number = 60;
};
c.Width = 33;
show("refused", c.Width);
c.Width = 44;
show("changed by the handlers", c.Width);
show("Constraints", c.Constraints.MaxWidth + " " + c.Constraints.MinWidth);
// Selections count script characters: a double-byte character is one, a memo's line
// break two.
e.Text = "日本語abc";
e.SelStart = 2;
e.SelLength = 3;
show("SelText", e.SelText);
show("SelStart, SelLength", e.SelStart + " " + e.SelLength);
var m = new VCLMemo(f);
m.text = "一行\n二行目";  // a script's "\n" is CR LF
m.SelStart = 4;
m.SelLength = 2;
show("memo SelText", m.SelText);
m.SelStart = 1;
m.SelLength = 4;
show("memo SelText across the line break", m.SelText.length + " " + m.SelLength);
var cb = new VCLComboBox(f);
cb.Items.add("日本abc");
cb.ItemIndex = 0;
cb.SelStart = 1;
cb.SelLength = 2;
show("combo SelText", cb.SelText + " " + cb.SelStart + " " + cb.SelLength);
cb.CharCase = "ecUpperCase";
show("combo CharCase", cb.CharCase + " " + cb.Text);
show("combo DroppedDown", cb.DroppedDown);
// Menu items: commands and handles.
var mi = new VCLMenuItem();
var mj = new VCLMenuItem();
show("Command", (mi.Command > 0) + " " + (mi.Command != mj.Command) + " " + (mi.Command === mi.Command));
show("Handle", (mi.Handle > 0) + " " + (mi.Handle != mj.Handle));
// Events listed: the form's new ones.
var names = "," + f.getEvents().join(",") + ",";
var wanted = ["onCanResize", "onConstrainedResize", "onContextPopup", "onHelp", "onMouseWheel",
              "onMouseWheelDown", "onMouseWheelUp"];
for (var i = 0; i < wanted.length; i++) show("form lists " + wanted[i], names.indexOf("," + wanted[i] + ",") >= 0);
show("panel events", p.getEvents().join(","));
// Errors, each ending a run of its own.
try { new VCLPanel().flipChildren(); } catch (x) { println("flipChildren(): " + x); }
new VCLPanel().scaleBy(1, 0);
//--- next run ---
new VCLPanel().clientToScreen(5);
//--- next run ---
var q = new VCLPanel();
q.ParentWindow = 1e12;
//--- next run ---
var q = new VCLPanel();
q.handle = 5;
//--- next run ---
var dead = new VCLForm();
var child = new VCLPanel(dead);
dead = null;
println(child.handle);
