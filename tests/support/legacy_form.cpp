// The legacy form description, built line by line with CR LF ends.
#include "support/legacy_form.h"

#include <initializer_list>

namespace kestrin::testing {

std::string legacyFormText() {
  // "テスト" in CP932: raw bytes inside quotes, as the designer left them.
  const std::string test_cp932 = "\x83\x65\x83\x58\x83\x67";
  const std::initializer_list<std::string> lines = {
      "object frmLegacy: TfrmLegacy",
      "  Left = 192",
      "  Top = 107",
      "  Width = 408",
      "  Height = 327",
      "  Caption = '" + test_cp932 + "'",
      "  Color = clBtnFace",
      "  Menu = MainMenu1",
      "  OldCreateOrder = False",
      "  PixelsPerInch = 96",
      "  TextHeight = 12",
      "  object Label1: TLabel",
      "    Left = 8",
      "    Top = 8",
      "    Width = 120",
      "    Height = 24",
      "    Caption = 'Line one'#13#10'Line two'",
      "  end",
      "  object Memo1: TMemo",
      "    Left = 8",
      "    Top = 40",
      "    Width = 185",
      "    Height = 89",
      "    Lines.Strings = (",
      "      'first'",
      "      'A long line that the designer split across two lines of the f' +",
      "      'orm file')",
      "  end",
      "  object Panel1: TPanel",
      "    Left = 200",
      "    Top = 40",
      "    Width = 185",
      "    Height = 89",
      "    Anchors = [akLeft, akTop, akRight]",
      "    DesignSize = (",
      "      185",
      "      89)",
      "    object Button1: TButton",
      "      Tag = 5",
      "      Left = 8",
      "      Top = 8",
      "      Width = 75",
      "      Height = 25",
      "      Caption = 'OK'",
      "      Default = True",
      "      ModalResult = 1",
      "      OnClick = Button1Click",
      "    end",
      "  end",
      "  object StatusBar1: TStatusBar",
      "    Left = 0",
      "    Top = 281",
      "    Width = 400",
      "    Height = 19",
      "    Panels = <",
      "      item",
      "        Text = 'Ready'",
      "        Width = 100",
      "      end",
      "      item",
      "        Width = 50",
      "      end>",
      "    SimplePanel = False",
      "  end",
      "  object MainMenu1: TMainMenu",
      "    Left = 352",
      "    Top = 8",
      "    object File1: TMenuItem",
      "      Caption = '&File'",
      "      object Exit1: TMenuItem",
      "        Caption = 'E&xit'",
      "      end",
      "    end",
      "  end",
      "end",
  };
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

}  // namespace kestrin::testing
