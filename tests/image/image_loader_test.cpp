// The image loader: name checks, the whole log of a load and of each refusal, the header
// geometry under the locks, the parameter file beside the image, and decoding into another
// store without touching the current image.
#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <stdexcept>
#include <system_error>

#include "base/convert.h"
#include "base/text_file.h"
#include "commands/file_commands.h"
#include "commands/parameter_io.h"
#include "image/files/param_file.h"
#include "image/formats/image_file.h"
#include "image/image_loader.h"
#include "image/loading_fixture.h"
#include "model/parameters.h"
#include "ports/names/main_form_names.h"
#include "support/bruker_fixture.h"
#include "support/fuji_fixture.h"
#include "support/hipic_fixture.h"
#include "support/raxis_fixture.h"
#include "support/tiff_fixture.h"

namespace kestrin::test {
namespace {

using Lines = std::vector<std::string>;

class LoaderTest : public LoadingTest {
protected:
  // Checks a header lock as the script's setter (SetLoCheck and its kin) does.
  static void lock(const char* check) { set_integer_parameter(*parameter_named(check), 1); }
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
  const std::string path = raxis_frame().write(dir_.file("SAMPLE.IMG"));
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
  RaxisFixture f = raxis_frame();
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

TEST_F(LoaderTest, EachRefusedFormatEndsWithItsReasonAndItsKindLine) {
  auto text = [](const std::vector<uint8_t>& v) { return std::string(v.begin(), v.end()); };
  TiffFixture wide;
  wide.bits = 32;
  wide.sample_format = 1;
  wide.samples.assign(128, 0);
  struct Case {
    std::string file;
    std::string bytes;
    int type;
    Lines type_lines;
    Lines reader_lines;
    const char* kind;
  };
  const Case cases[] = {
      {"x.ccd", "FORM", 7, {}, {" read_bruker_file()", " read_bruker_file() : File is too short."}, "Bruker"},
      {"x.tif", text(wide.build()), 8, {" read_tiff_file()"},
       {" read_tiff_file()", " read_tiff_file() : 32-bit unsigned integer samples are not supported.", " tiff file error"},
       "TIFF"},
      {"x.gel", std::string("GEL\0\0\0\0\0", 8), 13, {}, {" read_gel_file()", " gel file error."}, "GEL"},
      {"h.img", std::string("IM\0\0\0\0\0\0\0\0", 10), 11, {}, {"read_hipic_file() : File is too short."}, "HIPIC"},
      {"r.img", raxis_frame().bytes(2048 + 8), 3, {},
       {"read_rigaku_file() : The file holds 8 pixel bytes; the header needs 24."}, "Rigaku"},
      {"f.img", std::string(64, '\0'), 12, {}, {" read_information_file() : " + dir_.file("f.inf") + " open error."}, "Fuji"},
      {"g.STL", std::string(64, '\0'), 12, {}, {" read_information_file() : " + dir_.file("g.inf") + " open error."}, "Fuji"},
  };
  for (const Case& c : cases) {
    the_log().clear_history();
    img().NoImageFlag = 0;
    const std::string path = dir_.file(c.file);
    ASSERT_TRUE(write_file_bytes(path, c.bytes));
    load_img_proc(path);
    EXPECT_EQ(img().image_type, c.type) << c.file;
    EXPECT_EQ(img().NoImageFlag, 1) << c.file;
    EXPECT_EQ(log(), with(with(c.type_lines, names(path)),
                          with(c.reader_lines, {std::string(" load_img_proc() : ") + c.kind + " image file " + path +
                                                " load error."})))
        << c.file;
  }
}

TEST_F(LoaderTest, FujiPixelsAreReadOnlyAfterTheHeader) {
  const std::string path = dir_.file("f.img");
  ASSERT_TRUE(write_file_bytes(path, std::string(31, '\0')));  // one byte short of 8 x 4
  load_img_proc(path);
  EXPECT_EQ(log_from(4), (Lines{" read_information_file() : " + dir_.file("f.inf") + " open error.",
                                " load_img_proc() : Fuji image file " + path + " load error."}));
  std::ofstream(dir_.file("f.inf"), std::ios::binary) << BasHeader().text();
  the_log().clear_history();
  load_img_proc(path);
  EXPECT_EQ(log_from(4), (Lines{"*****  Fuji BAS2000 format  *****", " read_fuji_file() : Find gimg_file_name",
                                " read_fuji_file() : File is too short.",
                                " load_img_proc() : Fuji image file " + path + " load error."}));
  EXPECT_EQ(img().NoImageFlag, 1);
}

// A missing or unreadable file is reported as such, naming the file, whatever its
// extension; the image it would have replaced stays in the store.
TEST_F(LoaderTest, AFileThatCannotBeOpenedSaysWhyAndKeepsTheStoresImage) {
  load_img_proc(raxis_frame().write(dir_.file("a.img")));
  ASSERT_EQ(img().NoImageFlag, 0);
  const auto codes = img().image_codes;
  std::filesystem::create_directory(dir_.file("folder.tif"));
  const std::string missing = std::generic_category().message(ENOENT);
  const std::pair<const char*, std::string> cases[] = {{"gone.img", missing}, {"gone.stl", missing}, {"gone.osc", missing},
                                                       {"gone.ccd", missing}, {"gone.tif", missing}, {"gone.gel", missing},
                                                       {"folder.tif", std::generic_category().message(EISDIR)}};
  for (const auto& [name, reason] : cases) {
    the_log().clear_history();
    const std::string path = dir_.file(name);
    EXPECT_NO_THROW(load_img_proc(path));
    EXPECT_EQ(img().NoImageFlag, 1) << name;
    EXPECT_EQ(img().ImageFilePath, path) << name;
    EXPECT_EQ(img().image_type, kTypeUndetermined) << name;
    EXPECT_EQ(log(), with(names(path), {" load_img_proc() : Cannot open " + path + ": " + reason + "."})) << name;
    EXPECT_EQ(img().image_codes, codes) << name;
  }
}

TEST_F(LoaderTest, ARaxisRefusalEndsWithTheReaderLineAndTheRigakuLine) {
  RaxisFixture f = raxis_frame();
  f.width = 10001;
  f.wavelength = 0.8f;
  const std::string path = f.write(dir_.file("big.img"));
  load_img_proc(path);
  EXPECT_EQ(img().NoImageFlag, 1);
  EXPECT_EQ(log(), with(names(path), {"read_rigaku_file() : Number of pixels is too large.",
                                      " load_img_proc() : Rigaku image file " + path + " load error."}));
  EXPECT_EQ(params().wavelength, double(0.8f));  // the header was read before the size was refused
}

TEST_F(LoaderTest, HeaderGeometryReplacesOnlyUnlockedValuesAndShowsInTheEdits) {
  RaxisFixture f = raxis_frame();
  f.wavelength = 0.71073f;
  f.camera_length = 127.5f;
  f.pixel_x = 0.05f;
  f.pixel_y = 0.1f;
  lock("LoCheck");
  set_real_parameter(*parameter_named("Lo"), 300.0);
  load_img_proc(f.write(dir_.file("a.img")));
  // The load ends by reading the edits back, so the values are the ones the edits show.
  EXPECT_EQ(params().Lo, 300.0);
  EXPECT_EQ(params().wavelength, 0.71073);
  EXPECT_EQ(params().pixel_x, 0.05);
  EXPECT_EQ(params().pixel_y, 0.1);
  EXPECT_EQ(edits().text(frmMain::edtCameraLength), "300.000000");
  EXPECT_EQ(edits().text(frmMain::edtLambda), "  0.710730");
  EXPECT_EQ(edits().text(frmMain::edtPixelX), "  0.050000");
  EXPECT_EQ(edits().text(frmMain::edtPixelY), "  0.100000");

  // Every lock at once keeps every value.
  for (const char* check : {"WaveLengthCheck", "PixelSizeXCheck", "PixelSizeYCheck"}) lock(check);
  f.wavelength = 2.0f;
  f.pixel_x = f.pixel_y = 0.2f;
  load_img_proc(f.write(dir_.file("a.img")));
  EXPECT_EQ(params().wavelength, 0.71073);
  EXPECT_EQ(params().pixel_x, 0.05);
  EXPECT_EQ(params().pixel_y, 0.1);
}

// With the locks off, a header value that is not a positive finite number leaves the user's
// value in place with one line each; the load itself goes on.
TEST_F(LoaderTest, UnusableHeaderValuesAreRefusedWithALineEach) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  RaxisFixture f = raxis_frame();
  f.wavelength = nan;
  f.camera_length = -inf;
  f.pixel_x = 0.0f;
  f.pixel_y = -0.1f;
  params().wavelength = 1.2;
  params().Lo = 200.0;
  params().pixel_x = params().pixel_y = 0.15;
  const std::string path = f.write(dir_.file("a.img"));
  load_img_proc(path);
  EXPECT_EQ(img().NoImageFlag, 0);
  EXPECT_EQ(log_from(4), (Lines{" Swapping byte order...",
                                " load_img_proc() : Header wavelength NAN is not usable; the value in use is kept.",
                                " load_img_proc() : Header camera length -INF is not usable; the value in use is kept.",
                                " load_img_proc() : Header pixel size X 0 is not usable; the value in use is kept.",
                                " load_img_proc() : Header pixel size Y " + FloatToStr(double(-0.1f)) +
                                    " is not usable; the value in use is kept.",
                                "Min to Max / Saturated intensity(log) = 0 to 8789 / 10000",
                                "Min to Max / Saturated intensity(linear) = 0 to 57856 / 262136",
                                " No parameter file " + dir_.file("a.kes") + "   Default values are used."}));
  EXPECT_EQ(params().wavelength, 1.2);
  EXPECT_EQ(params().Lo, 200.0);
  EXPECT_EQ(params().pixel_x, 0.15);
  EXPECT_EQ(params().pixel_y, 0.15);
  EXPECT_EQ(edits().text(frmMain::edtLambda), "  1.200000");

  // A locked value is not looked at.
  lock("WaveLengthCheck");
  the_log().clear_history();
  f.camera_length = 100.0f;
  f.pixel_x = f.pixel_y = 0.1f;
  load_img_proc(f.write(dir_.file("a.img")));
  EXPECT_EQ(log_from(4).at(1), "Min to Max / Saturated intensity(log) = 0 to 8789 / 10000");
}

// The rules of the header geometry over the locks: BA100 pixel sizes (X follows the Y in
// use), Bruker pixel sizes (1 mm whatever the locks), and the fields a caller asks for.
TEST_F(LoaderTest, HeaderGeometryFollowsTheLocksByTheFormatsRules) {
  struct Case {
    const char* name;
    HeaderGeometry g;
    std::vector<const char*> locks;
    HeaderFields fields;
    double wavelength, Lo, pixel_x, pixel_y;
    size_t refusals = 0;  // lines for unusable values
  };
  HeaderGeometry all;
  all.wavelength = 0.5;
  all.camera_length = 120.0;
  all.pixel_x = 0.05;
  all.pixel_y = 0.06;
  HeaderGeometry ba100;
  ba100.pixel_y = 0.2;
  ba100.pixel_x_follows_y = true;
  HeaderGeometry ba100_zero = ba100;
  ba100_zero.pixel_y = 0.0;
  HeaderGeometry bruker;
  bruker.pixel_x = bruker.pixel_y = 1.0;
  bruker.pixel_sizes_unlocked = true;
  const HeaderFields kAll = HeaderFields::All;
  const Case cases[] = {
      {"no locks", all, {}, kAll, 0.5, 120.0, 0.05, 0.06},
      {"every lock", all, {"WaveLengthCheck", "LoCheck", "PixelSizeXCheck", "PixelSizeYCheck"}, kAll, 1.0, 500.0, 0.3, 0.4},
      {"wavelength and camera length only", all, {}, HeaderFields::WavelengthAndCameraLength, 0.5, 120.0, 0.3, 0.4},
      {"BA100", ba100, {}, kAll, 1.0, 500.0, 0.2, 0.2},
      {"BA100, Y locked: X follows the user's Y", ba100, {"PixelSizeYCheck"}, kAll, 1.0, 500.0, 0.4, 0.4},
      {"BA100, X locked", ba100, {"PixelSizeXCheck"}, kAll, 1.0, 500.0, 0.3, 0.2},
      {"BA100 with an unusable size: X follows the user's Y", ba100_zero, {}, kAll, 1.0, 500.0, 0.4, 0.4, 1},
      {"Bruker, both locked", bruker, {"PixelSizeXCheck", "PixelSizeYCheck"}, kAll, 1.0, 500.0, 1.0, 1.0},
  };
  for (const Case& c : cases) {
    reset_for_reader_test();
    params().pixel_x = 0.3;
    params().pixel_y = 0.4;
    for (const char* check : c.locks) lock(check);
    Report report;
    apply_header_geometry(c.g, c.fields, " test() : ", report);
    EXPECT_EQ(params().wavelength, c.wavelength) << c.name;
    EXPECT_EQ(params().Lo, c.Lo) << c.name;
    EXPECT_EQ(params().pixel_x, c.pixel_x) << c.name;
    EXPECT_EQ(params().pixel_y, c.pixel_y) << c.name;
    EXPECT_EQ(report.lines().size(), c.refusals) << c.name;
    EXPECT_TRUE(log().empty()) << c.name;
  }
}

// Any supported file decodes into a second store (as the background loader, merging and
// batch conversion do) while the current image, the geometry, the edits and the log stay
// exactly as they were.
TEST_F(LoaderTest, AnyFormatDecodesIntoASecondStoreWithoutTouchingTheCurrentImage) {
  load_img_proc(raxis_frame().write(dir_.file("current.img")));
  ASSERT_EQ(img().NoImageFlag, 0);
  img().InfoText1 = "current info";
  const ImageStore before = img();
  const IntegrationParams params_before = params();
  const Lines edits_before = {edits().text(frmMain::edtLambda), edits().text(frmMain::edtCameraLength), edits().text(frmMain::edtPixelX),
                              edits().text(frmMain::edtPixelY)};
  const size_t log_before = log().size();

  auto text = [](const std::vector<uint8_t>& v) { return std::string(v.begin(), v.end()); };
  RaxisFixture raxis;
  raxis.width = 2;
  raxis.height = 1;
  raxis.codes = {40000, 7};
  raxis.wavelength = 0.5f;
  TiffFixture tiff;
  tiff.width = 2;
  tiff.height = 1;
  tiff.samples = encode_samples({9, 65535}, 16, false);
  TiffFixture float_tiff = tiff;
  float_tiff.bits = 32;
  float_tiff.sample_format = 3;
  float_tiff.samples = encode_float_samples({1.0f, 2.0f}, false);
  std::vector<uint16_t> frame_codes(1024 * 1024, 3);
  BasHeader bas;
  bas.width = "2";
  bas.height = "1";
  bas.info1 = "second info";
  std::ofstream(dir_.file("f.inf"), std::ios::binary) << bas.text();
  struct Case {
    std::string file;
    std::string bytes;
    std::vector<uint16_t> codes;
  };
  const Case cases[] = {
      {"r.img", raxis.bytes(), {40000, 7}},
      {"h.img", text(make_hipic(2, 1, 1, 0, {0x01, 0x80, 0x10, 0x00})), {0x8001, 0x10}},
      {"f.img", text(fuji_pixels({200, 3}, 1)), {200, 3}},
      {"b.ccd", text(make_bruker(frame_codes)), frame_codes},
      {"t.tif", text(tiff.build()), {9, 65535}},
      {"t2.tif", text(float_tiff.build()), {101, 102}},
      {"g.gel", text(tiff.build()), {9, 65535}},
  };
  for (const Case& c : cases) {
    const std::string path = dir_.file(c.file);
    ASSERT_TRUE(write_file_bytes(path, c.bytes));
    ImageStore second;
    ImageFileDecode file = decode_image_file(path, dir_.file("f.inf"), decode_options(path));
    ASSERT_TRUE(file.image.ok) << c.file << ::testing::PrintToString(file.image.lines);
    install_image(second, std::move(file.image));
    EXPECT_EQ(second.image_codes, c.codes) << c.file;
    EXPECT_EQ(second.PixelCount, int32_t(c.codes.size())) << c.file;

    EXPECT_EQ(img().image_codes, before.image_codes) << c.file;
    EXPECT_EQ(img().intensity_table, before.intensity_table) << c.file;
    EXPECT_EQ(img().log_table, before.log_table) << c.file;
    EXPECT_EQ(img().LinearMax, before.LinearMax) << c.file;
    EXPECT_EQ(img().LogSaturation, before.LogSaturation) << c.file;
    EXPECT_EQ(img().image_type, before.image_type) << c.file;
    EXPECT_EQ(img().BitsPerPixel, before.BitsPerPixel) << c.file;
    EXPECT_EQ(img().InfoText1, before.InfoText1) << c.file;
    EXPECT_EQ(img().ImageFilePath, before.ImageFilePath) << c.file;
    EXPECT_EQ(img().NoImageFlag, 0) << c.file;
    EXPECT_EQ(params().wavelength, params_before.wavelength) << c.file;
    EXPECT_EQ(params().Lo, params_before.Lo) << c.file;
    EXPECT_EQ(params().pixel_x, params_before.pixel_x) << c.file;
    EXPECT_EQ(params().pixel_y, params_before.pixel_y) << c.file;
    EXPECT_EQ((Lines{edits().text(frmMain::edtLambda), edits().text(frmMain::edtCameraLength), edits().text(frmMain::edtPixelX),
                     edits().text(frmMain::edtPixelY)}),
              edits_before)
        << c.file;
    EXPECT_EQ(log().size(), log_before) << c.file;
  }
  // The second store holds what the Fuji header declares.
  ImageStore second;
  install_image(second, std::move(decode_image_file(dir_.file("f.img"), dir_.file("f.inf"), decode_options("")).image));
  EXPECT_EQ(second.image_type, kTypeBAS2000);
  EXPECT_EQ(second.BitsPerPixel, 8);
  EXPECT_EQ(second.InfoText1, "second info");
}

TEST_F(LoaderTest, TheParameterFileIsFoundByExactNameThenByAUniqueCaseFreeMatch) {
  const std::string path = raxis_frame().write(dir_.file("SAMPLE.IMG"));
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
  lock("WaveLengthCheck");
  params().wavelength = 0.8;
  ASSERT_TRUE(write_text_file(dir_.file("a.kes"), param_file_lines()));
  params().wavelength = 0.5;
  load_img_proc(raxis_frame().write(dir_.file("a.img")));
  EXPECT_EQ(params().wavelength, 0.8);
  EXPECT_EQ(edits().text(frmMain::edtLambda), "  0.800000");
}

}  // namespace
}  // namespace kestrin::test
