// Batch conversion: each listed image loaded, integrated and written as an NPD pattern
// beside it; lines that do not load are skipped with a line and write nothing; the run is
// one long run that pumps events once per file and stops when the program ends.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "commands/batch_files_commands.h"
#include "analysis_fixture.h"
#include "base/paths.h"
#include "base/text_file.h"
#include "support/temp_dir.h"

namespace kestrin::test {
namespace {

using Lines = std::vector<std::string>;

// A pump that runs a scripted action each time the windows would handle their events.
struct ScriptedPump : EventPump {
  int pumps = 0;
  bool ending = false;
  std::function<void()> on_pump;
  void process_messages() override {
    ++pumps;
    if (on_pump) on_pump();
  }
  bool terminated() const override { return ending; }
};

class BatchTest : public AnalysisTest {
protected:
  void SetUp() override {
    AnalysisTest::SetUp();
    Ports p;
    p.events = &pump_;
    install_ports(p);
  }
  void TearDown() override {
    reset_headless_ports();
    AnalysisTest::TearDown();
  }
  std::string ring_image(const std::string& name) { return write_ring_raxis(dir_.file(name)); }
  // How many log lines begin with `prefix`.
  size_t lines_starting(const std::string& prefix) const {
    return size_t(std::count_if(log().begin(), log().end(), [&](const std::string& l) { return l.rfind(prefix, 0) == 0; }));
  }
  bool logged(const std::string& line) const { return std::find(log().begin(), log().end(), line) != log().end(); }

  ScriptedPump pump_;
  TempDir dir_;
};

TEST_F(BatchTest, AnEmptyListDoesNothing) {
  state().macro.MacroRecording = true;
  batch_convert_files({});
  EXPECT_TRUE(log().empty());
  EXPECT_TRUE(state().macro.MacroList.empty());
  EXPECT_EQ(pump_.pumps, 0);
}

// Lines that do not load are skipped: a blank line, a corrupt TIFF, a name without a folder.
// Their patterns are never written, and the lines after them go on.
TEST_F(BatchTest, LinesThatDoNotLoadAreSkippedAndTheRestGoOn) {
  const std::string a = ring_image("a.img"), b = ring_image("b.img");
  const std::string corrupt = dir_.file("corrupt.tif");
  ASSERT_TRUE(write_file_bytes(corrupt, std::string("II*\0\x08\0\0\0\xff\xff", 10)));
  batch_convert_files({a, "", corrupt, "c.img", b});
  EXPECT_EQ(lines_starting(" Img  name = "), 3u);  // a, the corrupt file and b reach the reader
  for (const std::string& line : {std::string(" load_img_proc() : No file selected. "),
                                  std::string(" batch_convert() :  skipped."),
                                  " load_img_proc() : TIFF image file " + corrupt + " load error.",
                                  " batch_convert() : " + corrupt + " skipped.",
                                  std::string("load_img_proc() : c.img does not have explicit path."),
                                  std::string(" batch_convert() : c.img skipped.")})
    EXPECT_TRUE(logged(line)) << line;
  EXPECT_FALSE(file_exists(dir_.file("corrupt.npd")));
  EXPECT_FALSE(file_exists("c.npd"));
  EXPECT_EQ(pump_.pumps, 5);
  EXPECT_EQ(current_image().ImageFilePath, b);
}

// With recording on, only the integration records, once per image that loads.
TEST_F(BatchTest, OnlyTheIntegrationRecordsItsLine) {
  const std::string a = ring_image("a.img"), b = ring_image("b.img");
  state().macro.MacroRecording = true;
  batch_convert_files({a, "", b});
  EXPECT_EQ(state().macro.MacroList, Lines(2, "Kestrin.FineAngleIntensity();"));
}

// "Execute" pressed while the run pumps events starts no second run.
TEST_F(BatchTest, ASecondRunFromInsideThePumpIsRefused) {
  const std::string a = ring_image("a.img"), b = ring_image("b.img");
  pump_.on_pump = [&] { batch_convert_files({a, b}); };
  batch_convert_files({a, b});
  EXPECT_EQ(lines_starting(" Img  name = "), 2u);
  EXPECT_EQ(lines_starting(" batch_convert() : another run is in progress."), 2u);
  EXPECT_EQ(pump_.pumps, 2);
}

TEST_F(BatchTest, TheRunStopsAfterTheCurrentFileWhenTheProgramEnds) {
  const std::string a = ring_image("a.img"), b = ring_image("b.img");
  pump_.on_pump = [&] { pump_.ending = true; };
  batch_convert_files({a, b, a});
  EXPECT_EQ(lines_starting(" Img  name = "), 1u);
  EXPECT_EQ(current_image().ImageFilePath, a);
}

}  // namespace
}  // namespace kestrin::test
