// Event rules of the controls: keys in edits, radio and check boxes, combo boxes, scroll
// bars, lists, memos, grids, menus and timers.
#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>

#include "gui_fixture.h"
#include "platform/gui/grid.h"
#include "platform/gui/list_controls.h"
#include "platform/gui/menus.h"
#include "platform/gui/std_controls.h"
#include "platform/gui/timer.h"

namespace kgui {
namespace {

using ControlsTest = GuiTest;

TEST_F(ControlsTest, ReturnAndKeypadEnterReachOnKeyDownAsThirteen) {
  TForm* form = makeForm();
  auto* edit = place<TEdit>(form, 10, 10, 120, 21);
  std::vector<int> keys;
  edit->OnKeyDown = [&](TComponent* sender, int& key, TShiftState) {
    EXPECT_EQ(sender, edit);
    keys.push_back(key);
    if (key == 'X') key = 0;  // swallowed: never reaches the text
  };
  QTest::keyClick(edit->widget(), Qt::Key_Return);
  QTest::keyClick(edit->widget(), Qt::Key_Enter, Qt::KeypadModifier);
  QTest::keyClicks(edit->widget(), "aX");
  EXPECT_EQ(keys, (std::vector<int>{13, 13, 'A', 'X'}));
  EXPECT_EQ(edit->text(), "a");
}

TEST_F(ControlsTest, RadioCheckedInCodeRunsItsClickAndAGroupCanHaveNoneChecked) {
  TForm* form = makeForm();
  auto* a = place<TRadioButton>(form, 10, 10, 100, 17);
  auto* b = place<TRadioButton>(form, 10, 30, 100, 17);
  std::vector<std::string> clicks;
  a->OnClick = [&](TComponent*) { clicks.push_back("a"); };
  b->OnClick = [&](TComponent*) { clicks.push_back("b"); };
  a->setChecked(true);
  a->setChecked(true);  // no change, no click
  QTest::mouseClick(b->widget(), Qt::LeftButton, {}, QPoint(5, 8));
  EXPECT_FALSE(a->checked());
  b->setChecked(false);
  EXPECT_FALSE(a->checked());
  EXPECT_FALSE(b->checked());
  EXPECT_EQ(clicks, (std::vector<std::string>{"a", "b"}));
  a->setChecked(true);  // the group still works after the uncheck
  EXPECT_EQ(clicks.back(), "a");
}

TEST_F(ControlsTest, CheckBoxRunsOnClickOnEveryChange) {
  TForm* form = makeForm();
  auto* chk = place<TCheckBox>(form, 10, 10, 97, 17);
  int clicks = 0;
  chk->OnClick = [&](TComponent*) { ++clicks; };
  chk->setChecked(true);
  chk->setChecked(false);
  chk->setChecked(false);
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(std::get<int64_t>(getProperty(*chk, "State")), cbUnchecked);
}

TEST_F(ControlsTest, RadioGroupItemIndexMinusOneShowsNoneChecked) {
  TForm* form = makeForm();
  auto* group = place<TRadioGroup>(form, 10, 10, 150, 100);
  group->items()->setCommaText("Linear,Log");
  int clicks = 0;
  group->OnClick = [&](TComponent*) { ++clicks; };
  EXPECT_EQ(group->itemIndex(), -1);
  group->setItemIndex(1);
  EXPECT_EQ(clicks, 1);
  group->setItemIndex(-1);
  auto radios = group->widget()->findChildren<QRadioButton*>();
  ASSERT_EQ(radios.size(), 2);
  EXPECT_FALSE(radios[0]->isChecked() || radios[1]->isChecked());
  QTest::mouseClick(radios[0], Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(group->itemIndex(), 0);
  EXPECT_EQ(clicks, 2);
}

TEST_F(ControlsTest, ComboIndexInCodeIsSilentAndAUserChoiceRunsOnChange) {
  TForm* form = makeForm();
  auto* combo = place<TComboBox>(form, 10, 10, 100, 21);
  combo->setStyle(csDropDownList);
  for (const char* d : {"TOP", "BOTTOM", "VERTICAL", "LEFT", "RIGHT"}) combo->items()->add(d);
  std::vector<int> changes;
  combo->OnChange = [&](TComponent*) { changes.push_back(combo->itemIndex()); };
  combo->setItemIndex(4);
  EXPECT_EQ(combo->text(), "RIGHT");
  combo->setItemIndex(-1);
  EXPECT_EQ(combo->itemIndex(), -1);
  EXPECT_EQ(combo->text(), "");
  setProperty(*combo, "itemindex", int64_t{2});
  EXPECT_TRUE(changes.empty());
  QTest::keyClick(combo->widget(), Qt::Key_Down);  // the user picks the next item
  EXPECT_EQ(changes, (std::vector<int>{3}));
}

TEST_F(ControlsTest, ScrollBarRunsOnChangeOnAnyChange) {
  TForm* form = makeForm();
  auto* bar = place<TScrollBar>(form, 10, 10, 200, 17);
  bar->setParams(0, 0, 1000);
  bar->setLargeChange(600);
  std::vector<int> positions;
  bar->OnChange = [&](TComponent*) { positions.push_back(bar->position()); };
  bar->setPosition(100);
  bar->setPosition(100);
  auto* qbar = static_cast<QScrollBar*>(bar->widget());
  qbar->triggerAction(QAbstractSlider::SliderPageStepAdd);  // a click in the trough
  qbar->triggerAction(QAbstractSlider::SliderSingleStepAdd);  // a click on the arrow
  EXPECT_EQ(positions, (std::vector<int>{100, 700, 701}));
}

TEST_F(ControlsTest, MemoLinesFollowTheText) {
  TForm* form = makeForm();
  auto* memo = place<TMemo>(form, 0, 0, 200, 100);
  TStrings& lines = *memo->lines();
  EXPECT_EQ(lines.count(), 0);
  lines.add(" load_img_proc() : No file selected. ");
  lines.add("second");
  lines.insert(1, "middle");
  EXPECT_EQ(lines.toVector(), (std::vector<std::string>{" load_img_proc() : No file selected. ",
                                                        "middle", "second"}));
  lines.put(2, "last");
  lines.remove(0);
  EXPECT_EQ(memo->text(), "middle\r\nlast\r\n");
  lines.remove(1);
  EXPECT_EQ(lines.toVector(), std::vector<std::string>{"middle"});
  memo->clear();
  EXPECT_EQ(lines.count(), 0);
  lines.add("again first");
  EXPECT_EQ(lines.get(0), "again first");

  // Empty lines count like any other, also as the first line.
  memo->clear();
  lines.add("");
  EXPECT_EQ(lines.count(), 1);
  lines.add("");
  lines.add("x");
  EXPECT_EQ(lines.toVector(), (std::vector<std::string>{"", "", "x"}));
  lines.remove(2);
  lines.remove(1);
  lines.remove(0);
  EXPECT_EQ(lines.count(), 0);
}

TEST_F(ControlsTest, ListBoxItemsAndSelection) {
  TForm* form = makeForm();
  auto* list = place<TListBox>(form, 0, 0, 120, 97);
  list->items()->setCommaText("a,b,c");
  list->setMultiSelect(true);
  list->setSelected(0, true);
  list->setSelected(2, true);
  EXPECT_EQ(list->selCount(), 2);
  EXPECT_TRUE(list->selected(2));
  EXPECT_THROW(list->selected(3), EPropertyError);
  list->setItemIndex(1);
  EXPECT_EQ(list->itemIndex(), 1);
}

TEST_F(ControlsTest, GridRowZeroIsTheHeadingAndOnlyUserMovesRunOnSelectCell) {
  TForm* form = makeForm();
  auto* grid = place<TStringGrid>(form, 0, 0, 280, 150);
  grid->setColCount(3);
  grid->setRowCount(4);
  grid->setCell(1, 0, "2theta");
  grid->setCell(0, 1, "1");
  grid->setCell(1, 1, "10.5");
  auto* t = static_cast<QTableWidget*>(grid->widget());
  EXPECT_EQ(t->rowCount(), 3);
  EXPECT_EQ(t->horizontalHeaderItem(0)->text(), "2theta");
  EXPECT_EQ(t->verticalHeaderItem(0)->text(), "1");
  EXPECT_EQ(t->item(0, 0)->text(), "10.5");
  EXPECT_EQ(grid->cell(1, 1), "10.5");
  EXPECT_THROW(grid->cell(3, 0), EPropertyError);
  // The fixed corner cell shows its text too, and long texts are clipped, not elided.
  grid->setCell(0, 0, "No.");
  EXPECT_EQ(grid->cell(0, 0), "No.");
  auto* corner = t->findChild<QAbstractButton*>(QString(), Qt::FindDirectChildrenOnly);
  ASSERT_NE(corner, nullptr);
  ASSERT_NE(corner->findChild<QLabel*>(), nullptr);
  EXPECT_EQ(corner->findChild<QLabel*>()->text(), "No.");
  EXPECT_EQ(t->textElideMode(), Qt::ElideNone);
  std::vector<int> selected;
  grid->OnSelectCell = [&](TComponent*, int col, int row, bool& can) {
    selected.push_back(col * 10 + row);
    can = row != 3;
  };
  grid->setRow(1);
  grid->setCol(1);
  EXPECT_TRUE(selected.empty());
  t->setFocus();
  QTest::keyClick(t, Qt::Key_Down);
  QTest::keyClick(t, Qt::Key_Down);  // refused: the row stays
  EXPECT_EQ(selected, (std::vector<int>{12, 13}));
  EXPECT_EQ(grid->row(), 2);
  grid->setSelection({1, 1, 2, 3});
  EXPECT_EQ(grid->selection(), (TGridRect{1, 1, 2, 3}));
}

TEST_F(ControlsTest, GridEditsByTheUserRunOnSetEditText) {
  TForm* form = makeForm();
  auto* grid = place<TStringGrid>(form, 0, 0, 280, 150);
  grid->setColCount(3);
  grid->setRowCount(3);
  grid->setOptions(grid->options() | (1u << goEditing));
  std::vector<std::string> edits;
  grid->OnSetEditText = [&](TComponent*, int col, int row, const std::string& v) {
    edits.push_back(std::to_string(col) + "," + std::to_string(row) + "=" + v);
  };
  grid->setCell(1, 1, "code");  // set in code: no event
  EXPECT_TRUE(edits.empty());
  auto* t = static_cast<QTableWidget*>(grid->widget());
  t->item(0, 0)->setText("typed");  // what an editor commits
  EXPECT_EQ(edits, std::vector<std::string>{"1,1=typed"});
  EXPECT_EQ(grid->cell(1, 1), "typed");
}

// Destroying a form whose focused grid hands the focus on moves the table's current cell;
// the grid being destroyed must not hear of it.
TEST_F(ControlsTest, AFocusedGridGoesAwayQuietly) {
  auto form = std::make_unique<TForm>(nullptr);
  form->setClientWidth(300);
  form->setClientHeight(200);
  auto* grid = new TStringGrid(form.get());
  grid->setParent(form.get());
  grid->setBounds(0, 0, 280, 150);
  auto* edit = new TEdit(form.get());
  edit->setParent(form.get());
  edit->setBounds(0, 160, 100, 21);
  int moves = 0;
  grid->OnSelectCell = [&](TComponent*, int, int, bool&) { ++moves; };
  form->showForm();
  QApplication::setActiveWindow(form->widget());
  grid->widget()->setFocus();
  QCoreApplication::processEvents();
  const int before = moves;
  form.reset();
  EXPECT_EQ(moves, before);
}

TEST_F(ControlsTest, MenuCaptionsKeepAmpersandsAndItemsClick) {
  TForm* form = makeForm(200, 150);
  auto* menu = new TMainMenu(form);
  auto* file = new TMenuItem(form);
  file->setCaption("&File");
  auto* exit_item = new TMenuItem(form);
  exit_item->setCaption("Exit(&X)");
  menu->items()->add(file);
  file->add(exit_item);
  int clicked = 0;
  exit_item->OnClick = [&](TComponent*) { ++clicked; };
  int outer_h = form->height();
  form->setMenu(menu);
  EXPECT_EQ(form->height(), outer_h);
  EXPECT_LT(form->clientHeight(), 150);  // the bar takes its room from the client area
  EXPECT_EQ(exit_item->action()->text(), "Exit(&X)");
  exit_item->action()->trigger();
  EXPECT_EQ(clicked, 1);
  delete exit_item;
  EXPECT_EQ(file->count(), 0);
}

// The bar's entries as captions, in order.
static std::string barCaptions(TForm* form) {
  std::string out;
  for (QAction* a : form->widget()->findChild<QMenuBar*>()->actions()) out += (out.empty() ? "" : " ") + a->text().toStdString();
  return out;
}

// Merging goes by GroupIndex: the merged menu's groups replace ours of the same index and
// the others go in group order; unmerging shows ours again, and neither menu's items move.
TEST_F(ControlsTest, MergedMenusShareTheBarByGroupAndUnmergeRestoresIt) {
  TForm* form = makeForm(300, 150);
  auto add = [&](TMainMenu* menu, const char* caption, int group) {
    auto* item = new TMenuItem(form);
    item->setCaption(caption);
    item->setGroupIndex(group);
    menu->items()->add(item);
    return item;
  };
  auto* mine = new TMainMenu(form);
  add(mine, "File", 0);
  add(mine, "Edit", 1);
  add(mine, "Help", 9);
  auto* theirs = new TMainMenu(form);
  add(theirs, "Image", 1);
  add(theirs, "Tools", 5);
  add(theirs, "Draw", 1);
  TMenuItem* window = add(theirs, "Window", 7);
  form->setMenu(mine);
  EXPECT_EQ(barCaptions(form), "File Edit Help");
  mine->merge(theirs);
  EXPECT_EQ(barCaptions(form), "File Image Draw Tools Window Help");
  EXPECT_EQ(mine->items()->count(), 3);
  EXPECT_EQ(theirs->items()->count(), 4);
  EXPECT_EQ(mine->findItem(window->command(), fkCommand), window);
  window->setGroupIndex(0);
  EXPECT_EQ(barCaptions(form), "Window Image Draw Tools Help") << "a changed group moves the merged item";
  mine->unmerge(mine);  // not the merged menu: nothing changes
  EXPECT_EQ(barCaptions(form), "Window Image Draw Tools Help");
  mine->unmerge(theirs);
  EXPECT_EQ(barCaptions(form), "File Edit Help");
  EXPECT_EQ(mine->findItem(window->command(), fkCommand), nullptr);
  mine->merge(theirs);
  delete theirs;  // a merged menu that goes leaves ours alone
  EXPECT_EQ(barCaptions(form), "File Edit Help");
  EXPECT_EQ(mine->merged(), nullptr);
}

TEST_F(ControlsTest, TimerFiresWhileEnabled) {
  TForm* form = makeForm();
  auto* timer = new TTimer(form);
  timer->setInterval(10);
  int ticks = 0;
  timer->setOnTimer([&](TComponent*) {
    if (++ticks == 2) timer->setEnabled(false);
  });
  EXPECT_TRUE(testApp().waitUntil([&] { return ticks >= 2; }, 5000));
}

TEST_F(ControlsTest, PublishedPropertiesReachTheWidgets) {
  TForm* form = makeForm();
  auto* edit = place<TEdit>(form, 0, 0, 121, 21);
  setProperty(*edit, "name", std::string("Edit1"));
  EXPECT_EQ(form->widget()->findChild<QWidget*>("Edit1"), edit->widget());
  setProperty(*edit, "TEXT", std::string("500"));
  setProperty(*edit, "color", int64_t{0xECFFFE});
  EXPECT_EQ(edit->text(), "500");
  EXPECT_EQ(edit->widget()->palette().color(QPalette::Base), QColor(0xFE, 0xFF, 0xEC));
  EXPECT_EQ(std::get<int64_t>(getProperty(*form, "Color")), -2147483633);
  EXPECT_EQ(propertyText(*form, *form->classInfo().findProperty("color")), "clBtnFace");
  EXPECT_EQ(edit->className(), "TEdit");
  EXPECT_TRUE(edit->inheritsFrom("TWinControl"));
}

// A panel that acts on its mouse methods and then calls the inherited ones, as the
// program's flat push button does.
class PressPanel : public TPanel {
public:
  using TPanel::TPanel;
  std::vector<std::string> log;

protected:
  void mouseDown(TMouseButton b, TShiftState s, int x, int y) override {
    setBevelOuter(bvLowered);
    log.push_back("down " + std::to_string(x) + "," + std::to_string(y));
    TPanel::mouseDown(b, s, x, y);
  }
  void mouseUp(TMouseButton b, TShiftState s, int x, int y) override {
    setBevelOuter(bvRaised);
    log.push_back("up " + std::to_string(x) + "," + std::to_string(y));
    TPanel::mouseUp(b, s, x, y);
  }
};

TEST_F(ControlsTest, PanelClicksOnlyWhenReleasedInsideAndSubclassesSeeTheMouseFirst) {
  TForm* form = makeForm();
  auto* panel = place<PressPanel>(form, 10, 10, 80, 25);
  std::vector<std::string> events;
  panel->OnMouseDown = [&](TComponent*, TMouseButton b, TShiftState s, int x, int y) {
    events.push_back(enumToText(mouseButtonType(), b) + " " + setToNames(shiftStateType(), s) +
                     " " + std::to_string(x) + "," + std::to_string(y));
  };
  panel->OnClick = [&](TComponent*) { events.push_back("click"); };
  QTest::mouseClick(panel->widget(), Qt::LeftButton, Qt::ShiftModifier, QPoint(5, 6));
  QTest::mousePress(panel->widget(), Qt::LeftButton, {}, QPoint(5, 6));
  QTest::mouseRelease(panel->widget(), Qt::LeftButton, {}, QPoint(120, 6));  // outside
  QTest::mouseClick(panel->widget(), Qt::RightButton, {}, QPoint(1, 1));
  EXPECT_EQ(events, (std::vector<std::string>{"mbLeft ssShift,ssLeft 5,6", "click",
                                              "mbLeft ssLeft 5,6", "mbRight ssRight 1,1"}));
  EXPECT_EQ(panel->log.front(), "down 5,6");
  EXPECT_EQ(panel->bevelOuter(), bvRaised);
}

TEST_F(ControlsTest, KeyPressGetsThePlatformCharacters) {
  TForm* form = makeForm();
  auto* edit = place<TEdit>(form, 0, 0, 121, 21);
  std::vector<int> chars;
  edit->OnKeyPress = [&](TComponent*, char& c) {
    chars.push_back(c);
    if (c == 'q') c = 0;  // swallowed
  };
  QTest::keyClick(edit->widget(), Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(edit->widget(), Qt::Key_Return);
  QTest::keyClicks(edit->widget(), "Bq");
  EXPECT_EQ(chars, (std::vector<int>{1, 13, 'B', 'q'}));
  EXPECT_EQ(edit->text(), "B");
}

TEST_F(ControlsTest, AHandlerMayFreeItsOwnControl) {
  TForm* form = makeForm();
  auto* button = place<TButton>(form, 0, 0, 75, 25);
  button->OnClick = [&](TComponent*) { delete button; };
  QTest::mouseClick(button->widget(), Qt::LeftButton);
  testApp().processMessages();
  EXPECT_EQ(form->controlCount(), 0);
  auto* panel = place<TPanel>(form, 0, 0, 75, 25);
  panel->OnMouseUp = [&](TComponent*, TMouseButton, TShiftState, int, int) { delete panel; };
  QTest::mouseClick(panel->widget(), Qt::LeftButton);
  testApp().processMessages();
  EXPECT_EQ(form->componentCount(), 0);
}

}  // namespace
}  // namespace kgui
