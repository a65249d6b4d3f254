// Status bars and their panels: the panels object, adding and indexing panels, panel
// properties through the native descriptors, copying a panel into an item, the simple
// panel, and a panel object that outlives its bar.
function show(label, v) { println(label + " = " + v); }
var f = new VCLForm();
f.setBounds(0, 0, 300, 200);
var sb = new VCLStatusBar(f);
show("toString", sb + " " + sb.panels);
show("Align", sb.Align);
show("panels is one object", sb.panels === sb.panels);
show("Count of a new bar", sb.panels.Count);
var p0 = sb.panels.add();
p0.Text = "Ready";
p0.Width = 80;
var p1 = sb.panels.add();
p1.Text = "右";
p1.Alignment = "taRightJustify";
p1.Bevel = "pbRaised";
show("Count", sb.panels.Count + " " + sb.panels.count);
show("a panel's defaults", sb.panels[1].Width + " " + sb.panels[0].Bevel + " " + sb.panels[0].Style);
show("panels[1]", sb.panels[1].Text + " " + sb.panels[1].Alignment + " " + sb.panels[1].Bevel);
show("items(0) is panels[0]", sb.panels.items(0) === sb.panels[0]);
show("panels[2]", sb.panels[2]);
show("items(-1)", sb.panels.items(-1));
sb.panels[1] = p0;
show("after panels[1] = panels[0]", sb.panels[1].Text + " " + sb.panels[1].Width + " " + sb.panels[1].Bevel);
p1.Text = "second";
var copy = sb.panels.items(0, p1);
show("items(0, panel) gives the item", copy.Text + " " + (copy === p0));
try { sb.panels[0].Bevel = "pbDeep"; } catch (x) { show("Bevel = pbDeep", x); }
show("Bevel after the refused write", sb.panels[0].Bevel);
sb.SimpleText = "simple";
sb.SimplePanel = true;
show("SimplePanel", sb.SimplePanel + " " + sb.SimpleText + " " + sb.panels.Count);
var other = new VCLStatusBar(f);
other.panels.add().Text = "only";
try { other.Panels = sb.Panels; } catch (x) { show("Panels is the read-only panels", x); }
sb.onDrawPanel = function (s, panel, rect) { println("onDrawPanel"); };
show("the bar's events", sb.getEvents().join(","));
var kept = other.panels[0];
other = null;  // the bar goes with its wrapper; the panel object stays, detached
try { kept.Text; } catch (x) { show("a panel of a freed bar", x); }
//--- next run ---
var sb = new VCLStatusBar();
var p = sb.panels[0];
sb.panels.items();
