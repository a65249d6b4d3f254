// Spot-list files: the loader by header and by position, the kind-2 end line, the cap, the
// "use" flag and refused headers; the analysis table, its writer and the reference list.
#include "analysis/spot_csv.h"

#include <gtest/gtest.h>

#include "analysis/spot_list.h"
#include "analysis/spot_tables.h"
#include "analysis_fixture.h"
#include "base/convert.h"
#include "base/runtime_errors.h"
#include "base/text_file.h"
#include "support/temp_dir.h"

namespace kestrin::test {
namespace {

class SpotCsvTest : public AnalysisTest {
protected:
  void SetUp() override {
    AnalysisTest::SetUp();
    init_spot_columns();
  }
  std::string write(const std::string& text) {
    const std::string name = dir_.file("list.csv");
    EXPECT_TRUE(write_file_bytes(name, text));
    return name;
  }
  static const SpotList& list() { return state().spot_list; }
  static const SpotRecord& rec(size_t i) { return list().SpotRecords.at(i); }
  TempDir dir_;
};

TEST_F(SpotCsvTest, HeaderlessFourCellsLoadByPosition) {
  load_spot_csv(write("1,10.5,20.25,300.6\r\n2, 11 ,21,40\r\n\r\n"));
  EXPECT_EQ(list().SpotFileKind, 0);
  ASSERT_EQ(list().SpotCount, 2);
  EXPECT_DOUBLE_EQ(list().SpotX[0], 10.5);
  EXPECT_DOUBLE_EQ(list().SpotY[0], 20.25);
  EXPECT_DOUBLE_EQ(list().SpotIntensity[0], 301);  // rounded
  EXPECT_EQ(rec(1).index, 1);
  EXPECT_DOUBLE_EQ(rec(1).x, 11);
  EXPECT_EQ(rec(1).intensity, 40);
}

TEST_F(SpotCsvTest, HeaderlessFifteenToSeventeenCellsCarryTheAnalysisColumns) {
  const std::string first15 = "1,10,20,300,5.5,6.5,7.5,8,30.1,30.2,0.3,30.4,99.5,12,1";
  struct Case {
    std::string line;
    int32_t kind;
    double threshold;
    int32_t start;
  } cases[] = {{first15, 1, 0, 0}, {first15 + ",10", 1, 0, 0}, {first15 + ",10,20", 1, 10, 20},
               {first15 + ",10,20,1", 0, 0, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    load_spot_csv(write(c.line + "\r\n"));
    EXPECT_EQ(list().SpotFileKind, c.kind);
    ASSERT_EQ(list().SpotCount, 1);
    EXPECT_DOUBLE_EQ(rec(0).background, c.kind == 1 ? 5.5 : 0);
    EXPECT_EQ(rec(0).bg_distance, c.kind == 1 ? 8 : 0);
    EXPECT_DOUBLE_EQ(rec(0).two_theta_fit, c.kind == 1 ? 30.1 : 0);
    EXPECT_DOUBLE_EQ(rec(0).fwhm, c.kind == 1 ? 0.3 : 0);          // column 10
    EXPECT_DOUBLE_EQ(rec(0).two_theta_ini, c.kind == 1 ? 30.4 : 0);  // column 11
    EXPECT_EQ(rec(0).band, c.kind == 1 ? 12 : 0);
    EXPECT_EQ(rec(0).fit_type, c.kind == 1 ? 1 : 0);
    EXPECT_DOUBLE_EQ(rec(0).threshold, c.threshold);
    EXPECT_EQ(rec(0).start_distance, c.start);
  }
}

TEST_F(SpotCsvTest, HeaderWithoutXOrIntensityIsRefused) {
  for (const char* header : {"no,spoty(pixel),spotintensity", "no,spotx(pixel),spoty(pixel)"}) {
    SCOPED_TRACE(header);
    load_spot_csv(write(std::string(header) + "\r\n1,2,3\r\n"));
    EXPECT_EQ(list().SpotFileKind, -1);
    EXPECT_EQ(list().SpotCount, 0);
  }
}

TEST_F(SpotCsvTest, HeaderColumnsAreMatchedByNameAndUseIsReadWithoutCase) {
  load_spot_csv(write("No,SpotIntensity,Use,SpotY(pixel),SpotX(pixel)\r\n1,50,TRUE,2,3\r\n2,60,yes,4,5\r\n"));
  EXPECT_EQ(list().SpotFileKind, 0);
  ASSERT_EQ(list().SpotCount, 2);
  EXPECT_DOUBLE_EQ(rec(0).x, 3);
  EXPECT_DOUBLE_EQ(rec(0).y, 2);
  EXPECT_EQ(rec(0).intensity, 50);
  EXPECT_TRUE(rec(0).use);
  EXPECT_FALSE(rec(1).use);
}

// In a program that never made the spot window (the script runner, the harness) the column
// table starts empty; a headed list loads there as it does beside the window.
TEST_F(SpotCsvTest, HeadedListsLoadWithoutTheSpotWindow) {
  const char* firsts[] = {"No,SpotX(pixel),SpotY(pixel),SpotIntensity", "no,spotx(pixel),spoty(pixel),spotintensity",
                          "1,7.5,8,9"};
  for (const char* first : firsts) {
    SCOPED_TRACE(first);
    state().spot_list = SpotList{};  // no names in the table
    load_spot_csv(write(std::string(first) + "\r\n2,10.5,20.25,300\r\n3,11,21,40\r\n"));
    EXPECT_EQ(list().SpotFileKind, 0);
    const bool header = first[0] != '1';
    ASSERT_EQ(list().SpotCount, header ? 2 : 3);
    EXPECT_DOUBLE_EQ(list().SpotX[header ? 0 : 1], 10.5);
    EXPECT_DOUBLE_EQ(list().SpotY[header ? 1 : 2], 21);
    EXPECT_DOUBLE_EQ(list().SpotIntensity[header ? 0 : 1], 300);
  }
}

TEST_F(SpotCsvTest, KindTwoTakesYFromZAndEndsAtANineCellLine) {
  load_spot_csv(write("no,spotx(pixel),spoty(pixel),spotintensity,spotz(pixel),h_,k_,l_,hcalc,kcalc,lcalc\r\n"
                      "1,10,99,100,20,1,0,0,1,0,0\r\n"
                      "2,11,99,110,21,0,1,0,0,1,0\r\n"
                      "a,b,c,d,e,f,g,h,i\r\n"
                      "3,12,99,120,22,0,0,1,0,0,1\r\n"));
  EXPECT_EQ(list().SpotFileKind, 2);
  ASSERT_EQ(list().SpotCount, 2);
  EXPECT_DOUBLE_EQ(list().SpotY[1], 21);
  EXPECT_DOUBLE_EQ(rec(1).k, 1);
  const StringGrid grid = spot_list_grid();
  ASSERT_EQ(grid[0].size(), 8u);
  EXPECT_EQ(grid[2][4], "  0.0,  1.0,  0.0");
}

TEST_F(SpotCsvTest, LoadingStopsAfterFiveThousandSpots) {
  std::string text;
  for (int i = 0; i < kMaxLoadedSpots + 3; ++i) text += std::to_string(i + 1) + ",1,2,3\n";
  load_spot_csv(write(text));
  EXPECT_EQ(list().SpotCount, kMaxLoadedSpots);
}

TEST_F(SpotCsvTest, ABadCellRaisesAndKeepsTheSpotsBeforeIt) {
  EXPECT_THROW(load_spot_csv(write("1,1,2,3\n2,x,2,3\n3,1,2,3\n")), ConversionError);
  EXPECT_EQ(list().SpotCount, 1);
  EXPECT_THROW(load_spot_csv(write("1,1,2\n")), ConversionError);  // no intensity cell
  EXPECT_THROW(load_spot_csv(dir_.file("missing.csv")), EInOutError);
}

TEST_F(SpotCsvTest, SpotListGridNumbersTheLastBatchWithAStar) {
  load_spot_csv(write("1,1,2,3\n2,4,5,6\n3,7,8,9\n"));
  state().spot_list.SpotBatchStart = 1;
  const StringGrid grid = spot_list_grid();
  ASSERT_EQ(grid.size(), 4u);
  EXPECT_EQ(grid[0], (std::vector<std::string>{"Spot No.", "x(pixel)", "y(pixel)", "Intensity", "   h     k     l",
                                               "", ""}));
  EXPECT_EQ(grid[1][0], "1");
  EXPECT_EQ(grid[2][0], "*2");
  EXPECT_EQ(grid[3][0], "*3");
  EXPECT_EQ(grid[3][1], "    7.00");
}

TEST_F(SpotCsvTest, AnalysisGridAndWriterKeepTheHeadingsAndFormats) {
  load_spot_csv(write("1,10.5,20,300,5.5,6.5,7.5,8,30.1,30.2,0.3,30.4,99.5,12,1,10,20\r\n"));
  StringGrid grid = spot_analysis_grid();
  ASSERT_EQ(grid.size(), 2u);
  EXPECT_EQ(grid[1], (std::vector<std::string>{"1", " 10.500", " 20.000", "300", "  5.500", "  6.500", "  7.500", "8",
                                               " 30.100000", " 30.200000", "  0.300000", " 30.400000", "     99.50",
                                               "12", "1", "10", "20"}));
  state().spot_analysis_grid = grid;
  const std::string name = dir_.file("out.csv");
  write_spot_analysis_list(name);
  std::string text;
  ASSERT_TRUE(read_file_bytes(name, text));
  EXPECT_EQ(text,
            "No.,x(pixel),y(pixel),Int(Raw),BG,Amp(Net),Int(Net),Distance(pixel),Fit2th(deg),Ref.2th(deg),FwHm(deg),"
            "Ini.2th(deg),Amplitude,Band,FitType,Shikii(%),StartDistance(pixel)\r\n"
            "1,10.5,20,300,  5.500,  6.500,  7.500,8, 30.100000, 30.200000,  0.300000, 30.400000,     99.50,12,1,10,"
            "20\r\n");
  EXPECT_THROW(write_spot_analysis_list(dir_.file("no/such/folder.csv")), EInOutError);
}

TEST_F(SpotCsvTest, ReferenceListReadsCellsOneToThreeAndStopsAtAnIntensityThatIsNoInteger) {
  state().spot_reference.resize(7);
  EXPECT_THROW(load_spot_reference(write("1,10.5,20.25,300\n2,11,21,12.0\n3,1,1,1\n")), ConversionError);
  ASSERT_EQ(state().spot_reference.size(), 1u);
  load_spot_reference(write("1,10.5,20.25,300\n2,11,21,12\n"));
  const StringGrid grid = spot_reference_grid();
  ASSERT_EQ(grid.size(), 3u);
  EXPECT_EQ(grid[0][1], "x_all(pixel)");
  EXPECT_EQ(grid[0][8], "");
  EXPECT_EQ(grid[1], (std::vector<std::string>{"1", " 10.500", " 20.250", "0", "0", "300", "0", "0", "", ""}));
}

}  // namespace
}  // namespace kestrin::test
