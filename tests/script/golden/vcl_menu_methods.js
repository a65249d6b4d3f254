// Menus: findItem by command, handle and short cut (and kinds and values that name
// nothing), commands and popups dispatched, help topics found up the item tree, the parent
// menu, separators and hot keys, "onChange" with its source and rebuild flag, and merge and
// unmerge of two main menus leaving both menus' items as they were. Operands of "+" are
// evaluated right first: each result goes into a variable before it is shown.
function show(label, v) { println(label + " = " + v); }
function captions(item) {
  var out = [];
  for (var i = 0; i < item.Count; i++) out.push(item.items(i).Caption + (item.items(i).Visible ? "" : "(hidden)"));
  return out.join(" ");
}
var f = new VCLForm();
var mm = new VCLMainMenu();
var file = new VCLMenuItem(); file.Caption = "&File"; file.HelpContext = 12;
var open = new VCLMenuItem(); open.Caption = "Open"; open.ShortCut = 16463;
var save = new VCLMenuItem(); save.Caption = "Save"; save.HelpContext = 7;
file.add(open, save);
var help = new VCLMenuItem(); help.Caption = "&Help"; help.GroupIndex = 9;
mm.items.add(file, help);
f.Menu = mm;
open.onClick = function (s) { println("clicked " + s.Caption); };
file.onClick = function (s) { println("popup " + s.Caption); };

show("menu events", mm.getEvents().join(","));
show("Handle and WindowHandle", (mm.Handle != 0) + " " + (mm.WindowHandle == f.handle));
mm.WindowHandle = 4; show("WindowHandle written", mm.WindowHandle);
show("findItem fkCommand", mm.findItem(open.Command, "fkCommand") === open);
show("findItem fkHandle", mm.findItem(save.Handle, "fkHandle") === save);
show("findItem fkShortCut by ordinal", mm.findItem(16463, 2) === open);
show("findItem of no item", mm.findItem(999999, "fkCommand"));
show("findItem of no kind", mm.findItem(open.Command, "fkNothing"));
show("dispatchCommand", mm.dispatchCommand(open.Command));
show("dispatchCommand of no item", mm.dispatchCommand(999999));
show("dispatchPopup", mm.dispatchPopup(file.Handle));
show("getHelpContext from the parent", mm.getHelpContext(open.Command, true));
show("getHelpContext by handle", mm.getHelpContext(save.Handle, false));
show("getHelpContext of no item", mm.getHelpContext(999999, true));
show("getParentMenu", (open.getParentMenu() === mm) + " " + new VCLMenuItem().getParentMenu());

var first = file.newTopLine(); var again = file.newTopLine();
show("newTopLine", first + " " + again + " | " + captions(file));
var at = file.newBottomLine();
show("newBottomLine", at + " | " + captions(file));
at = file.insertNewLineAfter(open);
show("insertNewLineAfter", at + " | " + captions(file));
at = file.insertNewLineBefore(save);
show("insertNewLineBefore a line", at + " | " + captions(file));
show("lines of no sub-item", file.insertNewLineBefore(help) + " " + file.insertNewLineAfter(42) + " " + new VCLMenuItem().newTopLine());
var changed = file.rethinkLines();
show("rethinkLines", changed + " | " + captions(file));
show("rethinkLines again", file.rethinkLines());
save.Visible = false;
changed = file.rethinkLines();
show("rethinkLines, Save hidden", changed + " | " + captions(file));
save.Visible = true;
file.rethinkLines();

var tools = new VCLMenuItem();
var names = ["Open", "Options", "&Save", "S&ettings", "&Open again", "-", "99", "&&Co"];
var kept = [];  // the script's wrappers own their items
for (var i = 0; i < names.length; i++) { kept[i] = new VCLMenuItem(); kept[i].Caption = names[i]; tools.add(kept[i]); }
changed = tools.rethinkHotkeys();
show("rethinkHotkeys", changed + " | " + captions(tools));
show("rethinkHotkeys again", tools.rethinkHotkeys());

var act = new VCLAction();
act.onUpdate = function (s) { println("onUpdate"); };
var acted = new VCLMenuItem(); acted.action = act;
show("initiateAction", acted.initiateAction() === acted);

mm.onChange = function (s, source, rebuild) {
  println("onChange " + (s === mm) + " " + (source === null ? "null" : source.Caption) + " " + rebuild);
};
open.Caption = "Open...";
var recent = new VCLMenuItem(); recent.Caption = "Recent";
file.add(recent);
mm.items.add(new VCLMenuItem());
mm.items.delete(2);
mm.onChange = null;

var other = new VCLMainMenu();
var image = new VCLMenuItem(); image.Caption = "&Image"; image.GroupIndex = 1;
var window = new VCLMenuItem(); window.Caption = "&Window"; window.GroupIndex = 9;
other.items.add(image, window);
function state() {
  return captions(mm.items) + " / " + captions(other.items) + " / window found " + (mm.findItem(window.Command, "fkCommand") === window);
}
show("before merge", state());
var same = mm.merge(other) === mm;
show("merge", same + " " + state());
same = mm.merge(42) === mm;
show("merge of no menu", same + " " + state());
same = mm.unmerge(other) === mm;
show("unmerge", same + " " + state());
same = mm.unmerge(other) === mm;
show("unmerge again", same + " " + state());
