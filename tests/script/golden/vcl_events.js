// Events of the GUI wrappers run from code and from the event loop: what fires and in
// which order, by-reference arguments, handlers on the class prototype, errors and exit in
// handlers, the main form ending the loop, and wrappers and natives freed from their own
// handlers.
var log = "";
function note(s) { log += s + ";"; }
function flush(label) { println(label + ": " + log); log = ""; }
var f = new VCLForm();
var b = new VCLButton(f);
b.Name = "Button1";
b.onClick = function (sender) { note("click " + (sender === b) + " " + sender.Name); };
b.click();
flush("button click()");
var c = new VCLCheckBox(f);
c.onClick = function (sender) { note("click " + sender.Checked); };
c.Checked = true;
c.Checked = true;
c.Checked = false;
flush("check box Checked true, true, false");
var r = new VCLRadioButton(f);
r.onClick = function () { note("radio " + r.Checked); };
r.Checked = true;
r.Checked = true;
flush("radio button Checked true twice");
var e = new VCLEdit(f);
e.onChange = function () { note("change " + e.Text); };
e.Text = "abc";
flush("edit Text set");
var cb = new VCLComboBox(f);
cb.Items.add("one");
cb.Items.add("two");
cb.onChange = function () { note("combo change"); };
cb.ItemIndex = 1;
flush("combo ItemIndex from code (nothing)");
println("combo Text " + cb.Text + ", items " + cb.Items.count + ": " + cb.Items[0] + "," + cb.Items[1]);
// Handlers on the class prototype reach every button without one of its own.
var b2 = new VCLButton(f);
b2.prototype.onClick = function (sender) { note("prototype " + sender.Caption); };
b2.Caption = "second";
b2.click();
b.click();
flush("prototype handler, then the button's own");
b2.prototype.onClick = null;
// A button with an action runs the action's onExecute and not its own onClick; the action
// gives it its caption and state; action = null brings onClick back.
var act = new VCLAction();
act.Caption = "Act";
act.onExecute = function (sender) { note("execute " + (sender === act)); };
var ab = new VCLButton(f);
ab.onClick = function () { note("own click"); };
ab.action = act;
println("linked: " + (ab.action === act) + " caption " + ab.Caption);
ab.click();
act.Enabled = false;
println("enabled follows the action: " + ab.Enabled);
ab.action = null;
ab.click();
flush("button with an action, then without");
var am = new VCLMenuItem();
am.action = act;
am.click();
flush("menu item with the action");
// The close sequence: onCloseQuery, onClose with its action, onHide; caNone keeps the form.
f.onShow = function () { note("show"); };
f.onHide = function () { note("hide"); };
f.onCloseQuery = function (sender, canClose) { note("closeQuery " + canClose.bool); };
f.onClose = function (sender, action) { note("close " + action); action.text = "caNone"; };
f.show();
f.close();
flush("show, close answered caNone");
println("still visible " + f.Visible);
f.onClose = function (sender, action) { note("close " + action); action.text = "nothing"; };
f.close();
flush("close with an action that names nothing");
println("visible " + f.Visible);
f.onCloseQuery = function (sender, canClose) { note("closeQuery"); canClose.bool = false; };
f.show();
f.close();
flush("onCloseQuery refusing");
println("visible " + f.Visible);
// A menu item clicked from code; find ignores case and "&".
var menu = new VCLMainMenu();
var file = new VCLMenuItem();
file.Caption = "&File";
var open = new VCLMenuItem();
open.Caption = "&Open";
open.onClick = function (sender) { note("open " + (sender === open)); };
file.add(open);
menu.items.add(file);
println("menu " + menu.items.Count + " " + menu.items[0].Caption + " " + (menu.items[0] === file) + " "
        + (file.find("OPEN") === open) + " " + (file.items(0) === open) + " " + file.indexOf(open) + " "
        + file.indexOf(3));
file.find("open").click();
flush("menu item click");
// A menu item that clears its own menu.
open.onClick = function () { file.clear(); note("cleared " + file.Count); };
open.click();
flush("menu item clearing its own menu");
println("open still usable: " + open.Caption);
//--- next run ---
// A timer ticks in the event loop; the main form's closing ends it once the handler lets
// the form close.
var f = new VCLForm(true);
var t = new VCLTimer();
t.Interval = 10;
var ticks = 0;
var refused = false;
f.onClose = function (sender, action) {
  if (!refused) { refused = true; action.text = "caNone"; println("close refused"); return; }
  println("close " + action + " after " + ticks + " ticks");
};
t.onTimer = function (sender) {
  ticks++;
  if (ticks == 2 || ticks == 3) f.close();
  if (ticks == 3) t.Enabled = false;
};
f.show();
// The loop runs once the program has ended.
eventLoop();
println("program ended, terminated " + terminated);
//--- next run ---
// A handler that drops its button's last reference; more events follow.
var f = new VCLForm();
var b = new VCLButton(f);
var other = new VCLButton(f);
other.onClick = function () { println("other still works, controls " + f.ControlCount); };
b.onClick = function (sender) { b = null; println("dropped inside the handler"); };
b.click();
doEvents();
other.click();
// A timer that drops itself.
var t = new VCLTimer();
t.Interval = 5;
t.onTimer = function (sender) { t = null; println("timer dropped"); };
for (var i = 0; i < 20 && t != null; i++) { sleep(5); doEvents(); }
doEvents();
// A form released from its own button, and one freed by caFree.
var g = new VCLForm();
var rb = new VCLButton(g);
rb.onClick = function () { g.release(); println("released"); };
rb.click();
doEvents();
doEvents();
println("after release: " + g.ComponentCount);
try { g.show(); } catch (x) { println("show after release: " + x); }
var h = new VCLForm();
h.onClose = function (sender, action) { action.text = "caFree"; };
h.show();
h.close();
doEvents();
doEvents();
try { h.show(); } catch (x) { println("show after caFree: " + x); }
//--- next run ---
// exit inside a handler ends the run with its code.
var b = new VCLButton();
b.onClick = function () { exit(2); };
b.click();
println("not reached");
//--- next run ---
// A script error inside a handler under click() reaches the caller as EVCLError.
var b = new VCLButton();
b.onClick = function () { var a = new Array(); a.noSuchMethod(); };
b.click();
//--- next run ---
// An error in a handler run by the event loop ends the run with its own report.
var f = new VCLForm(true);
var t = new VCLTimer();
t.Interval = 5;
t.onTimer = function () { undefinedName + 1; };
eventLoop();
