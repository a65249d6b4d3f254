// The streaming class registry as the GUI library fills it: every class made by name,
// of that class, owned by the given owner; registering again adds nothing.
#include <gtest/gtest.h>

#include <memory>

#include "platform/classes/class_registry.h"
#include "platform/gui/gui_fixture.h"
#include "platform/gui/stream_classes.h"

namespace kgui {
namespace {

using StreamClasses = GuiTest;

TEST_F(StreamClasses, EveryRegisteredClassIsMadeByNameWithItsOwner) {
  RegisterVCLStreamClasses();
  const size_t count = stream_classes().size();
  RegisterVCLStreamClasses();
  EXPECT_EQ(stream_classes().size(), count);
  for (const char* name : {"TForm", "TEdit", "TButton", "TMemo", "TLabel", "TTimer", "TMenuItem", "TMainMenu",
                           "TPopupMenu", "TCheckBox", "TRadioButton", "TListBox", "TComboBox", "TGroupBox",
                           "TRadioGroup", "TPanel", "TSplitter", "TCheckListBox", "TTabControl", "TTabSheet",
                           "TPageControl", "TProgressBar", "TStatusBar", "TAction", "TOpenDialog", "TSaveDialog",
                           "TFontDialog", "TFindDialog", "TReplaceDialog", "TSpinEdit", "TUpDown", "TImage",
                           "TToolButton", "TToolBar", "TCoolBar", "TActionList", "TTreeView", "TListView"})
    EXPECT_NE(stream_classes().find(name), nullptr) << name;

  TComponent owner(nullptr);
  for (const std::string& name : stream_classes().names()) {
    const StreamClass* c = stream_classes().find(name);
    ASSERT_NE(c, nullptr);
    TComponent* made = c->create(&owner);
    EXPECT_EQ(made->className(), name);
    EXPECT_EQ(made->owner(), &owner);
  }
  EXPECT_EQ(owner.componentCount(), static_cast<int>(stream_classes().size()));
}

TEST_F(StreamClasses, NamesAreFoundWithoutCaseAndUnknownOnesNamed) {
  RegisterVCLStreamClasses();
  ASSERT_NE(stream_classes().find("tbutton"), nullptr);
  EXPECT_EQ(stream_classes().find("tbutton")->info->name(), "TButton");
  EXPECT_EQ(stream_classes().find("TFoo"), nullptr);
  try {
    stream_classes().require("TFoo");
    FAIL() << "no error";
  } catch (const EClassNotFound& e) {
    EXPECT_STREQ(e.what(), "Class TFoo not found");
  }
}

}  // namespace
}  // namespace kgui
