// Published properties of the GUI wrappers: numbers, identifiers, sets, text, references
// and sub-objects through the native descriptors; names without case; the wrapper's own
// properties; one wrapper per component; and every error a property write can raise.
function show(label, v) { println(label + " = " + v); }
var f = new VCLForm();
show("toString", f);
show("VCLclassName", f.VCLclassName);
show("Color of a new form (clBtnFace)", f.Color);
show("Visible", f.Visible);
show("typeof Visible", typeof f.Visible);
show("main", f.main);
show("Owner of a script-made form", f.Owner);
var e = new VCLEdit(f);
show("new VCLEdit(form) lies on the form", e.parent === f);
show("the form's ControlCount", f.ControlCount);
show("a second read gives the same wrapper", f.controls(0) === e);
var loose = new VCLButton();
show("new VCLButton() has no parent", loose.parent);
loose.parent = f;
show("after parent = form", f.ControlCount);
loose.parent = null;
show("after parent = null", f.ControlCount);
show("PasswordChar", e.PasswordChar);
e.PasswordChar = "*";
show("PasswordChar after '*'", e.PasswordChar);
show("Anchors", e.Anchors);
e.Anchors = "[akLeft, akRight]";
show("Anchors after \"[akLeft, akRight]\"", e.Anchors);
e.Anchors = "akTop akBottom unknown";
show("Anchors after \"akTop akBottom unknown\"", e.Anchors);
var members = new Object();
members.akLeft = true;
members.akTop = false;
members.akBottom = 1;
e.Anchors = members;
show("Anchors from an object", e.Anchors);
e.Align = "ALCLIENT";
show("Align after \"ALCLIENT\"", e.Align);
e.Align = 0;
show("Align after 0", e.Align);
f.Color = "clRed";
show("Color after \"clRed\"", f.Color);
f.Color = "$FF00";
show("Color after \"$FF00\"", f.Color);
e.text = "abc";
show("text (any case) reaches Text", e.Text);
e.Text = "日本語";
show("Text in CP932", e.Text + " of " + e.Text.length + " characters");
show("Font", e.Font.VCLclassName + " " + e.Font.Name);
show("the same Font wrapper", e.Font === e.Font);
e.Font.Style = "fsBold,fsItalic";
show("Font.Style", e.Font.Style);
e.Tag = 5;
show("Tag", e.Tag);
show("Tag does not disturb the link", f.controls(0) === e);
show("Left Top Width Height", e.Left + " " + e.Top + " " + e.Width + " " + e.Height);
e.setBounds(10, 20, 120, 24);
show("after setBounds", e.Left + " " + e.Top + " " + e.Width + " " + e.Height);
show("hasKey(\"Text\")", e.hasKey("Text") + " " + e.hasKey("text") + " " + e.hasKey("Nothing"));
show("getProperties of a label", new VCLLabel().getProperties());
show("getEvents of a button", loose.getEvents());
// Members stay case-sensitive; OnClick (capital O) is a plain member no event calls.
e.mine = 1;
show("members keep their case", e.hasKey("mine") + " " + e.hasKey("MINE"));
e.OnClick = function () { println("never"); };
show("OnClick is a member", typeof e.OnClick);
try { e.Align = "alNowhere"; } catch (x) { show("caught", x); }
show("Align after a refused write", e.Align);
show("no member shadows Align", ("," + e.getKeys().join(",") + ",").indexOf(",Align,") < 0);
e.Align = "alTop";
show("Align writable afterwards", e.Align);
e.Align = "alNowhere";
//--- next run ---
var e = new VCLEdit();
e.Visible = new Object();
//--- next run ---
var c = new VCLComboBox();
c.Text = "x";
//--- next run ---
var f = new VCLForm();
f.VCLclassName = "TButton";
//--- next run ---
var f = new VCLForm();
f.ControlCount = 3;
//--- next run ---
var f = new VCLForm();
var b = new VCLButton(f);
f = null;
println("a button whose form was freed: ComponentCount " + b.ComponentCount + ", ComponentIndex " + b.ComponentIndex);
b.click();
//--- next run ---
var b = new VCLButton();
b.setBounds(1, 2);
//--- next run ---
var f = new VCLForm();
f.containsControl(3);
//--- next run ---
var f = new VCLForm();
f.controls(0);
