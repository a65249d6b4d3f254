// Tool bars flow their buttons in rows, grouped check buttons are exclusive, cool bars give
// each child a band, images draw their bitmap where Stretch, Center and Proportional say,
// and actions: the list's handlers first, updates while idle, and OnHint before a hint.
#include <QApplication>
#include <QEventLoop>
#include <QHelpEvent>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>

#include "gui_fixture.h"
#include "platform/gui/actions.h"
#include "platform/gui/image.h"
#include "platform/gui/std_controls.h"
#include "platform/gui/tool_bars.h"
#include "support/bmp_stream.h"

namespace kgui {
namespace {

using ToolBarsTest = GuiTest;

QToolButton* toolButtonWidget(const TToolButton* b) { return static_cast<QToolButton*>(b->widget()); }

struct FlowCase {
  const char* what;
  int bar_width;
  bool wrapable;
  int indent;
  // Each button: its style, and for separators their width; '|' wraps after the button.
  std::string buttons;
  std::vector<std::pair<int, int>> places;  // left, top of each button
  int rows;
};

// Buttons as a string: 'b' a button, 's' a separator (8 wide), 'h' a hidden button,
// '|' Wrap on the button before.
std::vector<TToolButton*> makeButtons(TToolBar* bar, const std::string& spec) {
  std::vector<TToolButton*> out;
  for (char c : spec) {
    if (c == '|') {
      out.back()->setWrap(true);
      continue;
    }
    auto* b = new TToolButton(bar);
    b->setParent(bar);
    if (c == 's') b->setStyle(tbsSeparator);
    if (c == 'h') b->setVisible(false);
    out.push_back(b);
  }
  return out;
}

TEST_F(ToolBarsTest, ButtonsFlowInRowsOfButtonCells) {
  // The bar's edge is on top only (2 pixels); cells are 23 x 22.
  const FlowCase cases[] = {
      {"one row", 200, true, 0, "bbb", {{0, 2}, {23, 2}, {46, 2}}, 1},
      {"a separator keeps its width", 200, true, 0, "bsb", {{0, 2}, {23, 2}, {31, 2}}, 1},
      {"past the right edge a new row", 50, true, 0, "bbb", {{0, 2}, {23, 2}, {0, 24}}, 2},
      {"not wrapable: one row", 50, false, 0, "bbb", {{0, 2}, {23, 2}, {46, 2}}, 1},
      {"Wrap breaks the row", 200, false, 0, "b|bb", {{0, 2}, {0, 24}, {23, 24}}, 2},
      {"Wrap on the last button adds no row", 200, true, 0, "bb|", {{0, 2}, {23, 2}}, 1},
      {"Indent starts every row", 60, true, 10, "bbb", {{10, 2}, {33, 2}, {10, 24}}, 2},
      {"a hidden button takes no cell", 200, true, 0, "bhb", {{0, 2}, {0, 0}, {23, 2}}, 1},
      {"a cell wider than the bar still goes in", 10, true, 0, "bb", {{0, 2}, {0, 24}}, 2},
  };
  for (const FlowCase& c : cases) {
    TForm* form = makeForm(300, 200);
    auto* bar = new TToolBar(form);
    bar->setParent(form);
    bar->setAlign(alNone);
    bar->setBounds(0, 0, c.bar_width, 60);
    bar->setWrapable(c.wrapable);
    bar->setIndent(c.indent);
    const auto buttons = makeButtons(bar, c.buttons);
    ASSERT_EQ(buttons.size(), c.places.size()) << c.what;
    for (size_t i = 0; i < buttons.size(); ++i) {
      if (!buttons[i]->visible()) continue;
      EXPECT_EQ(std::make_pair(buttons[i]->left(), buttons[i]->top()), c.places[i]) << c.what << " button " << i;
      EXPECT_EQ(buttons[i]->height(), 22) << c.what;
    }
    EXPECT_EQ(bar->rowCount(), c.rows) << c.what;
    EXPECT_EQ(bar->buttonCount(), static_cast<int>(buttons.size())) << c.what;
  }
}

TEST_F(ToolBarsTest, TheBarsSettingsMoveItsButtons) {
  TForm* form = makeForm(300, 200);
  auto* bar = new TToolBar(form);
  bar->setParent(form);
  EXPECT_EQ(bar->align(), alTop);
  EXPECT_EQ(bar->width(), form->clientWidth());
  const auto buttons = makeButtons(bar, "bbb");
  bar->setButtonWidth(40);
  bar->setButtonHeight(30);
  EXPECT_EQ(buttons[2]->boundsRect(), (TRect{80, 2, 120, 32}));
  buttons[1]->setWidth(5);  // a button takes the bar's cell whatever it is given
  EXPECT_EQ(buttons[1]->width(), 40);
  EXPECT_EQ(buttons[2]->index(), 2);
  EXPECT_EQ(bar->buttons(3), nullptr);
  delete buttons[0];
  EXPECT_EQ(buttons[2]->index(), 1);
  EXPECT_EQ(buttons[2]->left(), 40);
  bar->setEdgeBorders(0);
  EXPECT_EQ(buttons[2]->top(), 0);
  EXPECT_EQ(hasProperty(*bar, "EdgeBorders"), true);
  EXPECT_FALSE(isStoredProperty(*bar, *bar->classInfo().findProperty("Align")));
}

TEST_F(ToolBarsTest, GroupedCheckButtonsAreExclusive) {
  TForm* form = makeForm(300, 200);
  auto* bar = new TToolBar(form);
  bar->setParent(form);
  const auto b = makeButtons(bar, "bbbb");
  for (int i : {0, 1, 2}) {
    b[i]->setStyle(tbsCheck);
    b[i]->setGrouped(true);
  }
  b[3]->setStyle(tbsCheck);  // not grouped: its own
  int clicks = 0;
  for (auto* button : b) button->OnClick = [&](TComponent*) { ++clicks; };
  auto click = [](TToolButton* button) { QTest::mouseClick(button->widget(), Qt::LeftButton, {}, QPoint(3, 3)); };
  click(b[3]);
  click(b[0]);
  click(b[1]);
  EXPECT_EQ(std::vector<bool>({b[0]->down(), b[1]->down(), b[2]->down(), b[3]->down()}),
            std::vector<bool>({false, true, false, true}));
  click(b[1]);  // the down one of a group that may not be all up stays down
  EXPECT_TRUE(b[1]->down());
  b[1]->setAllowAllUp(true);
  click(b[1]);
  EXPECT_FALSE(b[1]->down());
  b[2]->setDown(true);  // from code, as from the user
  b[0]->setDown(true);
  EXPECT_FALSE(b[2]->down());
  EXPECT_EQ(clicks, 5);
}

TEST_F(ToolBarsTest, ALinkedActionsCheckedShowsAsDown) {
  TForm* form = makeForm(300, 200);
  auto* bar = new TToolBar(form);
  bar->setParent(form);
  const auto b = makeButtons(bar, "bb");
  b[0]->setStyle(tbsCheck);
  auto* action = new TAction(form);
  action->setChecked(true);
  action->setCaption("Bold");
  b[0]->setAction(action);
  EXPECT_TRUE(b[0]->down());
  EXPECT_EQ(b[0]->caption(), "Bold");
  action->setChecked(false);
  EXPECT_FALSE(b[0]->down());
  EXPECT_FALSE(toolButtonWidget(b[0])->isChecked());
  b[0]->setAction(nullptr);
}

TEST_F(ToolBarsTest, EveryChildOfACoolBarHasABand) {
  TForm* form = makeForm(300, 200);
  auto* cool = new TCoolBar(form);
  cool->setParent(form);
  auto* tools = new TToolBar(form);
  tools->setParent(cool);
  EXPECT_EQ(tools->align(), alNone) << "the band places its control";
  auto* edit = new TEdit(form);
  edit->setParent(cool);
  TCoolBands& bands = *cool->bands();
  ASSERT_EQ(bands.count(), 2);
  EXPECT_EQ(bands.items(0)->control(), tools);
  EXPECT_EQ(bands.items(1)->control(), edit);
  EXPECT_EQ(cool->rowCount(), 2);
  bands.items(1)->setBreakRow(false);
  EXPECT_EQ(cool->rowCount(), 1);
  EXPECT_EQ(edit->left() + edit->width() + 2, cool->width() - 2) << "the last band reaches to the edge";
  EXPECT_LT(tools->left() + tools->width(), edit->left()) << "the first band gives way to the second";
  bands.items(0)->setWidth(100);
  EXPECT_EQ(tools->boundsRect().left, 4);
  EXPECT_EQ(edit->left(), 2 + 100 + 2);
  EXPECT_EQ(edit->left() + edit->width() + 2, cool->width() - 2);
  bands.items(0)->setText("Tools");
  EXPECT_GT(tools->left(), 4) << "the caption comes before the control";
  EXPECT_EQ(edit->left(), 2 + 100 + 2);

  for (TPersistent* bad : std::initializer_list<TPersistent*>{cool, form, bands.items(1)})
    EXPECT_THROW(setProperty(*bands.items(0), "Control", PropValue(bad)), EPropertyError);
  EXPECT_EQ(bands.items(0)->control(), tools);
  TCoolBand* kept = bands.items(1);
  delete edit;
  EXPECT_EQ(bands.count(), 1);
  EXPECT_EQ(kept->control(), nullptr) << "a band taken out stays readable";
  auto* panel = new TPanel(form);
  bands.add()->setControl(panel);
  EXPECT_EQ(panel->parent(), cool);
  EXPECT_EQ(bands.count(), 2);
}

TEST_F(ToolBarsTest, AnImageDrawsItsBitmapWhereItsSettingsSay) {
  TForm* form = makeForm(300, 200);
  auto* image = new TImage(form);
  image->setParent(form);
  image->setBounds(0, 0, 100, 50);
  std::vector<std::string> progress;
  image->OnProgress = [&](TComponent*, int stage, int percent, bool, const TRect& r, const std::string&) {
    progress.push_back(enumToText(progressStageType(), stage) + " " + std::to_string(percent) + " " +
                       std::to_string(r.right) + "x" + std::to_string(r.bottom));
  };
  image->picture()->setBitmap(kestrin::test::make_bmp24(20, 10, [](int x, int) { return x < 10 ? 0xFF0000u : 0x0000FFu; }));
  EXPECT_EQ(progress, (std::vector<std::string>{"psStarting 0 20x10", "psEnding 100 20x10"}));
  ASSERT_FALSE(image->image().isNull());
  EXPECT_EQ(image->image().pixelColor(2, 2), QColor(255, 0, 0));
  EXPECT_EQ(image->image().pixelColor(15, 2), QColor(0, 0, 255));

  struct Case {
    bool stretch, center, proportional;
    TRect dest;
  };
  const Case cases[] = {
      {false, false, false, {0, 0, 20, 10}},  {false, true, false, {40, 20, 60, 30}},
      {true, false, false, {0, 0, 100, 50}},  {true, false, true, {0, 0, 100, 50}},
      {true, true, true, {0, 0, 100, 50}},
  };
  for (const Case& c : cases) {
    image->setStretch(c.stretch);
    image->setCenter(c.center);
    image->setProportional(c.proportional);
    EXPECT_EQ(image->destRect(), c.dest) << c.stretch << c.center << c.proportional;
  }
  image->setBounds(0, 0, 100, 100);  // proportions kept: the width decides
  EXPECT_EQ(image->destRect(), (TRect{0, 25, 100, 75}));
  image->setStretch(false);
  image->setBounds(0, 0, 10, 100);  // too big: Proportional shrinks it
  EXPECT_EQ(image->destRect(), (TRect{0, 47, 10, 52}));
  image->setAutoSize(true);
  EXPECT_EQ(image->boundsRect(), (TRect{0, 0, 20, 10}));
  QImage shot = form->widget()->grab().toImage();
  EXPECT_EQ(shot.isNull(), false);
}

TEST_F(ToolBarsTest, AnActionListSeesItsActionsFirst) {
  TForm* form = makeForm();
  auto* list = new TActionList(form);
  auto* a = new TAction(form);
  auto* b = new TAction(form);
  int changes = 0;
  list->OnChange = [&](TComponent*) { ++changes; };
  a->setActionList(list);
  b->setActionList(list);
  EXPECT_EQ(list->actionCount(), 2);
  EXPECT_EQ(b->index(), 1);
  std::vector<std::string> log;
  list->OnExecute = [&](TBasicAction* action, bool& handled) {
    log.push_back(action == a ? "list a" : "list b");
    handled = action == a;
  };
  a->OnExecute = [&](TComponent*) { log.push_back("a"); };
  b->OnExecute = [&](TComponent*) { log.push_back("b"); };
  EXPECT_TRUE(a->execute());
  EXPECT_TRUE(b->execute());
  EXPECT_EQ(log, (std::vector<std::string>{"list a", "list b", "b"}));
  delete a;
  EXPECT_EQ(list->actionCount(), 1);
  b->setActionList(nullptr);
  EXPECT_EQ(b->index(), -1);
  b->setActionList(list);
  EXPECT_EQ(changes, 5);
  const int components = form->componentCount();
  delete list;  // and its action with it
  EXPECT_EQ(form->componentCount(), components - 2);
  EXPECT_EQ(changes, 5);
}

TEST_F(ToolBarsTest, ActionsWithClientsUpdateWhileIdle) {
  TForm* form = makeForm();
  auto* linked = new TAction(form);
  auto* lonely = new TAction(form);
  auto* button = new TButton(form);
  button->setParent(form);
  button->setAction(linked);
  int linked_updates = 0, lonely_updates = 0;
  linked->OnUpdate = [&](TComponent*) {
    ++linked_updates;
    linked->setEnabled(false);
  };
  lonely->OnUpdate = [&](TComponent*) { ++lonely_updates; };
  QEventLoop loop;
  QTimer::singleShot(20, &loop, &QEventLoop::quit);
  loop.exec();  // waits for the timer: idle
  EXPECT_GT(linked_updates, 0);
  EXPECT_EQ(lonely_updates, 0);
  EXPECT_FALSE(button->enabled());
  button->setAction(nullptr);
}

TEST_F(ToolBarsTest, OnHintDecidesTheLinkedControlsHint) {
  TForm* form = makeForm();
  auto* action = new TAction(form);
  auto* button = new TButton(form);
  button->setParent(form);
  button->setBounds(10, 10, 75, 25);
  button->setAction(action);
  action->setHint("Save");
  std::vector<std::string> asked;
  bool allow = true;
  action->OnHint = [&](std::string& hint, bool& can_show) {
    asked.push_back(hint);
    hint += " all";
    can_show = allow;
  };
  auto ask = [&] {
    QHelpEvent e(QEvent::ToolTip, QPoint(5, 5), button->widget()->mapToGlobal(QPoint(5, 5)));
    return QApplication::sendEvent(button->widget(), &e);
  };
  allow = false;
  EXPECT_TRUE(ask());
  EXPECT_TRUE(QToolTip::text().isEmpty());
  allow = true;
  EXPECT_TRUE(ask());
  EXPECT_EQ(QToolTip::text().toStdString(), "Save all");
  EXPECT_EQ(asked, (std::vector<std::string>{"Save", "Save"}));
}

}  // namespace
}  // namespace kgui
