// The parameter file commands: a save commits the main window's edits first (but for the
// settings file's name and a refused name), and a load shows the values in the edits.
#include <gtest/gtest.h>

#include "base/paths.h"
#include "base/text_file.h"
#include "commands/file_commands.h"
#include "image/files/param_file.h"
#include "image/loading_fixture.h"
#include "ports/names/main_form_names.h"

namespace kestrin::test {
namespace {

using Lines = std::vector<std::string>;
using Typed = std::pair<ControlName, const char*>;

class ParamFileCommands : public LoadingTest {
protected:
  Lines file_lines(const std::string& name) {
    std::string b;
    EXPECT_TRUE(read_file_bytes(dir_.file(name), b));
    return split_lines(b);
  }
};

// The typed texts are read as typed, not as the edits would show them: Phi keeps the
// digits its edit's three decimals would drop.
TEST_F(ParamFileCommands, SaveWritesTheTypedEdits) {
  const Typed typed[] = {
      {frmMain::edtCenterX0, "1024.123456"}, {frmMain::edtCenterY0, "-3.5"},     {frmMain::edtBandWidth, "42"},
      {frmMain::edtBeta, "12.3456"},         {frmMain::edtPhi, "0.1234567"},     {frmMain::edtPixelX, "0.1"},
      {frmMain::edtPixelY, "0.15"},          {frmMain::edt2ThetaBegin, "2.0"},   {frmMain::edt2ThetaEnd, "40.5"},
      {frmMain::edt2ThetaStep, "0.01"},      {frmMain::edtCameraLength, "250.25"}, {frmMain::edtLambda, "0.71073"}};
  for (auto [edit, text] : typed) edits().set_text(edit, text);
  save_param_command(dir_.file("run1.kes"));
  EXPECT_TRUE(log().empty());
  const Lines lines = file_lines("run1.kes");
  ASSERT_EQ(lines.size(), 17u);
  EXPECT_EQ(Lines(lines.begin() + 5, lines.end()),
            (Lines{"1024.12346", "  -3.50000", "    42", "  12.346", "  0.123457", "  0.100000", "  0.150000",
                   "  2.000000", " 40.500000", "  0.010000", "250.250000", "  0.710730"}));
  EXPECT_EQ(params().Phi, 0.1234567);
}

TEST_F(ParamFileCommands, LoadShowsTheValuesInTheEdits) {
  params().X0 = 1024.123456, params().Y0 = -3.5, params().band_width = 42, params().Beta = 12.3456;
  params().Phi = 0.1234567, params().pixel_x = 0.1, params().pixel_y = 0.15, params().two_theta_begin = 2.0;
  params().two_theta_end = 40.5, params().two_theta_step = 0.01, params().Lo = 250.25, params().wavelength = 0.71073;
  ASSERT_TRUE(write_text_file(dir_.file("run1.kes"), param_file_lines()));
  reset_state();
  load_param_command(dir_.file("run1.kes"));
  const Typed shown[] = {
      {frmMain::edtCenterX0, "1024.12346"}, {frmMain::edtCenterY0, "  -3.50000"},   {frmMain::edtBandWidth, "    42"},
      {frmMain::edtBeta, "  12.346"},       {frmMain::edtPhi, "   0.123"},           {frmMain::edtPixelX, "  0.100000"},
      {frmMain::edtPixelY, "  0.150000"},   {frmMain::edt2ThetaBegin, "  2.000000"}, {frmMain::edt2ThetaEnd, " 40.500000"},
      {frmMain::edt2ThetaStep, "  0.010000"}, {frmMain::edtCameraLength, "250.250000"}, {frmMain::edtLambda, "  0.710730"}};
  for (auto [edit, text] : shown) EXPECT_EQ(edits().text(edit), text) << to_string(edit);
  EXPECT_EQ(params().Phi, 0.123457);  // the file's value, not the edit's
}

TEST_F(ParamFileCommands, SaveRefusesOtherExtensionsAndReadsTheEditsFirst) {
  edits().set_text(frmMain::edtCameraLength, "123");
  params().Lo = 1;
  save_param_command(dir_.file("p.KES"));
  EXPECT_EQ(log(), Lines{" save_param_proc() : " + dir_.file("p.KES") + " is not a param file.. "});
  EXPECT_FALSE(file_exists(dir_.file("p.KES")));
  EXPECT_EQ(params().Lo, 1);  // the edits were not read
  save_param_command(dir_.file("p.kes"));
  EXPECT_EQ(params().Lo, 123);
  // The settings file's name skips the reading of the edits.
  edits().set_text(frmMain::edtCameraLength, "456");
  save_param_command(dir_.file("Kestrin.kes"));
  EXPECT_EQ(params().Lo, 123);
  EXPECT_TRUE(file_exists(dir_.file("Kestrin.kes")));
}

}  // namespace
}  // namespace kestrin::test
