// The program's R-AXIS writer: which store it writes, the row order of the VerticalReverse
// option, the header geometry it takes under the locks, and its log lines.
#include <gtest/gtest.h>

#include "base/paths.h"
#include "base/text_file.h"
#include "commands/file_commands.h"
#include "image/image_loader.h"
#include "image/image_writers.h"
#include "image/loading_fixture.h"
#include "commands/parameter_io.h"
#include "ports/log.h"
#include "support/raxis_fixture.h"

namespace kestrin::test {
namespace {

class ImageWriters : public LoadingTest {
protected:
  Report log_ = log_report();
  RaxisFixture loaded(float wavelength = 0.9f) {
    RaxisFixture f;
    f.width = 2;
    f.codes = {1, 2, 3, 4, 5, 6};
    f.wavelength = wavelength;
    f.camera_length = 200.0f;
    load_img_proc(f.write(dir_.file("source.img")));
    EXPECT_EQ(img().NoImageFlag, 0);
    the_log().clear_history();
    return f;
  }
  std::string file(const std::string& name) {
    std::string bytes;
    EXPECT_TRUE(read_file_bytes(dir_.file(name), bytes));
    return bytes;
  }
};

TEST_F(ImageWriters, RaxisWritesTheCurrentOrTheBackgroundImageInTheFilesRowOrder) {
  state().options.VerticalReverse = 1;
  RaxisFixture f = loaded();
  EXPECT_EQ(save_rigaku_file(dir_.file("copy.img"), 1, log_), 0);
  EXPECT_EQ(file("copy.img"), f.bytes());
  bg_image().set_size(2, 3, 2);
  bg_image().image_codes = {60, 50, 40, 30, 20, 10};
  EXPECT_EQ(save_rigaku_file(dir_.file("bg.img"), 0, log_), 0);
  f.codes = {20, 10, 40, 30, 60, 50};
  EXPECT_EQ(file("bg.img"), f.bytes());
  EXPECT_TRUE(log().empty());
}

TEST_F(ImageWriters, RaxisTakesWavelengthAndCameraLengthFromTheLoadedFileUnlessLocked) {
  loaded();
  params().wavelength = 1.0;
  params().Lo = 100.0;
  params().pixel_x = 0.3;
  set_integer_parameter(*parameter_named("LoCheck"), 1);
  EXPECT_EQ(save_rigaku_file(dir_.file("copy.img"), 1, log_), 0);
  EXPECT_EQ(params().wavelength, double(0.9f));
  EXPECT_EQ(params().Lo, 100.0);
  EXPECT_EQ(params().pixel_x, 0.3);
}

TEST_F(ImageWriters, RaxisRefusalsAreLogged) {
  loaded(-1.0f);
  params().wavelength = 1.0;
  bg_image().set_size(2, 2, 2);  // a background smaller than the file's image
  EXPECT_EQ(save_rigaku_file(dir_.file("copy.img"), 0, log_), 1);
  EXPECT_EQ(log(), (std::vector<std::string>{
                       "save_rigaku_file() : Header wavelength -1 is not usable; the value in use is kept.",
                       "save_rigaku_file() : Image size does not match " + dir_.file("copy.img") + "."}));
  EXPECT_EQ(params().wavelength, 1.0);
  EXPECT_FALSE(file_exists(dir_.file("copy.img")));
}

}  // namespace
}  // namespace kestrin::test
