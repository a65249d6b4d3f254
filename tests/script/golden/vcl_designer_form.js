// A form description as the platform's designer writes it (a menu, an edit, a memo, two
// buttons, a list and a status bar, with the designer's TabOrder, Font, ParentFont,
// Position, PixelsPerInch and the like): it loads, the properties with an effect act, and
// the saved text holds every line of it and reads back to the same text. (Kestrin writes a
// form's Font before its Caption, and a status bar's Align.)
var desc = [
  "object Form1: TForm",
  "  Left = 192",
  "  Top = 114",
  "  Width = 420",
  "  Height = 300",
  "  Caption = 'Designer form'",
  "  Color = clBtnFace",
  "  Font.Charset = SHIFTJIS_CHARSET",
  "  Font.Color = clWindowText",
  "  Font.Height = -12",
  "  Font.Name = 'MS UI Gothic'",
  "  Font.Style = []",
  "  Menu = MainMenu1",
  "  OldCreateOrder = False",
  "  Position = poScreenCenter",
  "  PixelsPerInch = 96",
  "  TextHeight = 12",
  "  object Edit1: TEdit",
  "    Left = 8",
  "    Top = 8",
  "    Width = 121",
  "    Height = 20",
  "    TabOrder = 2",
  "    Text = 'Edit1'",
  "  end",
  "  object Memo1: TMemo",
  "    Left = 8",
  "    Top = 36",
  "    Width = 185",
  "    Height = 89",
  "    Font.Charset = DEFAULT_CHARSET",
  "    Font.Color = clRed",
  "    Font.Height = -13",
  "    Font.Name = 'Courier New'",
  "    Font.Style = [fsBold]",
  "    ParentFont = False",
  "    TabOrder = 0",
  "    Lines.Strings = (",
  "      'Memo1')",
  "  end",
  "  object Button1: TButton",
  "    Left = 200",
  "    Top = 8",
  "    Width = 75",
  "    Height = 25",
  "    TabOrder = 1",
  "    Caption = 'OK'",
  "    Default = True",
  "    ModalResult = 1",
  "  end",
  "  object Button2: TButton",
  "    Left = 200",
  "    Top = 40",
  "    Width = 75",
  "    Height = 25",
  "    TabOrder = 3",
  "    TabStop = False",
  "    Cancel = True",
  "    Caption = 'Cancel'",
  "    ModalResult = 2",
  "  end",
  "  object ListBox1: TListBox",
  "    Left = 8",
  "    Top = 132",
  "    Width = 121",
  "    Height = 97",
  "    TabOrder = 4",
  "    ItemHeight = 12",
  "    Items.Strings = (",
  "      'one'",
  "      'two')",
  "  end",
  "  object StatusBar1: TStatusBar",
  "    Left = 0",
  "    Top = 236",
  "    Width = 412",
  "    Height = 19",
  "    Panels = <",
  "      item",
  "        Width = 50",
  "      end>",
  "  end",
  "  object MainMenu1: TMainMenu",
  "    Left = 304",
  "    Top = 8",
  "    object File1: TMenuItem",
  "      Caption = '&File'",
  "      object Open1: TMenuItem",
  "        Caption = '&Open...'",
  "        ShortCut = 16463",
  "      end",
  "      object N1: TMenuItem",
  "        Caption = '-'",
  "      end",
  "      object Exit1: TMenuItem",
  "        Caption = 'E&xit'",
  "      end",
  "    end",
  "  end",
  "end"];
var f = new VCLForm();
f.loadFromText(desc.join("\r\n") + "\r\n");
println("TabOrder " + f.Edit1.TabOrder + " " + f.Memo1.TabOrder + " " + f.Button1.TabOrder + " " + f.Button2.TabOrder);
println("TabStop " + f.Edit1.TabStop + " " + f.Button2.TabStop);
println("Font " + f.Font.Name + " " + f.Font.Charset + " " + f.Memo1.Font.Name + " " + f.Memo1.Font.Style + " ParentFont " + f.Memo1.ParentFont + " " + f.Edit1.ParentFont);
println("Position " + f.Position + " PixelsPerInch " + f.PixelsPerInch + " TextHeight " + f.TextHeight + " ItemHeight " + f.ListBox1.ItemHeight);
println("ShortCut " + f.Open1.ShortCut + ", found by it: " + (f.MainMenu1.findItem(16463, "fkShortCut") === f.Open1));
var saved = f.saveToText();
f.show();
doEvents();
function screen_middle() { var g = new VCLForm(); g.Position = "poScreenCenter"; g.show(); var m = g.Left + g.Width / 2; g.close(); return m; }
var middle = screen_middle();
var centred = Math.abs(f.Left + f.Width / 2 - middle) <= 1 && f.Left > 0;
println("shown in the middle: " + centred);
var lines = saved.split(String.fromCharCode(10));
for (var k = 0; k < lines.length; k++)
  if (lines[k].charCodeAt(lines[k].length - 1) == 13) lines[k] = lines[k].substring(0, lines[k].length - 1);
var missing = [];
for (var i = 0; i < desc.length; i++) {
  var found = false;
  for (var j = 0; j < lines.length; j++) if (lines[j] == desc[i]) found = true;
  if (!found) missing.push(desc[i]);
}
println("designer lines missing from the saved text: " + missing.length + " " + missing.join(" | "));
var g = new VCLForm();
g.loadFromText(saved);
println("read back, saved the same: " + (g.saveToText() == saved));
println(lines.join(String.fromCharCode(10)));
