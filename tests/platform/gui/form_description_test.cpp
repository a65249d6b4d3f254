// Form descriptions with the GUI library's own classes: a legacy designer file read into a
// form, the text written from it (a golden file), save-load-save identity, and failed reads
// that leave the form as it was.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/classes/form_stream.h"
#include "platform/gui/gui_fixture.h"
#include "platform/gui/actions.h"
#include "platform/gui/list_controls.h"
#include "platform/gui/menus.h"
#include "platform/gui/status_bar.h"
#include "platform/gui/std_controls.h"
#include "platform/gui/stream_classes.h"
#include "platform/gui/tool_bars.h"
#include "support/legacy_form.h"

namespace kgui {
namespace {

class FormDescription : public GuiTest {
protected:
  void SetUp() override {
    GuiTest::SetUp();
    RegisterVCLStreamClasses();
  }
};

template <class T>
T* child(const TForm& form, const char* name) {
  return dynamic_cast<T*>(form.findComponent(name));
}

// Writes the form, reads that text into a new form and expects the same text from it.
void expectReadsBackAsWritten(const TForm& form) {
  const std::string saved = writeComponentText(form);
  TForm again(nullptr);
  ASSERT_EQ(readComponentText(again, saved), "") << saved;
  EXPECT_EQ(writeComponentText(again), saved);
}

// Names and classes of a tree, depth first.
std::string shape(const FormNode& node) {
  std::string out = node.name + ":" + node.class_name + "(";
  for (const FormNode& c : node.children) out += shape(c);
  return out + ")";
}

TEST_F(FormDescription, ALegacyFileLoadsWithItsValuesParentsAndReferences) {
  TForm form(nullptr);
  ASSERT_EQ(readComponentText(form, kestrin::testing::legacyFormText()), "");
  EXPECT_EQ(form.name(), "frmLegacy");
  EXPECT_EQ(form.caption(), "\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88");  // raw CP932 in a file that is not UTF-8
  EXPECT_EQ(form.width(), 408);
  auto* label = child<TLabel>(form, "Label1");
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->caption(), "Line one\r\nLine two");
  auto* memo = child<TMemo>(form, "Memo1");
  ASSERT_NE(memo, nullptr);
  EXPECT_EQ(memo->lines()->toVector(),
            (std::vector<std::string>{"first", "A long line that the designer split across two lines of the form file"}));
  auto* button = child<TButton>(form, "Button1");
  auto* panel = child<TPanel>(form, "Panel1");
  ASSERT_TRUE(button && panel);
  EXPECT_EQ(button->parent(), panel);
  EXPECT_EQ(button->tag(), 5);
  EXPECT_EQ(button->wrapperLink(), nullptr);
  EXPECT_FALSE(button->OnClick);  // handler names are read and ignored
  EXPECT_EQ(button->modalResult(), 1);
  auto* bar = child<TStatusBar>(form, "StatusBar1");
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(bar->panels()->count(), 2);
  EXPECT_EQ(bar->panels()->items(0)->text(), "Ready");
  EXPECT_EQ(bar->panels()->items(0)->width(), 100);
  auto* menu = child<TMainMenu>(form, "MainMenu1");
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(form.menu(), menu);  // named before the menu was read
  ASSERT_EQ(menu->items()->count(), 1);
  EXPECT_EQ(menu->items()->items(0)->name(), "File1");
  ASSERT_EQ(menu->items()->items(0)->count(), 1);
  EXPECT_EQ(menu->items()->items(0)->items(0)->caption(), "E&xit");
}

TEST_F(FormDescription, SaveLoadSaveIsByteIdenticalAndMatchesTheGoldenFile) {
  TForm first(nullptr);
  ASSERT_EQ(readComponentText(first, kestrin::testing::legacyFormText()), "");
  const std::string saved = writeComponentText(first);

  const std::string golden_path = std::string(KESTRIN_SOURCE_DIR) + "/tests/platform/gui/golden/legacy_form.txt";
  if (std::getenv("KESTRIN_UPDATE_GOLDEN")) std::ofstream(golden_path, std::ios::binary) << saved;
  std::ifstream in(golden_path, std::ios::binary);
  std::stringstream golden;
  golden << in.rdbuf();
  EXPECT_EQ(saved, golden.str()) << saved;

  TForm second(nullptr);
  ASSERT_EQ(readComponentText(second, saved), "");
  EXPECT_EQ(writeComponentText(second), saved);
  EXPECT_EQ(shape(componentTree(second)), shape(componentTree(first)));
}

// Tool buttons go into their bar and actions into their list, and are written back there.
// The designer's TabOrder orders the focus chain, whatever order the controls were read in;
// TabStop = False takes a control out of it, and both are written back.
TEST_F(FormDescription, TabOrderAndTabStopReadFromADescriptionAct) {
  const std::string text =
      "object F: TForm\r\n"
      "  object A: TEdit\r\n    TabOrder = 2\r\n  end\r\n"
      "  object B: TEdit\r\n    Top = 30\r\n    TabOrder = 0\r\n  end\r\n"
      "  object C: TEdit\r\n    Top = 60\r\n    TabOrder = 1\r\n  end\r\n"
      "  object D: TEdit\r\n    Top = 90\r\n    TabOrder = 3\r\n    TabStop = False\r\n  end\r\n"
      "end\r\n";
  TForm form(nullptr);
  ASSERT_EQ(readComponentText(form, text), "");
  QWidget* a = child<TEdit>(form, "A")->widget();
  QWidget* b = child<TEdit>(form, "B")->widget();
  QWidget* c = child<TEdit>(form, "C")->widget();
  EXPECT_EQ(b->nextInFocusChain(), c);
  EXPECT_EQ(c->nextInFocusChain(), a);
  EXPECT_FALSE(child<TEdit>(form, "D")->widget()->focusPolicy() & Qt::TabFocus);
  EXPECT_TRUE(a->focusPolicy() & Qt::TabFocus);
  const std::string saved = writeComponentText(form);
  EXPECT_NE(saved.find("    TabOrder = 3\r\n    TabStop = False\r\n"), std::string::npos) << saved;
  TForm plain(nullptr);
  auto* edit = new TEdit(&plain);
  edit->setName("E");
  edit->setParent(&plain);
  const std::string plain_text = writeComponentText(plain);
  EXPECT_NE(plain_text.find("object E: TEdit"), std::string::npos);
  EXPECT_EQ(plain_text.find("TabOrder"), std::string::npos) << "unset, it is not written";
}

TEST_F(FormDescription, ToolButtonsAndActionsSitInTheirBarAndList) {
  const std::string text =
      "object F: TForm\r\n"
      "  object Bar: TToolBar\r\n"
      "    object Tb1: TToolButton\r\n"
      "    end\r\n"
      "  end\r\n"
      "  object Alone: TAction\r\n"
      "  end\r\n"
      "  object List: TActionList\r\n"
      "    object Act: TAction\r\n"
      "      Caption = 'Go'\r\n"
      "    end\r\n"
      "  end\r\n"
      "end\r\n";
  TForm form(nullptr);
  ASSERT_EQ(readComponentText(form, text), "");
  auto* bar = child<TToolBar>(form, "Bar");
  auto* button = child<TToolButton>(form, "Tb1");
  auto* list = child<TActionList>(form, "List");
  auto* action = child<TAction>(form, "Act");
  ASSERT_TRUE(bar && button && list && action);
  EXPECT_EQ(button->parent(), bar);
  EXPECT_EQ(action->actionList(), list);
  EXPECT_EQ(list->actionCount(), 1);
  EXPECT_EQ(child<TAction>(form, "Alone")->actionList(), nullptr);
  const std::string saved = writeComponentText(form);
  TForm second(nullptr);
  ASSERT_EQ(readComponentText(second, saved), "") << saved;
  EXPECT_EQ(writeComponentText(second), saved);
  EXPECT_EQ(shape(componentTree(second)), shape(componentTree(form)));
  EXPECT_EQ(child<TAction>(second, "Act")->actionList(), child<TActionList>(second, "List"));

  // An action outside a list is refused and the read leaves nothing behind.
  TForm third(nullptr);
  EXPECT_EQ(readComponentText(third, "object F: TForm\r\n  object P: TPanel\r\n    object A: TAction\r\n"
                                     "    end\r\n  end\r\nend\r\n"),
            "Action A lies outside an action list");
  EXPECT_EQ(third.componentCount(), 0);
}

// Each text is refused whole: the form keeps its caption and gets no component.
TEST_F(FormDescription, AFailedLoadLeavesTheFormAsItWas) {
  struct Case {
    std::string inner;
    const char* message;
  };
  const Case cases[] = {
      {"  object B: TFoo\r\n  end\r\n", "Class TFoo not found"},
      {"  object B: TButton\r\n    Bogus = 1\r\n  end\r\n", "Property Bogus does not exist"},
      {"  object B: TButton\r\n    Visible = Maybe\r\n  end\r\n", "Invalid property value"},
      {"  object B: TButton\r\n  end\r\n  object b: TEdit\r\n  end\r\n", "A component named b already exists"},
      {"  object B: TButton\r\n    Name = '1x'\r\n  end\r\n", "'1x' is not a valid component name"},
      {"  object B: TButton\r\n    Caption = 'a' +\r\n      5\r\n  end\r\n", "String expected on line 5"},
      {"  Menu = NoMenu\r\n", "Invalid property value"},
      // Refused by the control itself, after the check: what the read made goes again.
      {"  object P: TPanel\r\n    object B: TButton\r\n    end\r\n  end\r\n"
       "  object M: TMainMenu\r\n    object X: TButton\r\n    end\r\n  end\r\n",
       "Control X has no parent window"},
  };
  for (const Case& c : cases) {
    TForm form(nullptr);
    form.setCaption("before");
    const std::string text = "object F: TForm\r\n  Color = clRed\r\n" + c.inner + "end\r\n";
    EXPECT_EQ(readComponentText(form, text), c.message) << c.inner;
    EXPECT_EQ(form.componentCount(), 0) << c.inner;
    EXPECT_EQ(form.controlCount(), 0) << c.inner;
    EXPECT_EQ(form.caption(), "before");
    EXPECT_EQ(form.menu(), nullptr);
  }
  // Loading twice into one form meets the first load's names.
  TForm form(nullptr);
  ASSERT_EQ(readComponentText(form, kestrin::testing::legacyFormText()), "");
  const int count = form.componentCount();
  EXPECT_EQ(readComponentText(form, kestrin::testing::legacyFormText()), "A component named Label1 already exists");
  EXPECT_EQ(form.componentCount(), count);
}

// Sizes that a form cannot take as they are: a client size below nothing or past the integer
// range, an outer size smaller than the frame (and the menu). Each form reads, and what is
// written of it reads back to the same text.
TEST_F(FormDescription, SizesOutsideTheFrameReadBackAsWritten) {
  const std::string menu = "  Menu = M\r\n  object M: TMainMenu\r\n    object I: TMenuItem\r\n"
                           "      Caption = 'File'\r\n    end\r\n  end\r\n";
  struct Case {
    std::string inner;
    int width, height;  // -1: not checked (depends on the menu bar's height)
  };
  const Case cases[] = {
      {"  ClientWidth = 2147483647\r\n  ClientHeight = 2147483647\r\n", 2147483647, 2147483647},
      {"  ClientWidth = -5\r\n  ClientHeight = -282\r\n", kFormFrameWidth, kFormFrameHeight},
      {"  Width = 3\r\n  Height = 10\r\n", 3, 10},
      {"  Height = 10\r\n" + menu, -1, 10},
      {"  ClientHeight = -282\r\n" + menu, -1, -1},
  };
  for (const Case& c : cases) {
    TForm first(nullptr);
    ASSERT_EQ(readComponentText(first, "object F: TForm\r\n" + c.inner + "end\r\n"), "") << c.inner;
    if (c.width >= 0) {
      EXPECT_EQ(first.width(), c.width) << c.inner;
    }
    if (c.height >= 0) {
      EXPECT_EQ(first.height(), c.height) << c.inner;
    }
    expectReadsBackAsWritten(first);
  }
}

// Two bars aligned to the bottom: the one written lower stays lower when the text is read
// again, whatever order they were made in and however the narrow form wraps its menu.
TEST_F(FormDescription, AlignedControlsTakeTheirOrderFromThePositionsRead) {
  const std::string text =
      "object F: TForm\r\n"
      "  Width = 48\r\n  Height = 327\r\n  ClientWidth = 40\r\n  ClientHeight = 282\r\n  Menu = M\r\n"
      "  object Upper: TStatusBar\r\n    Top = 174\r\n    Width = 40\r\n    Height = 89\r\n"
      "    Align = alBottom\r\n  end\r\n"
      "  object Lower: TStatusBar\r\n    Top = 263\r\n    Width = 40\r\n    Height = 19\r\n"
      "    Align = alBottom\r\n  end\r\n"
      "  object M: TMainMenu\r\n    object File1: TMenuItem\r\n      Caption = '&File'\r\n"
      "      object Exit1: TMenuItem\r\n        Caption = 'E&xit'\r\n      end\r\n    end\r\n  end\r\n"
      "end\r\n";
  TForm first(nullptr);
  ASSERT_EQ(readComponentText(first, text), "");
  auto* upper = child<TStatusBar>(first, "Upper");
  auto* lower = child<TStatusBar>(first, "Lower");
  ASSERT_TRUE(upper && lower);
  EXPECT_EQ(lower->top() + lower->height(), first.clientHeight());
  EXPECT_EQ(upper->top() + upper->height(), lower->top());
  expectReadsBackAsWritten(first);
}

}  // namespace
}  // namespace kgui
