// The background window's commands without widgets: the size refusal after the copy, a
// cancel that keeps the finished rows and skips the statistics, subtractions that start
// from the same background (the file's, or the one Make BG made), the refusals, the save
// cancel, Pause pressed twice and the program ending during a pause.
#include "commands/bg_commands.h"

#include <gtest/gtest.h>

#include <functional>

#include "analysis/bg_filter.h"
#include "analysis/bg_subtract.h"
#include "commands/file_commands.h"
#include "commands/osc_ana_commands.h"
#include "image/bg_image.h"
#include "image/image_loader.h"
#include "image/image_store.h"
#include "model/state.h"
#include "ports/names/bg_form_names.h"
#include "support/raxis_fixture.h"
#include "support/state_fixture.h"
#include "support/temp_dir.h"

namespace kestrin::test {
namespace {

class PollPump : public EventPump {
public:
  std::function<void(int)> on_poll;
  std::function<void()> on_wait;
  bool ended = false;
  int polls = 0;
  void process_messages() override {
    if (on_poll) on_poll(++polls);
  }
  void wait_until(const std::function<bool()>&) override {
    if (on_wait) on_wait();
  }
  bool terminated() const override { return ended; }
};

class MessagePrompts : public Prompts {
public:
  std::vector<std::string> messages;
  void message(std::string_view text) override { messages.emplace_back(text); }
};

class BgCommandsTest : public StateTest {
protected:
  void SetUp() override {
    StateTest::SetUp();
    Ports p;
    p.events = &pump_;
    p.prompts = &prompts_;
    install_ports(p);
    RaxisFixture image;
    image.width = 40;
    image.height = 70;
    image.codes.resize(size_t(image.width * image.height));
    for (size_t i = 0; i < image.codes.size(); ++i) image.codes[i] = uint16_t(200 + (i * 37) % 101);
    image_file_ = image.write(dir_.file("image.img"));
    RaxisFixture flat = image;
    flat.codes.assign(flat.codes.size(), 150);
    bg_file_ = flat.write(dir_.file("bg.img"));
    load_img_proc(image_file_);
    edit(frmBG::edtFilterSize, "5");
    edit(frmBG::edtFilterStep, "0");
    the_log().clear_history();
  }
  void TearDown() override { reset_headless_ports(); }

  void load_bg_file() {
    load_bg_img_command(bg_file_);
    edit(frmBG::lblBGFileName, "bg.img");
  }
  TempDir dir_;
  std::string image_file_, bg_file_;
  PollPump pump_;
  MessagePrompts prompts_;
};

TEST_F(BgCommandsTest, AnEvenSizeIsRefusedAfterTheCopy) {
  edit(frmBG::edtFilterSize, "20");
  make_bg_command();
  EXPECT_EQ(prompts_.messages, (std::vector<std::string>{"Filter Size Error"}));
  EXPECT_EQ(bg_image().NoImageFlag, 0);
  EXPECT_EQ(bg_image().image_codes, std::vector<uint16_t>(40 * 70, 0));
  EXPECT_EQ(pump_.polls, 0);
}

TEST_F(BgCommandsTest, CancelKeepsTheFinishedRowsAndSkipsTheStatistics) {
  pump_.on_poll = [](int n) {
    if (n == 1) state().BatchState = kBatchStop;
  };
  make_bg_command();
  const ImageStore& bg = bg_image();
  const ImageStore& img = current_image();
  EXPECT_EQ(bg.LinearMax, 0);  // not recomputed (a normal end starts the maximum at 9999)
  // The last rows were never filtered: they hold the image's codes.
  for (int32_t x = 0; x < 40; ++x) EXPECT_EQ(bg.image_codes[size_t(x + 40 * 69)], img.image_codes[size_t(x + 40 * 69)]);
  EXPECT_NE(std::vector<uint16_t>(bg.image_codes.begin() + 40 * 10, bg.image_codes.begin() + 40 * 11),
            std::vector<uint16_t>(img.image_codes.begin() + 40 * 10, img.image_codes.begin() + 40 * 11));
}

TEST_F(BgCommandsTest, PausePressedTwiceResumesTheRun) {
  pump_.on_poll = [](int n) {
    if (n != 1) return;
    batch_toggle_pause_command();
    batch_toggle_pause_command();
  };
  bool waited = false;
  pump_.on_wait = [&waited] { waited = true; };
  make_bg_command();
  EXPECT_FALSE(waited);
  EXPECT_EQ(bg_image().LinearMax, 9999);  // a normal end: the statistics start at 9999
  EXPECT_GT(pump_.polls, 2);
}

TEST_F(BgCommandsTest, SubtractionsStartFromTheLoadedOrTheMadeBackground) {
  subtract_bg_command();
  EXPECT_EQ(prompts_.messages, (std::vector<std::string>{"Please load BG first."}));
  edit(frmBG::lblBGFileName, "bg.img");
  subtract_bg_command();
  EXPECT_EQ(prompts_.messages.back(), "Error. Please load BG first.");

  load_bg_file();
  const auto loaded_image = current_image().image_codes;
  subtract_bg_command();
  const auto first = bg_image().image_codes;
  const std::string offset = controls().text(frmBG::edtOffset1);
  current_image().image_codes = loaded_image;  // the subtraction smooths the image in place
  subtract_bg_command();
  EXPECT_EQ(bg_image().image_codes, first);  // from the file again, not from the first result
  EXPECT_EQ(controls().text(frmBG::edtOffset1), offset);

  // Make BG after a loaded background: the subtraction uses the background just made.
  make_bg_command();
  ASSERT_EQ(bg_image().LogMax, 65535);
  const auto made = bg_image().image_codes;
  EXPECT_EQ(state().made_bg_codes, made);
  const auto image_before = current_image().image_codes;
  subtract_bg_command();
  const auto once = bg_image().image_codes;
  current_image().image_codes = image_before;
  subtract_bg_command();
  EXPECT_EQ(bg_image().image_codes, once);
  // What the fault gave: the background reloaded from the image's own file.
  load_bg_img_command(image_file_);
  current_image().image_codes = image_before;
  subtract_bg_command();
  EXPECT_NE(bg_image().image_codes, once);
  // Loading a file again makes it the background to restore.
  load_bg_file();
  EXPECT_TRUE(state().made_bg_codes.empty());
}

TEST_F(BgCommandsTest, SaveCancelIsLogged) {
  save_bg_command();
  EXPECT_EQ(log(), (std::vector<std::string>{" save_bg_proc() : cancel "}));
}

TEST_F(BgCommandsTest, FilterEditsPassOrFail) {
  EXPECT_TRUE(filter_size_ok());
  edit(frmBG::edtFilterSize, "6");
  EXPECT_FALSE(filter_size_ok());
}

TEST_F(BgCommandsTest, TheProgramEndingWhilePausedEndsTheRunAtOnce) {
  pump_.on_poll = [](int n) {
    if (n == 1) state().BatchState = kBatchPause;
  };
  pump_.on_wait = [this] { pump_.ended = true; };
  make_bg_command();
  EXPECT_EQ(pump_.polls, 1);
  EXPECT_EQ(bg_image().LinearMax, 0);  // statistics not recomputed: the run ended as a cancel
}

}  // namespace
}  // namespace kestrin::test
