// Forms as text: a description read into a form (children as members, a reference named
// before its component, an index read before its items, handler names ignored, Tag kept
// the user's), saved to text and to a file and read back the same, and the errors, each
// leaving the form as it was.
var desc =
  "object Main: TForm\n" +
  "  Caption = '日本 ''quoted'''\n" +
  "  ClientWidth = 300\n" +
  "  ClientHeight = 200\n" +
  "  Menu = MainMenu1\n" +
  "  PixelsPerInch = 96\n" +
  "  object Edit1: TEdit\n" +
  "    Left = 8\n" +
  "    Top = 8\n" +
  "    Text = 'hello'\n" +
  "    Tag = 5\n" +
  "    OnChange = Edit1Change\n" +
  "  end\n" +
  "  object ListBox1: TListBox\n" +
  "    Left = 100\n" +
  "    ItemIndex = 1\n" +
  "    Items.Strings = (\n" +
  "      'a'\n" +
  "      'b')\n" +
  "  end\n" +
  "  object MainMenu1: TMainMenu\n" +
  "    Left = 200\n" +
  "    object File1: TMenuItem\n" +
  "      Caption = '&File'\n" +
  "    end\n" +
  "  end\n" +
  "end\n";
var f = new VCLForm();
f.loadFromText(desc);
println(f.Name + " | " + f.Caption + " | " + f.ClientWidth + " x " + f.ClientHeight);
println(f.Edit1 + " " + f.Edit1.Text + " Tag " + f.Edit1.Tag);
println("ItemIndex " + f.ListBox1.ItemIndex + " of " + f.ListBox1.Items.count);
println("Menu is the loaded menu: " + (f.Menu === f.MainMenu1));
println("File1 is the menu's first item: " + (f.MainMenu1.items.items(0) === f.File1));
f.Edit1.onChange = function (sender) { println("onChange of " + sender.Name + ": " + sender.Text); };
f.Edit1.Text = "changed";
var text = f.saveToText();
// "\n" is a line end of CR LF; the listing shows plain line feeds.
println(text.split("\n").join(String.fromCharCode(10)));
var g = new VCLForm();
g.loadFromText(text);
println("load of the saved text saves the same: " + (g.saveToText() == text));
f.saveToFile("saved.frm");
var h = new VCLForm();
h.loadFromFile("saved.frm");
println("load of the saved file saves the same: " + (h.saveToText() == text));
println("ComponentCount " + h.ComponentCount);
// A text with an error changes nothing.
var bad = [
  "object F: TForm\n  Caption = 'changed'\n  object B: TFoo\n  end\nend",
  "object F: TForm\n  object B: TButton\n    Visible = Maybe\n  end\nend",
  "object F: TForm\n  object P: TPanel\n  end\n  object M: TMainMenu\n    object X: TButton\n    end\n  end\nend"];
var k = new VCLForm();
k.Caption = "before";
for (var i = 0; i < bad.length; i++) {
  try { k.loadFromText(bad[i]); } catch (e) { println("refused: " + e); }
  println("ComponentCount " + k.ComponentCount + ", Caption " + k.Caption);
}
//--- next run ---
var f = new VCLForm();
f.loadFromFile("missing.frm");
//--- next run ---
var f = new VCLForm();
f.loadFromText("object F: TForm\n  object B: TFoo\n  end\nend");
//--- next run ---
var f = new VCLForm();
f.loadFromText("object F: TForm\n  Bogus = 1\nend");
//--- next run ---
var f = new VCLForm();
f.loadFromText("object F: TForm\n  Visible = Maybe\nend");
//--- next run ---
var f = new VCLForm();
f.loadFromText("object F: TForm\n  object B1: TButton\n  end\nend");
f.loadFromText("object F: TForm\n  object B1: TButton\n  end\nend");
//--- next run ---
var f = new VCLForm();
f.loadFromText("object F: TForm\n  object B: TButton\n    Name = '1x'\n  end\nend");
//--- next run ---
var f = new VCLForm();
f.loadFromText("object F: TForm\n  Caption = 'a' +\n    3\nend");
