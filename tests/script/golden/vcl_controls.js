// The control wrappers: lists and their Strings objects, the memo's lines, text and caret,
// the edit's selection and methods, menus on forms, and showModal with a button's result.
function show(label, v) { println(label + " = " + v); }
var f = new VCLForm();
var lb = new VCLListBox(f);
var items = lb.Items;
items.add("alpha");
items.add("beta");
items.add("gamma");
show("Items is one object", lb.Items === items);
show("Count", lb.Items.count);
show("SelCount of a single-select list", lb.SelCount);
show("selected(-1), selected(3)", lb.selected(-1) + " " + lb.selected(3));
lb.ItemIndex = 1;
show("selected(1) after ItemIndex = 1", lb.selected(1));
show("selected(0, true) gives its value", lb.selected(0, true));
show("ItemIndex", lb.ItemIndex);
show("itemRect(5)", lb.itemRect(5));
lb.MultiSelect = true;
lb.selectAll();
show("SelCount after selectAll", lb.SelCount);
lb.selected(1, false);
lb.deleteSelected();
show("after deleteSelected", lb.Items.text.length + " " + lb.Items[0]);
var m = new VCLMemo(f);
m.lines.add("first");
m.lines.add("二行目");
show("memo text", m.text.length + " characters, lines " + m.lines.count + ", second " + m.lines[1]);
m.text = "one\ntwo\nthree";
show("lines after text", m.lines.count + " " + m.lines[2]);
var p = m.caretPos;
show("caretPos is one Point", (m.caretPos === p) + " " + p);
var e = new VCLEdit(f);
e.Text = "hello world";
e.SelStart = 6;
e.SelLength = 5;
show("SelText", e.SelText);
e.SelText = "there";
show("Text after SelText", e.Text);
e.selectAll();
show("SelLength after selectAll", e.SelLength);
e.clear();
show("Text after clear", "[" + e.Text + "]");
show("Modified", e.Modified);
var g = new VCLRadioGroup(f);
g.Items.add("a");
g.Items.add("b");
g.onClick = function (sender) { println("radio group click " + sender.ItemIndex); };
g.ItemIndex = 1;
var panel = new VCLPanel(f);
panel.Caption = "panel";
var inner = new VCLLabel(panel);
inner.Caption = "label";
show("label on the panel", inner.parent === panel);
show("panel.controls(0)", panel.controls(0) === inner);
show("form contains the label", f.containsControl(inner) + " " + panel.containsControl(e));
var box = new VCLGroupBox(f);
show("group box class", box.VCLclassName + " " + box);
// Menus: the form's Menu is read and written natively.
var m1 = new VCLMainMenu();
var m2 = new VCLMainMenu();
f.Menu = m1;
show("Menu is m1", f.Menu === m1);
f.Menu = m2;
show("Menu is m2 after a write", f.Menu === m2);
f.Menu = null;
show("Menu after null", f.Menu);
// ActiveControl is read natively each time: it follows the focus.
var e2 = new VCLEdit(f);
f.show();
e.setFocus();
show("ActiveControl is the first edit", f.ActiveControl === e);
e2.setFocus();
show("after the focus moved", f.ActiveControl === e2);
f.ActiveControl = e;
show("after ActiveControl = e", f.ActiveControl === e);
f.hide();
// A popup menu: onPopup, then its entries at the point; a chosen entry's onClick runs later.
var pm = new VCLPopupMenu();
var entry = new VCLMenuItem();
entry.Caption = "Entry";
entry.onClick = function () { println("entry chosen"); };
pm.items.add(entry);
pm.onPopup = function (sender) { println("popup " + sender.items.Count); };
pm.PopupComponent = e;
show("PopupComponent", pm.PopupComponent === e);
pm.popup(20, 30);
pm.items[0].click();
// Progress bars: stepIt starts again at Min past Max; stepBy stops at Max.
var bar = new VCLProgressBar(f);
show("Min Max Position Step", bar.Min + " " + bar.Max + " " + bar.Position + " " + bar.Step);
bar.Position = 95;
bar.stepIt();
show("stepIt from 95", bar.Position);
bar.Position = 95;
bar.stepBy(10);
show("stepBy(10) from 95", bar.Position);
bar.Position = 500;
show("Position 500", bar.Position);
// Spin edits: MinValue equal to MaxValue means no limits.
var spin = new VCLSpinEdit(f);
spin.onChange = function (sender) { println("spin change " + sender.Value); };
spin.Value = -5;
spin.MinValue = 0;
spin.MaxValue = 10;
spin.Value = 50;
show("spin Value with limits 0..10", spin.Value);
// A Strings object taken from a list box stays a script object after the box is gone.
lb = null;
show("Items after the list box was freed", typeof items);
try { items.add("x"); } catch (x) { show("adding to it", x); }
// showModal returns the ModalResult of the button that closed the form.
var d = new VCLForm();
var ok = new VCLButton(d);
ok.ModalResult = 1;
var t = new VCLTimer();
t.Interval = 10;
t.onTimer = function () { t.Enabled = false; ok.click(); };
show("showModal", d.showModal());
show("dialog visible afterwards", d.Visible);
// A splitter: its defaults, and MinSize never below 1.
var sp = new VCLSplitter(f);
show("splitter", sp + " " + sp.Align + " " + sp.Width + " " + sp.MinSize);
sp.MinSize = 0;
show("MinSize after 0", sp.MinSize);
show("splitter events", sp.getEvents().join(","));
// A check list box: checks, states and enabled items; code changes fire no onClickCheck.
var cl = new VCLCheckListBox(f);
cl.Items.add("a");
cl.Items.add("b");
cl.Items.add("c");
cl.onClickCheck = function () { println("onClickCheck (never from code)"); };
show("a new item", cl.checked(0) + " " + cl.state(0) + " " + cl.itemEnabled(0));
show("checked(1, true) gives its value", cl.checked(1, true));
show("state(1)", cl.state(1));
show("state(2, 'cbGrayed') gives its value", cl.state(2, "cbGrayed"));
show("state(2) and checked(2)", cl.state(2) + " " + cl.checked(2));
show("state(2, 0) gives its value", cl.state(2, 0));
show("state(2) after 0", cl.state(2));
cl.state(2, "cbBogus");
show("state(2) after 'cbBogus'", cl.state(2));
cl.itemEnabled(0, false);
show("itemEnabled(0) after false", cl.itemEnabled(0));
show("outside the items", cl.checked(3) + " [" + cl.state(-1) + "] " + cl.itemEnabled(9, true));
show("still a list box", cl.selected(0) + " " + cl.Items.count + " " + cl.AllowGrayed);
// An up-down with an associated edit: Position kept between Min and Max, shown in the edit.
var ed = new VCLEdit(f);
ed.setBounds(10, 10, 60, 21);
var ud = new VCLUpDown(f);
show("up-down defaults", ud.Min + " " + ud.Max + " " + ud.Position + " " + ud.Increment + " " + ud.Wrap);
ud.Associate = ed;
ud.Position = 7;
show("the edit shows Position", ed.Text + " " + (ud.Associate === ed));
show("the up-down sits at the edit's right edge", ud.Left + " " + ud.Top + " " + ud.Height);
ud.Max = 5;
show("Position after Max = 5", ud.Position + " " + ed.Text);
ud.Position = -3;
show("Position after -3", ud.Position);
try { ud.Associate = ud; } catch (x) { show("Associate = itself", x); }
show("up-down events", ud.getEvents().join(","));
// Find and replace dialogs: their defaults and options; closeDialog before execute.
var fd = new VCLFindDialog();
show("find dialog", fd + " " + fd.Options + " [" + fd.FindText + "]");
fd.Options = "frMatchCase frWholeWord";
show("Options after \"frMatchCase frWholeWord\"", fd.Options);
show("closeDialog before execute gives the dialog", fd.closeDialog() === fd);
var rd = new VCLReplaceDialog();
rd.ReplaceText = "new";
show("replace dialog", rd + " " + rd.ReplaceText + " " + rd.getEvents().join(","));
