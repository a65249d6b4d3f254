// What scripts see of every GUI wrapper class: its name, native class, methods, published
// properties and events (sorted), for a wrapper made by the script constructor and for the
// collections and wrappers the caster makes (menu items, status panels, pages, tool buttons).
function sorted(list) { return list.sort().join(","); }
function show(label, o) {
  println(label + ": " + o + " " + o.VCLclassName);
  println("  methods: " + sorted(o.getMethods()));
  println("  properties: " + sorted(o.getProperties()));
  println("  events: " + sorted(o.getEvents()));
}
var classes = ["VCLForm", "VCLEdit", "VCLButton", "VCLMemo", "VCLLabel", "VCLTimer", "VCLMenuItem",
  "VCLMainMenu", "VCLPopupMenu", "VCLCheckBox", "VCLRadioButton", "VCLListBox", "VCLComboBox",
  "VCLGroupBox", "VCLRadioGroup", "VCLPanel", "VCLSplitter", "VCLCheckListBox", "VCLImage",
  "VCLTabControl", "VCLTabSheet", "VCLPageControl", "VCLProgressBar", "VCLTreeView", "VCLListView",
  "VCLStatusBar", "VCLToolButton", "VCLToolBar", "VCLCoolBar", "VCLAction", "VCLOpenDialog",
  "VCLSaveDialog", "VCLFontDialog", "VCLFindDialog", "VCLReplaceDialog", "VCLSpinEdit", "VCLUpDown"];
var f = new VCLForm();
for (var i = 0; i < classes.length; i++) show(classes[i], eval("new " + classes[i] + "(f)"));

// Collections: indexed reads, counts and what lies out of range.
var menu = new VCLMainMenu(f);
var item = new VCLMenuItem(f);
item.Caption = "File";
menu.items.add(item);
show("main menu items", menu.items);
println("menu items[0] is the item: " + (menu.items[0] === item) + ", Count " + menu.items.Count);
var bar = new VCLStatusBar(f);
bar.panels.add();
show("status panels", bar.panels);
println("panels[0] " + bar.panels[0] + ", panels[3] " + bar.panels[3] + ", Count " + bar.panels.Count);
var pages = new VCLPageControl(f);
var sheet = new VCLTabSheet(f);
sheet.PageControl = pages;
println("pages[0] is the sheet: " + (pages[0] === sheet) + ", PageCount " + pages.PageCount);
var tools = new VCLToolBar(f);
var button = new VCLToolButton(tools);
println("tools[0] is the button: " + (tools[0] === button) + ", tools[4] " + tools[4]);

// Wrappers the caster makes for a form read from its description.
f.loadFromText("object F: TForm\r\n" +
  "  object E: TEdit\r\n  end\r\n" +
  "  object M: TMemo\r\n  end\r\n" +
  "  object C: TComboBox\r\n  end\r\n" +
  "  object L: TCheckListBox\r\n  end\r\n" +
  "  object P: TPanel\r\n    object B: TButton\r\n    end\r\n  end\r\n" +
  "  object S: TSpinEdit\r\n  end\r\n" +
  "  object T: TTimer\r\n  end\r\n" +
  "  object D: TSaveDialog\r\n  end\r\n" +
  "  object R: TReplaceDialog\r\n  end\r\n" +
  "end\r\n");
var names = ["E", "M", "C", "L", "P", "B", "S", "T", "D", "R"];
for (var j = 0; j < names.length; j++) show("member " + names[j], f[names[j]]);
menu.items.delete(0);
println("after delete: " + menu.items.Count);
f.release();
