// The check-list dialog under the offscreen platform: its layout, and the Qt UI services
// running it modally while a timer answers as the user would.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QListWidget>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "base/cp932.h"
#include "platform/gui/gui_fixture.h"
#include "platform/gui/list_controls.h"
#include "platform/gui/std_controls.h"
#include "script/gui/prompt_forms.h"
#include "script/gui/qt_script_ui.h"

namespace kestrin::script {
namespace {

using CheckListForm = kgui::GuiTest;

TEST_F(CheckListForm, LayoutAndAnchors) {
  TfrmCheckList form(nullptr);
  EXPECT_EQ(form.clientWidth(), 416);
  EXPECT_EQ(form.clientHeight(), 243);
  EXPECT_TRUE(form.btnOK->isDefault());
  EXPECT_TRUE(form.btnCancel->cancel());
  const int list_width = form.lbCheck->width(), list_height = form.lbCheck->height();
  const int ok_left = form.btnOK->left();
  // The list grows with the dialog both ways; the buttons stay at the top right.
  form.setClientWidth(516);
  form.setClientHeight(343);
  EXPECT_EQ(form.lbCheck->width(), list_width + 100);
  EXPECT_EQ(form.lbCheck->height(), list_height + 100);
  EXPECT_EQ(form.btnOK->left(), ok_left + 100);
  EXPECT_EQ(form.btnOK->top(), 28);
}

// What the timer saw of the open dialog.
struct Seen {
  std::string title, text;
  int width = 0, height = 0, current = -1;
  std::vector<bool> marks;
};

// Runs CheckList while a timer reads the dialog, toggles item `toggle` and presses `button`.
bool RunDialog(const CheckListRequest& request, std::vector<bool>& checked, int toggle, const char* button,
               Seen& seen) {
  QTimer::singleShot(0, [&] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (!w->isVisible() || w->objectName() != "frmCheckList") continue;
      auto* list = w->findChild<QListWidget*>("lbCheck");
      seen.title = w->windowTitle().toStdString();
      seen.width = w->width();
      seen.height = w->height();
      seen.current = list->currentRow();
      for (int i = 0; i < list->count(); ++i) seen.marks.push_back(list->item(i)->checkState() == Qt::Checked);
      if (toggle >= 0)
        list->item(toggle)->setCheckState(list->item(toggle)->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
      w->findChild<QAbstractButton*>(button)->click();
    }
  });
  // Whatever happens above, the dialog does not stay open.
  QTimer::singleShot(5000, [] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->isVisible() && w->objectName() == "frmCheckList") w->close();
  });
  return QtScriptUi().CheckList(request, checked);
}

TEST_F(CheckListForm, OkGivesTheMarksBackAndCancelKeepsThem) {
  CheckListRequest request;
  request.items = {"a", utf8_to_cp932("日本"), "c"};
  request.item_index = 1;
  request.width = 300;
  request.height = 250;
  std::vector<bool> checked = {false, true, false};
  Seen seen;
  ASSERT_TRUE(RunDialog(request, checked, 0, "btnOK", seen));
  EXPECT_EQ(seen.marks, (std::vector<bool>{false, true, false}));
  EXPECT_EQ(checked, (std::vector<bool>{true, true, false}));
  EXPECT_EQ(seen.current, 1);
  EXPECT_EQ(seen.width, 300);
  EXPECT_EQ(seen.height, 250);
  // An empty caption shows the application's title.
  EXPECT_EQ(seen.title, "Kestrin");

  request.caption = "Pick";
  Seen cancelled;
  EXPECT_FALSE(RunDialog(request, checked, 2, "btnCancel", cancelled));
  EXPECT_EQ(cancelled.title, "Pick");
  EXPECT_EQ(checked, (std::vector<bool>{true, true, false}));
}

}  // namespace
}  // namespace kestrin::script
