// The image loader: name checks, the choice of reader, the whole log of a load, the
// parameter file beside the image and the steps after a good load.
#include <gtest/gtest.h>

#include <stdexcept>

#include "base/convert.h"
#include "base/text_file.h"
#include "image/display/display.h"
#include "image/image_loader.h"
#include "image/files/param_file.h"
#include "image/loading_fixture.h"
#include "support/raxis_fixture.h"
#include "ports/names/image_form_names.h"
#include "ports/names/main_form_names.h"
#include "ports/names/spot_form_names.h"

namespace kestrin::test {
namespace {

using Lines = std::vector<std::string>;

TEST(SniffRaxis, SignatureTableOverTenBytesWithZeroBytes) {
  using namespace std::string_literals;
  struct Case {
    std::string bytes;
    int type;
  };
  const Case cases[] = {
      {"R-AXIS \0\0\0"s, 6},
      {"RAXIS\0R-AX"s, 3},
      {"RAXISR-AXIS "s, 3},  // only the first 10 bytes count: "R-AXIS " is cut to "R-AX"
      {"R-AXIS\0RAXIS"s, 3},
      {"\0R-AXIS-CS"s, 9},
      {"R-AXIS4\0\0\0"s, 3},
      {"R-AXIS-CS\0"s, 9},
      {"IM\0RAXIS\0\0"s, 11},
      {"\0\0\0\0\0\0\0\0IM"s, 11},
      {"\0\0\0\0\0\0\0\0\0I"s, 12},
      {"\0\0\0\0\0RAXIS"s, 3},
      {"\0\0\0\0\0\0RAXIS"s, 12},  // the signature starts past the tenth byte
      {"BAS_IMAGE\0"s, 11},  // "IM" inside a word counts too
      {"BAS2000\0\0\0"s, 12},
      {""s, 12},
      {"R-AXIS"s, 3},
  };
  for (const Case& c : cases) EXPECT_EQ(sniff_raxis_signature(c.bytes), c.type) << c.bytes;
}

TEST(SniffRaxis, ReadsTheFirstBytesOfTheFileAndFindsNoSignatureInAnUnreadableOne) {
  TempDir dir;
  ASSERT_TRUE(write_file_bytes(dir.file("a.img"), std::string("\0R-AXIS \0\0IM", 12)));
  EXPECT_EQ(sniff_raxis_type(dir.file("a.img")), 6);
  EXPECT_EQ(sniff_raxis_type(dir.file("missing.img")), 12);
}

class LoaderTest : public LoadingTest {
protected:
  // A 4 x 3 R-AXIS frame with one overflow pixel (code 40000, intensity 57856).
  RaxisFixture frame() {
    RaxisFixture f;
    f.codes = {0, 1, 2, 3, 100, 32768, 40000, 5, 7, 8, 9, 10};
    return f;
  }
  Lines names(const std::string& path) {
    const std::string folder = dir_.path();
    const std::string base = path.substr(folder.size(), path.rfind('.') - folder.size());
    return {" Directory = " + folder, " Inf  name = " + folder + base + ".inf", " Img  name = " + path,
            " Base name = " + base};
  }
  Lines with(Lines a, const Lines& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
  }
};

TEST_F(LoaderTest, AGoodRaxisLoadLogsItsWholeSequenceAndKeepsTheNameAsGiven) {
  const std::string path = frame().write(dir_.file("SAMPLE.IMG"));
  EXPECT_EQ(load_img_proc(path), -1);
  EXPECT_EQ(log(), with(names(path), {" Swapping byte order...",
                                      "Min to Max / Saturated intensity(log) = 0 to 8789 / 10000",
                                      "Min to Max / Saturated intensity(linear) = 0 to 57856 / 262136",
                                      " No parameter file " + dir_.file("SAMPLE.kes") + "   Default values are used."}));
  EXPECT_EQ(img().NoImageFlag, 0);
  EXPECT_EQ(img().image_type, 3);
  EXPECT_EQ(img().ImageFilePath, path);
  EXPECT_EQ(img().ImageFileName, path);
  EXPECT_EQ(img().ImageBaseName, "SAMPLE");
  EXPECT_EQ(img().ImageFolder, dir_.path());
  EXPECT_EQ(img().PatternFolder, dir_.path());
  EXPECT_EQ(img().InfFileName, dir_.file("SAMPLE.inf"));
  // The edits show the geometry as the header left it; reading them back rewrites the step.
  EXPECT_EQ(edits().text(frmMain::edtLambda), "  1.541800");
  EXPECT_EQ(edits().text(frmMain::edtCameraLength), "250.000000");
  EXPECT_EQ(edits().text(frmMain::edtCenterX0), " 906.00000");
  EXPECT_EQ(edits().text(frmMain::edtBandWidth), "   100");
  EXPECT_EQ(edits().text(frmMain::edtBeta), " 324.000");
  EXPECT_EQ(edits().text(frmMain::edt2ThetaStep), "0.020000");
}

TEST_F(LoaderTest, SaturatedPointsAndTheSignatureTypeAreReported) {
  RaxisFixture f = frame();
  f.signature = "R-AXIS ";
  f.codes[3] = 65535;
  const std::string path = f.write(dir_.file("b.osc"));
  load_img_proc(path);
  EXPECT_EQ(img().image_type, 6);
  EXPECT_EQ(log_from(5), (Lines{"Min to Max / Saturated intensity(log) = 0 to 10000 / 10000",
                                "Min to Max / Saturated intensity(linear) = 0 to 262136 / 262136",
                                " Saturated points were found.",
                                " No parameter file " + dir_.file("b.kes") + "   Default values are used."}));
}

TEST_F(LoaderTest, RefusalsLogTheirLineAndChangeNothingElse) {
  struct Case {
    std::string name;
    std::string line;
  };
  const Case cases[] = {
      {"", " load_img_proc() : No file selected. "},
      {"/data/a.ipf", " load_img_proc() : /data/a.ipf is not a image file.. "},
      {"/data/a.IMGX", " load_img_proc() : /data/a.IMGX is not a image file.. "},
      {"/data/noext", " load_img_proc() : /data/noext is not a image file.. "},
      {"sample.img", "load_img_proc() : sample.img does not have explicit path."},
  };
  for (const Case& c : cases) {
    the_log().clear_history();
    img().NoImageFlag = 0;
    EXPECT_EQ(load_img_proc(c.name), -1);
    EXPECT_EQ(log(), Lines{c.line}) << c.name;
    EXPECT_EQ(img().NoImageFlag, 0) << c.name;
  }
  EXPECT_EQ(img().ImageFilePath, "sample.img");  // the folder test comes after the names
}

TEST_F(LoaderTest, EachMissingReaderEndsWithItsKindLine) {
  reader_registry() = ReaderRegistry{};
  ASSERT_TRUE(write_file_bytes(dir_.file("h.img"), std::string("IM\0\0\0\0\0\0\0\0", 10)));
  ASSERT_TRUE(write_file_bytes(dir_.file("f.img"), std::string(64, '\0')));
  struct Case {
    std::string file;
    int type;
    const char* kind;
  };
  const Case cases[] = {{"x.ccd", 7, "Bruker"}, {"x.tif", 8, "TIFF"}, {"x.gel", 13, "GEL"},
                        {"h.img", 11, "HIPIC"}, {"f.img", 12, "Fuji"}, {"g.STL", 12, "Fuji"}};
  for (const Case& c : cases) {
    the_log().clear_history();
    img().NoImageFlag = 0;
    const std::string path = dir_.file(c.file);
    load_img_proc(path);
    EXPECT_EQ(img().image_type, c.type) << c.file;
    EXPECT_EQ(img().NoImageFlag, 1) << c.file;
    EXPECT_EQ(log(), with(names(path), {std::string(" load_img_proc() : ") + c.kind + " image file " + path +
                                        " load error."}));
  }
}

int tiff_test_calls = 0;

TEST_F(LoaderTest, FloatTiffGoesToTheFloatReaderAndItsSniffLinesComeFirst) {
  reader_registry().tiff_is_float = [](const std::string&) {
    log_line(" tiff tags read");
    return true;
  };
  reader_registry().tiff_float = [](ImageStore&, const std::string&) {
    ++tiff_test_calls;
    return 2;
  };
  const std::string path = dir_.file("f.TIF");
  load_img_proc(path);
  EXPECT_EQ(tiff_test_calls, 1);
  EXPECT_EQ(img().image_type, 14);
  EXPECT_EQ(log(), with(with({" tiff tags read"}, names(path)),
                        {" load_img_proc() : TIFF2 image file " + path + " load error."}));
}

TEST_F(LoaderTest, FujiReaderRunsOnlyAfterTheInfReaderSucceeds) {
  static std::vector<std::string> calls;
  static int inf_result;
  reader_registry().information = [](ImageStore&, const std::string& p) {
    calls.push_back("inf " + p);
    return inf_result;
  };
  reader_registry().fuji = [](ImageStore&, const std::string& p) {
    calls.push_back("fuji " + p);
    return 1;
  };
  const std::string path = dir_.file("f.img");
  ASSERT_TRUE(write_file_bytes(path, std::string(64, '\0')));
  for (int result : {1, 0}) {
    calls.clear();
    inf_result = result;
    load_img_proc(path);
    Lines expected{"inf " + dir_.file("f.inf")};
    if (result == 0) expected.push_back("fuji " + path);
    EXPECT_EQ(calls, expected);
    EXPECT_EQ(img().NoImageFlag, 1);
    EXPECT_EQ(log().back(), " load_img_proc() : Fuji image file " + path + " load error.");
  }
}

TEST_F(LoaderTest, AReaderThatThrowsCountsAsAFailedLoad) {
  reader_registry().rigaku = [](ImageStore&, const std::string&) -> int { throw std::runtime_error("disk gone"); };
  const std::string path = frame().write(dir_.file("a.img"));
  load_img_proc(path);
  EXPECT_EQ(img().NoImageFlag, 1);
  EXPECT_EQ(log().back(), " load_img_proc() : Rigaku image file " + path + " load error.");
}

TEST_F(LoaderTest, AnUnreadableFileAfterAGoodLoadFailsCleanly) {
  load_img_proc(frame().write(dir_.file("a.img")));
  ASSERT_EQ(img().NoImageFlag, 0);
  the_log().clear_history();
  const std::string missing = dir_.file("gone.img");
  EXPECT_NO_THROW(load_img_proc(missing));
  EXPECT_EQ(img().NoImageFlag, 1);
  EXPECT_EQ(img().ImageFilePath, missing);
  EXPECT_EQ(log().back(), " load_img_proc() : Fuji image file " + missing + " load error.");
}

TEST_F(LoaderTest, ARaxisRefusalEndsWithTheReaderLineAndTheRigakuLine) {
  RaxisFixture f = frame();
  f.width = 10001;
  const std::string path = f.write(dir_.file("big.img"));
  load_img_proc(path);
  EXPECT_EQ(img().NoImageFlag, 1);
  EXPECT_EQ(log(), with(names(path), {"read_rigaku_file() : Number of pixels is too large.",
                                      " load_img_proc() : Rigaku image file " + path + " load error."}));
}

TEST_F(LoaderTest, TheParameterFileIsFoundByExactNameThenByAUniqueCaseFreeMatch) {
  const std::string path = frame().write(dir_.file("SAMPLE.IMG"));
  auto write_kes = [&](const std::string& name, double lo) {
    params().Lo = lo;
    ASSERT_TRUE(write_text_file(dir_.file(name), param_file_lines()));
  };
  struct Step {
    const char* create;  // a file to add before loading, or null
    const char* found;   // the file read, or null for none
    double lo;
  };
  const Step steps[] = {{"sample.kes", "sample.kes", 111.0},
                        {"Sample.kes", nullptr, 0.0},  // two case-free matches: neither is taken
                        {"SAMPLE.kes", "SAMPLE.kes", 333.0}};
  double lo = 111.0;
  for (const Step& s : steps) {
    if (s.create) write_kes(s.create, s.found ? s.lo : 222.0);
    the_log().clear_history();
    load_img_proc(path);
    ASSERT_EQ(img().NoImageFlag, 0);
    if (s.found) {
      lo = s.lo;
      EXPECT_EQ(log().back(), " Load parameter file " + dir_.file(s.found) + " ");
      EXPECT_EQ(params().Lo, lo);
    } else {
      EXPECT_EQ(log().back(), " No parameter file " + dir_.file("SAMPLE.kes") + "   Default values are used.");
      EXPECT_EQ(params().Lo, 250.0);  // the header's value
    }
  }
}

TEST_F(LoaderTest, TheParameterFileOverridesTheHeaderEvenWhenLocked) {
  edits().set_checked(frmMain::chkwl, true);
  params().wavelength = 0.8;
  ASSERT_TRUE(write_text_file(dir_.file("a.kes"), param_file_lines()));
  params().wavelength = 0.5;
  load_img_proc(frame().write(dir_.file("a.img")));
  EXPECT_EQ(params().wavelength, 0.8);
  EXPECT_EQ(edits().text(frmMain::edtLambda), "  0.800000");
}

TEST_F(LoaderTest, AfterAGoodLoadTheEditsAreReadTheViewsFollowAndTheSpotAreaIsTheImage) {
  edits().set_text(frmMain::edtSectoredAngle, "45");
  state().spot_list.SpotCount = 5;
  state().macro.MacroRecording = true;
  state().options.ClearMask = 1;
  state().image_mask.resize(4, 3);
  state().image_mask.bytes[5] = 1;
  load_img_proc(frame().write(dir_.file("a.img")));
  EXPECT_EQ(params().division_angle, 45);  // the edits were read
  EXPECT_EQ(views_.calls, (Lines{"image_loaded", "show_form frmImage"}));
  EXPECT_EQ(edits().text(frmSpot::edtX1), "4");
  EXPECT_EQ(edits().text(frmSpot::edtY1), "3");
  EXPECT_EQ(state().spot_list.SpotCount, 0);
  // The display range follows the image maximum and the levels cover the image.
  EXPECT_EQ(state().display_scale.HighEdge, linear_display_bound(current_image().LinearMax, 1000));
  EXPECT_EQ(edits().text(frmImage::edtHighEdge), Format("%d", {state().display_scale.HighEdge}));
  EXPECT_EQ(state().display_levels.level.size(), 12u);
  EXPECT_EQ(state().display_levels.width, 4);
  EXPECT_EQ(state().image_mask.bytes, std::vector<uint8_t>(12, 0));
  EXPECT_EQ(state().macro.MacroList, Lines{"Kestrin.ClearMask();"});

  // Without the show-windows flag the image window stays as it is; the mask follows a new
  // image size and otherwise keeps its bytes.
  views_.calls.clear();
  state().WindowShow = 0;
  state().options.ClearMask = 0;
  state().image_mask.bytes[5] = 1;
  load_img_proc(frame().write(dir_.file("a.img")));
  EXPECT_EQ(views_.calls, Lines{"image_loaded"});
  EXPECT_EQ(state().image_mask.bytes[5], 1);
  RaxisFixture wide = frame();
  wide.width = 6;
  wide.codes.clear();
  load_img_proc(wide.write(dir_.file("a.img")));
  EXPECT_EQ(state().image_mask.bytes, std::vector<uint8_t>(18, 0));
}

TEST_F(LoaderTest, AnEditThatDoesNotConvertEndsTheLoadAfterTheViewsFollowed) {
  edits().set_text(frmMain::edtSectoredAngle, "x");
  EXPECT_THROW(load_img_proc(frame().write(dir_.file("a.img"))), ConversionError);
  EXPECT_EQ(img().NoImageFlag, 0);
  EXPECT_EQ(views_.calls, (Lines{"image_loaded", "show_form frmImage"}));
  EXPECT_EQ(state().image_mask.width, 4);
}

}  // namespace
}  // namespace kestrin::test
