// The background loader: its own store beside an untouched current image, its messages in
// the background's words, the view it resets; the click readout; and the processed image
// written by the current image's type, read back by fabio.
#include "commands/file_commands.h"
#include "image/bg_image.h"

#include <gtest/gtest.h>

#include "base/convert.h"
#include "base/text_file.h"
#include "commands/bg_commands.h"
#include "commands/parameter_io.h"
#include "ports/log.h"
#include "support/temp_dir.h"
#include "image/image_loader.h"
#include "image/loading_fixture.h"
#include "ports/names/bg_form_names.h"
#include "ports/names/main_form_names.h"
#include "support/fuji_fixture.h"
#include "support/hipic_fixture.h"
#include "support/raxis_fixture.h"
#include "support/tiff_fixture.h"

namespace kestrin::test {
namespace {

class RecordingBgWindow : public BgWindowPort {
public:
  int resized = 0, redraws = 0;
  std::vector<std::string> captions;
  void bg_image_resized() override { ++resized; }
  void redraw_bg_view() override { ++redraws; }
  void set_caption(std::string_view caption) override { captions.emplace_back(caption); }
};


// fabio's intensities of an image file, row-major; empty when it cannot read it.
std::vector<double> fabio_intensities(const TempDir& dir, const std::string& path) {
  const std::string script =
      "import fabio, sys\n"
      "d = fabio.open(sys.argv[1]).data\n"
      "print('\\n'.join(repr(float(v)) for v in d.ravel()))\n";
  const std::string script_path = dir.file("dump.py");
  EXPECT_TRUE(write_file_bytes(script_path, script));
  std::string out;
  EXPECT_EQ(run_command(std::string(kPeerPython) + " " + script_path + " '" + path + "'", &out), 0) << out;
  std::vector<double> values;
  for (const std::string& line : split_lines(out)) values.push_back(StrToFloat(line));
  return values;
}

std::vector<double> bg_intensities() {
  std::vector<double> v;
  for (uint16_t c : bg_image().image_codes) v.push_back(bg_image().intensity_table[c]);
  return v;
}

// A background made from the current image (same frame and law), filled with its own codes.
void make_background(uint16_t first) {
  ImageStore& bg = bg_image();
  const ImageStore& img = current_image();
  static_cast<ImageData&>(bg) = static_cast<const ImageData&>(img);
  bg.image_type = img.image_type;
  bg.NoImageFlag = 0;
  uint16_t c = first;
  for (uint16_t& code : bg_image().image_codes) code = c++;
}

class BgImageTest : public LoadingTest {
protected:
  Report log_ = log_report();
  void SetUp() override {
    LoadingTest::SetUp();
    Ports p = ports();
    p.bg_window = &bg_window_;
    install_ports(p);
  }
  ImageStore& bg() { return bg_image(); }
  std::string tiff_file(const std::string& name, uint32_t w, uint32_t h, uint16_t first = 1) {
    TiffFixture t;
    t.width = w;
    t.height = h;
    std::vector<uint16_t> codes(size_t(w) * h);
    for (size_t i = 0; i < codes.size(); ++i) codes[i] = uint16_t(first + i);
    t.samples = encode_samples(codes, 16, false);
    write_bytes(dir_.file(name), t.build());
    return dir_.file(name);
  }
  RecordingBgWindow bg_window_;
};

TEST_F(BgImageTest, LoadsIntoItsOwnStoreAndLeavesTheCurrentImage) {
  RaxisFixture current;
  current.width = 4;
  current.height = 3;
  current.wavelength = 1.5f;
  current.camera_length = 250;
  load_img_proc(current.write(dir_.file("current.img")));
  ASSERT_EQ(img().NoImageFlag, 0);
  const ImageStore before = img();
  const IntegrationParams geometry = params();

  const std::string name = tiff_file("back.tif", 6, 5, 100);
  the_log().clear_history();
  load_bg_img_command(name);
  EXPECT_EQ(bg().NoImageFlag, 0);
  EXPECT_EQ(bg().ImageWidth, 6);
  EXPECT_EQ(bg().image_type, kTypeTiff);
  EXPECT_EQ(bg().image_codes.front(), 100);
  EXPECT_EQ(img().image_codes, before.image_codes);
  EXPECT_EQ(img().ImageWidth, 4);
  EXPECT_EQ(img().image_type, before.image_type);
  EXPECT_EQ(img().ImageFilePath, before.ImageFilePath);
  EXPECT_EQ(img().intensity_table, before.intensity_table);
  EXPECT_EQ(params().X0, geometry.X0);
  EXPECT_EQ(log().back(), "BG:Min to Max / Saturated intensity(linear) = 100 to 129 / 65535");
  EXPECT_NE(std::find(log().begin(), log().end(), " Img  name = " + name), log().end());
  EXPECT_EQ(bg_window_.captions, std::vector<std::string>{"KES for Windows (BG) " + name});
  EXPECT_EQ(controls().item_index(frmBG::cmbMagni), 1);
  EXPECT_EQ(controls().text(frmBG::edtMagni), "1.0");
  EXPECT_EQ(state().bg_levels.level.size(), 30u);
  EXPECT_GE(bg_window_.redraws, 1);
  EXPECT_EQ(views_.redraws, 0);  // the image window is not touched
}

// The R-AXIS background takes the wavelength and camera length of its header, not the
// pixel sizes, and writes nothing into the edits.
TEST_F(BgImageTest, RaxisBackgroundTakesOnlyWavelengthAndCameraLength) {
  for (const char* lock : {"LoCheck", "WaveLengthCheck", "PixelSizeXCheck", "PixelSizeYCheck"})
    set_integer_parameter(*parameter_named(lock), 0);
  params().pixel_x = params().pixel_y = 0.2;
  RaxisFixture f;
  f.wavelength = 0.7f;
  f.camera_length = 123;
  f.pixel_x = f.pixel_y = 0.05f;
  const std::string edit_before = edits().text(frmMain::edtCameraLength);
  load_bg_img_command(f.write(dir_.file("bg.img")));
  EXPECT_EQ(bg().NoImageFlag, 0);
  EXPECT_FLOAT_EQ(float(params().wavelength), 0.7f);
  EXPECT_EQ(params().Lo, 123);
  EXPECT_EQ(params().pixel_x, 0.2);
  EXPECT_EQ(edits().text(frmMain::edtCameraLength), edit_before);
}

TEST_F(BgImageTest, MessagesInTheBackgroundsWords) {
  RaxisFixture big;
  big.width = 10001;
  const std::string big_name = big.write(dir_.file("big.img"));
  write_bytes(dir_.file("bad.img"), make_hipic(4, 4, 2, 0, std::vector<uint8_t>(4 * 4 * 4, 1)));
  write_bytes(dir_.file("bad.tif"), std::vector<uint8_t>{'I', 'I', 42, 0, 8, 0, 0, 0});
  write_bytes(dir_.file("fuji.img"), std::vector<uint8_t>(64, 0));
  BasHeader huge;
  huge.width = "20000";
  ASSERT_TRUE(write_file_bytes(dir_.file("huge.inf"), huge.text()));
  write_bytes(dir_.file("huge.img"), std::vector<uint8_t>(64, 0));
  const std::pair<std::string, std::vector<std::string>> cases[] = {
      {"", {" load_bg_img_proc() : No file selected. "}},
      {"a.txt", {" load_bg_img_proc() : a.txt is not a image file.. "}},
      {"a.img", {"load_bg_img_proc() : a.img does not have explicit path."}},
      {big_name, {"read_bg_rigaku_file() : Number of pixels is too large.",
                  " load_bg_img_proc() : Rigaku image file " + big_name + " load error."}},
      {dir_.file("bad.img"), {"read_bg_hipic_file. byte error.",
                              " load_bg_img_proc() : HIPIC image file " + dir_.file("bad.img") + " load error."}},
      {dir_.file("bad.tif"), {"BG: tiff file error",
                              " load_bg_img_proc() : TIFF image file " + dir_.file("bad.tif") + " load error."}},
      {dir_.file("fuji.img"), {" read_bg_information_file() : " + dir_.file("fuji.inf") + " open error.",
                               " load_bg_img_proc() : Fuji image file " + dir_.file("fuji.img") + " load error."}},
      {dir_.file("huge.img"), {" read_bg_infomation_file() : Number of pixels is too large.",
                               " load_bg_img_proc() : Fuji image file " + dir_.file("huge.img") + " load error."}},
  };
  for (const auto& [name, tail] : cases) {
    the_log().clear_history();
    load_bg_img_command(name);
    ASSERT_GE(log().size(), tail.size()) << name;
    EXPECT_EQ(std::vector<std::string>(log().end() - std::ptrdiff_t(tail.size()), log().end()), tail) << name;
    EXPECT_EQ(bg().NoImageFlag, 1) << name;
  }
  EXPECT_TRUE(bg_window_.captions.empty());
}

TEST_F(BgImageTest, DialogRemembersTheImageFolderAndLoads) {
  struct OneAnswer : HeadlessFileDialogs {
    std::string answer;
    FileDialogSetup seen;
    std::string run_open(const FileDialogSetup& s) override {
      seen = s;
      return answer;
    }
  } dialogs;
  dialogs.answer = tiff_file("b.tif", 3, 3);
  Ports p = ports();
  p.file_dialogs = &dialogs;
  install_ports(p);
  state().dialog_slots.folder[kSlotImageOpen] = "/start/";
  load_bg_img_dialog();
  EXPECT_EQ(dialogs.seen.folder, "/start/");
  EXPECT_TRUE(dialogs.seen.must_exist);
  EXPECT_EQ(dialogs.seen.filter.substr(0, 32), "Rigaku R-AXIS5 or FUJI or HiPiC ");
  EXPECT_EQ(state().dialog_slots.folder[kSlotImageOpen], dir_.path());
  EXPECT_EQ(bg().NoImageFlag, 0);
  p.file_dialogs = nullptr;
  install_ports(p);
}

// The levels come from the background's own tables and view scale; equal edges divide by
// nothing: below them 0, at and above them 255.
TEST_F(BgImageTest, DisplayLevelsWithEqualEdges) {
  load_bg_img_command(tiff_file("levels.tif", 4, 1, 99));  // codes 99 .. 102
  DisplayScale& scale = state().bg_view.scale;
  scale.DisplayMode = 1;
  scale.LowEdge = scale.HighEdge = 100;
  const int redraws = bg_window_.redraws;
  show_bg_display_levels();
  EXPECT_EQ(state().bg_levels.level, (std::vector<uint8_t>{0, 255, 255, 255}));
  EXPECT_EQ(bg_window_.redraws, redraws + 1);
}

TEST_F(BgImageTest, ClickReadoutGridMaximumAndCentroid) {
  load_bg_img_command(tiff_file("grid.tif", 40, 30, 0));
  ImageStore& b = bg();
  std::fill(b.image_codes.begin(), b.image_codes.end(), 0);
  b.image_codes[20 + 40 * 15] = 100;  // the middle: Round(40 / 2), Round(30 / 2)
  b.image_codes[21 + 40 * 15] = 50;
  for (int c = 0; c < kCodeCount; ++c) b.intensity_table[size_t(c)] = 2.0 * c;  // the background's own law
  the_log().clear_history();
  double x = 0, y = 0;
  find_bg_local_maximum(x, y, log_);
  ASSERT_EQ(log().size(), 23u + 2);
  EXPECT_EQ(log()[0].size(), 23u * 5);
  EXPECT_EQ(log()[11].substr(11 * 5, 10), "  200  100");
  EXPECT_EQ(log()[23], "Maximum (  20,  15) Intensity =  200.00");
  EXPECT_DOUBLE_EQ(x, 20 + 100.0 / 300);
  EXPECT_EQ(y, 15);
  EXPECT_EQ(log()[24], " Fitted " + Format("%10.5f", {x}) + "," + Format("%10.5f", {15.0}));

  std::fill(b.image_codes.begin(), b.image_codes.end(), 0);
  state().options.VerticalReverse = 1;
  the_log().clear_history();
  x = 3.4, y = 7.6;
  find_bg_local_maximum(x, y, log_);
  EXPECT_EQ(x, 3.4);
  EXPECT_EQ(y, 7.6);
  EXPECT_EQ(log().size(), 13u + 2);
  EXPECT_EQ(log()[0].size(), 10u * 5);  // columns -3 .. 6 lie inside the image
  EXPECT_EQ(log()[13], "Maximum (   3,  21) Intensity =    0.00");
}

TEST_F(BgImageTest, ProcessedImageIsWrittenByTheCurrentImagesTypeAndReadsBack) {
  KESTRIN_REQUIRE_PEER("fabio");
  for (const char* signature : {"R-AXIS4", "R-AXIS ", "R-AXIS-CS"}) {
    RaxisFixture f;
    f.signature = signature;
    f.width = 7;
    f.height = 5;
    load_img_proc(f.write(dir_.file("source.img")));
    ASSERT_EQ(img().NoImageFlag, 0) << signature;
    make_background(32760);  // across the overflow codes
    const std::string out = dir_.file(std::string("out") + std::to_string(img().image_type) + ".img");
    save_processed_image(out, log_);
    EXPECT_EQ(fabio_intensities(dir_, out), bg_intensities()) << signature;
  }
  load_img_proc(tiff_file("source.tif", 6, 4));
  make_background(40000);
  save_processed_image(dir_.file("out.tif"), log_);
  EXPECT_EQ(fabio_intensities(dir_, dir_.file("out.tif")), bg_intensities());
}

TEST_F(BgImageTest, ProcessedHipicAndFujiImagesReadBackAndOtherTypesAreRefused) {
  std::vector<uint8_t> pixels;
  for (int i = 0; i < 5 * 3; ++i) pixels.push_back(uint8_t(i)), pixels.push_back(0);
  write_bytes(dir_.file("h.img"), make_hipic(5, 3, 1, 0, pixels));
  BasHeader header;
  header.bits = "16";
  ASSERT_TRUE(write_file_bytes(dir_.file("f.inf"), header.text()));
  write_bytes(dir_.file("f.img"), fuji_pixels(std::vector<uint16_t>(8 * 4, 7), 2));
  for (const char* name : {"h.img", "f.img"}) {
    load_img_proc(dir_.file(name));
    ASSERT_EQ(img().NoImageFlag, 0) << name;
    make_background(300);
    const auto written = bg_image().image_codes;
    const std::string out = dir_.file(std::string("out_") + name);
    save_processed_image(out, log_);
    load_bg_img_command(out);
    EXPECT_EQ(bg_image().image_codes, written) << name;
  }
  img().image_type = kTypeBruker;
  save_processed_image(dir_.file("out.ccd"), log_);
  EXPECT_EQ(log().back(), " save_processed_image() : Images of type 7 cannot be written.");
}

}  // namespace
}  // namespace kestrin::test
