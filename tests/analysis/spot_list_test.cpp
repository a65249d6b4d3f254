// The spot list: the header matcher, the duplicate passes against their pairwise reference,
// the deletions and their markers, the writer's text and the label test.
#include "analysis/spot_list.h"

#include <gtest/gtest.h>

#include <random>

#include "analysis_fixture.h"
#include "base/paths.h"
#include "base/runtime_errors.h"
#include "base/text_file.h"
#include "spot_reference.h"
#include "support/temp_dir.h"

namespace kestrin::test {
namespace {

class SpotListTest : public AnalysisTest {
protected:
  static void put(const std::vector<std::array<double, 3>>& spots) {
    SpotList& l = state().spot_list;
    set_spot_count(l, int32_t(spots.size()));
    for (size_t i = 0; i < spots.size(); ++i) {
      l.SpotX[i] = spots[i][0];
      l.SpotY[i] = spots[i][1];
      l.SpotIntensity[i] = spots[i][2];
    }
    l.SpotBatchStart = 2;
    l.FocusedSpot = 1;
  }
  static std::vector<double> xs() {
    const SpotList& l = state().spot_list;
    return {l.SpotX.begin(), l.SpotX.begin() + l.SpotCount};
  }
  static const FileTag& column(size_t i) { return state().spot_list.SpotColumnNames[i]; }
};

TEST_F(SpotListTest, HeaderCellsMatchColumnNamesWithoutCaseAndTheLastCellWins) {
  init_spot_columns();
  EXPECT_EQ(column(0).name, "no");
  EXPECT_EQ(column(62).name, "file_");
  EXPECT_EQ(column(63).name, "file_");
  EXPECT_EQ(column(64).name, "");
  match_spot_columns({"No", "SpotX(pixel)", "SpotY(pixel)", "SpotIntensity", "file_a", "note"});
  for (size_t i = 1; i < 4; ++i) {
    EXPECT_TRUE(column(i).found) << i;
    EXPECT_EQ(column(i).index, int32_t(i));
  }
  EXPECT_EQ(column(0).index, 5);  // "note" contains "no" and comes last
  EXPECT_EQ(column(62).index, 4);
  EXPECT_EQ(column(63).index, 4);
  EXPECT_FALSE(column(64).found);
  EXPECT_FALSE(column(4).found);
  match_spot_columns({"x"});  // each match starts from a reset table
  EXPECT_FALSE(column(1).found);
  EXPECT_EQ(column(1).index, -1);
}

TEST_F(SpotListTest, DuplicatePassesEqualTheirPairwiseReference) {
  std::mt19937 rng(3);
  std::uniform_real_distribution<double> pos(0, 60);
  for (double d : {0.0, 0.1, 2.0, 4.0, 50.0}) {
    std::vector<double> x, y;
    for (int i = 0; i < 400; ++i) {
      x.push_back(i % 7 == 0 ? std::round(pos(rng)) : pos(rng));
      y.push_back(i % 7 == 0 ? std::round(pos(rng)) : pos(rng));
    }
    x.push_back(x[3] + d), y.push_back(y[3] - d);  // exactly d away on both axes
    const std::vector<bool> expected = reference_duplicates(x, y, d);
    const std::vector<uint8_t> got = duplicate_pass(x, y, d);
    ASSERT_EQ(got.size(), expected.size());
    for (size_t i = 0; i < got.size(); ++i) EXPECT_EQ(bool(got[i]), expected[i]) << "d " << d << " point " << i;
  }
}

TEST_F(SpotListTest, NearSpotsDropTheLaterAndSameSpotsTheEarlier) {
  const std::vector<std::array<double, 3>> spots = {{0, 0, 1}, {2, 2, 2}, {4, 4, 3}, {30, 30, 4}, {31, 30, 5}};
  put(spots);
  remove_near_spots(2.0);  // not transitive: 3 survives the deleted 2
  EXPECT_EQ(xs(), (std::vector<double>{0, 4, 30}));
  EXPECT_EQ(state().spot_list.SpotBatchStart, 2);
  put(spots);
  delete_same_spots();
  EXPECT_EQ(xs(), (std::vector<double>{4, 31}));  // a spot at (0, 0) is a spot like any other
  EXPECT_EQ(state().spot_list.SpotBatchStart, 0);
  EXPECT_EQ(state().spot_list.FocusedSpot, 0);
}

TEST_F(SpotListTest, DeletionsByRangeAndArea) {
  const std::vector<std::array<double, 3>> spots = {{1, 1, 1}, {5, 5, 2}, {9.5, 3, 3}, {12, 8, 4}};
  put(spots);
  delete_spot_range(1, 2);
  EXPECT_EQ(xs(), (std::vector<double>{1, 12}));
  EXPECT_EQ(state().spot_list.SpotIntensity[1], 4);
  EXPECT_EQ(state().spot_list.FocusedSpot, 0);
  put(spots);
  for (auto [a, b] : {std::pair{2, 1}, {-1, 0}, {0, 4}}) delete_spot_range(a, b);
  EXPECT_EQ(state().spot_list.SpotCount, 4);
  EXPECT_EQ(state().spot_list.SpotBatchStart, 2);
  delete_spots_in_area(5, 3, 9, 8);  // 9.5 lies outside
  EXPECT_EQ(xs(), (std::vector<double>{1, 9.5, 12}));
  delete_spots_in_area(0, 0, 19, 19);
  EXPECT_EQ(state().spot_list.SpotCount, 0);
}

TEST_F(SpotListTest, WriterTextHasTheHeaderAndGeneralNumbers) {
  EXPECT_EQ(spot_list_text(state().spot_list), "no,spotx(pixel),spoty(pixel),spotintensity\r\n");
  put({{12, 34.5, 1000}, {1.0 / 3, 1e20, 0.1}});
  EXPECT_EQ(spot_list_text(state().spot_list),
            "no,spotx(pixel),spoty(pixel),spotintensity\r\n"
            "1,12,34.5,1000\r\n"
            "2,0.333333333333333,1E20,0.1\r\n");
  TempDir dir;
  write_spot_list(dir.file("s.csv"));
  std::string bytes;
  ASSERT_TRUE(read_file_bytes(dir.file("s.csv"), bytes));
  EXPECT_EQ(bytes, spot_list_text(state().spot_list));
  EXPECT_THROW(write_spot_list(dir.file("missing/s.csv")), EInOutError);
}

TEST_F(SpotListTest, LabelTestIsStrictAndCoversSpotCountRecords) {
  put({{1, 1, 1}, {2, 2, 2}});
  state().spot_list.SpotRecords[1].label_x = 100;
  state().spot_list.SpotRecords[1].label_y = 50;
  EXPECT_EQ(spot_exists_near(104, 47, 5, 4), 1);
  EXPECT_EQ(spot_exists_near(105, 47, 5, 4), 0);
  EXPECT_EQ(spot_exists_near(104, 46, 5, 4), 0);
  state().spot_list.SpotCount = 1;
  EXPECT_EQ(spot_exists_near(100, 50, 5, 4), 0);
}

}  // namespace
}  // namespace kestrin::test
