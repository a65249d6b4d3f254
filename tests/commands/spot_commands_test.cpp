// The spot window's commands without widgets: the area search's bounds, deleting the
// grid's selected rows, the save cancel, the nearest spot of a click and Load List's question.
#include "commands/spot_commands.h"

#include <gtest/gtest.h>

#include "analysis/spot_list.h"
#include "commands/spot_analysis_commands.h"
#include "image/image_store.h"
#include "model/state.h"
#include "ports/names/spot_form_names.h"
#include "support/ring_image.h"
#include "support/spot_image.h"
#include "support/state_fixture.h"

namespace kestrin::test {
namespace {

class FakeSpotWindow : public SpotWindowPort {
public:
  std::pair<int32_t, int32_t> rows{-1, -1};
  std::vector<int32_t> selected;
  int lists = 0;
  void show_spot_list() override { ++lists; }
  void select_row(int32_t row) override { selected.push_back(row); }
  std::pair<int32_t, int32_t> selected_rows() const override { return rows; }
};

class NoPrompts : public Prompts {
public:
  std::vector<std::string> asked;
  bool confirm(std::string_view q) override {
    asked.emplace_back(q);
    return false;
  }
};

class SpotCommandsTest : public StateTest {
protected:
  void SetUp() override {
    StateTest::SetUp();
    Ports p;
    p.spot_window = &window_;
    p.prompts = &prompts_;
    install_ports(p);
    SpotImageSpec spec;
    load_into_current_image(make_spot_image(spec), spec.width, spec.height);
  }
  void TearDown() override { reset_headless_ports(); }
  static void put(const std::vector<std::pair<double, double>>& spots) {
    SpotList& l = state().spot_list;
    set_spot_count(l, int32_t(spots.size()));
    for (size_t i = 0; i < spots.size(); ++i) {
      l.SpotX[i] = spots[i].first;
      l.SpotY[i] = spots[i].second;
      l.SpotIntensity[i] = double(i);
    }
  }
  FakeSpotWindow window_;
  NoPrompts prompts_;
};

TEST_F(SpotCommandsTest, AreaSearchOutsideTheImageDoesNothing) {
  put({{1, 1}});
  edit(frmSpot::edtX1, std::to_string(current_image().ImageWidth));  // one past the last column
  edit(frmSpot::edtY1, "10");
  state().image_tools.MouseMode = kAreaMode;
  spot_search_area_command();
  EXPECT_EQ(window_.lists, 0);
  EXPECT_EQ(state().spot_list.SpotCount, 1);
  edit(frmSpot::edtX1, std::to_string(current_image().ImageWidth - 1));
  edit(frmSpot::edtY1, std::to_string(current_image().ImageHeight - 1));
  spot_search_area_command();
  EXPECT_EQ(window_.lists, 1);
  EXPECT_EQ(state().selected_area.AreaX1, current_image().ImageWidth - 1);
  EXPECT_GT(state().spot_list.SpotCount, 1);
  EXPECT_EQ(state().spot_grid.at(2).at(0), "*2");  // the added batch is marked
}

TEST_F(SpotCommandsTest, DeleteInListTakesTheSelectedRowsAndRenumbers) {
  put({{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}});
  window_.rows = {3, 5};
  delete_listed_spots_command();
  const SpotList& l = state().spot_list;
  ASSERT_EQ(l.SpotCount, 3);
  EXPECT_EQ(l.SpotX[2], 5);
  EXPECT_EQ(state().spot_grid.size(), 4u);
  EXPECT_EQ(state().spot_grid[3][0], "3");
  window_.rows = {0, 0};  // the heading row: nothing
  delete_listed_spots_command();
  EXPECT_EQ(l.SpotCount, 3);
}

TEST_F(SpotCommandsTest, SaveCancelLogsAndForgetsTheFolder) {
  state().dialog_slots.folder[kSlotImageSave] = "/results/";
  save_spot_list_command();
  EXPECT_EQ(log(), (std::vector<std::string>{" save_spot_proc() : cancel "}));
  EXPECT_EQ(state().dialog_slots.folder[kSlotImageSave], "");
}

TEST_F(SpotCommandsTest, AClickSelectsTheNearestSpotTheFirstOnATieAndNothingFarAway) {
  put({{10, 10}, {20, 10}, {14, 10}, {16, 10}});
  spot_list_select(15, 10);  // spots 2 and 3 are as near: the first wins
  EXPECT_EQ(window_.selected, (std::vector<int32_t>{3}));
  EXPECT_EQ(state().spot_list.FocusedSpot, 2);
  EXPECT_EQ(nearest_spot(10 + 99.99, 10), 1);   // d^2 = 6398
  EXPECT_EQ(nearest_spot(20 + 99.995, 10), std::nullopt);  // d^2 = 9999.0: not below
  spot_list_select(500, 500);
  EXPECT_EQ(window_.selected.size(), 1u);
}

TEST_F(SpotCommandsTest, LoadListAnsweredNoChangesNothing) {
  put({{1, 1}});
  load_spot_list_command();
  EXPECT_EQ(prompts_.asked, (std::vector<std::string>{kDiscardSpotsQuestion}));
  EXPECT_EQ(state().spot_list.SpotCount, 1);
  EXPECT_EQ(window_.lists, 0);
}

}  // namespace
}  // namespace kestrin::test
