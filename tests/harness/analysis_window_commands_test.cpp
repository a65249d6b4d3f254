// The tool windows' harness commands: a control's text set and read by name, a spot list
// loaded and its analysis list written back, and a reference list loaded.
#include <gtest/gtest.h>

#include "base/text_file.h"
#include "commands/headless_ports.h"
#include "harness/harness.h"
#include "harness/harness_fixture.h"
#include "image/program_state.h"
#include "model/state.h"
#include "support/temp_dir.h"

namespace kestrin::harness {
namespace {

TEST(HarnessToolWindowCommands, TextsListsAndReferences) {
  reset_state();
  reset_headless_ports();
  test::TempDir dir;
  ASSERT_TRUE(write_file_bytes(dir.file("in.csv"), "1,10.5,20,300\r\n2,30,40,500\r\n"));
  ASSERT_TRUE(write_file_bytes(dir.file("ref.csv"), "1,1.5,2.5,7\r\n"));
  std::string err;
  const std::string out = run_lines("GetText frmOscAna.edtSearchDistance\n"
                              "SetText frmOscAna.edtSearchDistance 35\n"
                              "GetText frmOscAna.edtSearchDistance\n"
                              "GetText nodot\n"
                              "LoadSpotList " + dir.file("in.csv") + "\n"
                              "SaveSpotAnalysisList " + dir.file("out.csv") + "\n"
                              "LoadSpotReference " + dir.file("ref.csv") + "\n"
                              "Spot2ThetaCalc 1\n",
                              &err);
  EXPECT_EQ(out, "20\n35\n= 2\n= 1\n Spot2ThetaCalc():Image data does not exist\n");
  EXPECT_NE(err.find("a control is named form.control: nodot"), std::string::npos) << err;
  std::string text;
  ASSERT_TRUE(read_file_bytes(dir.file("out.csv"), text));
  EXPECT_EQ(text.substr(text.find("\r\n") + 2, 14), "1,10.5,20,300,");
  EXPECT_EQ(state().spot_reference.at(0).intensity, 7);
}

}  // namespace
}  // namespace kestrin::harness
