// The ".kes" parameter file: the exact written form, reading back, early ends, the names
// of "default.kes", and the settings file that a save must never replace.
#include <gtest/gtest.h>

#include <filesystem>

#include <cstdlib>

#include "base/paths.h"
#include "base/text_file.h"
#include "commands/file_commands.h"
#include "image/files/param_file.h"
#include "image/loading_fixture.h"
#include "commands/parameter_io.h"
#include "ports/names/main_form_names.h"

namespace kestrin::test {
namespace {

using Lines = std::vector<std::string>;

class ParamFileTest : public LoadingTest {
protected:
  // The names and the parameters, typed into the edits as a save reads them.
  void set_values() {
    img().ImageFolder = "/data/";
    img().ImageFileName = "/data/run1.img";
    img().PatternFolder = "/data/out/";
    state().nax_pattern.PatternName = "run1_all";
    const std::pair<ControlName, const char*> typed[] = {
        {frmMain::edtCenterX0, "1024.123456"}, {frmMain::edtCenterY0, "-3.5"},     {frmMain::edtBandWidth, "42"},
        {frmMain::edtBeta, "12.3456"},         {frmMain::edtPhi, "0.1234567"},     {frmMain::edtPixelX, "0.1"},
        {frmMain::edtPixelY, "0.15"},          {frmMain::edt2ThetaBegin, "2.0"},   {frmMain::edt2ThetaEnd, "40.5"},
        {frmMain::edt2ThetaStep, "0.01"},      {frmMain::edtCameraLength, "250.25"}, {frmMain::edtLambda, "0.71073"}};
    for (auto [edit, text] : typed) edits().set_text(edit, text);
    read_parameters(img().ImageHeight);
  }
  std::string bytes(const std::string& name) {
    std::string b;
    EXPECT_TRUE(read_file_bytes(dir_.file(name), b));
    return b;
  }
  void write(const std::string& name, const std::string& text) { ASSERT_TRUE(write_file_bytes(dir_.file(name), text)); }
  // A file of the first `n` lines of the golden file.
  std::string first_lines(size_t n) {
    std::string out;
    const Lines lines = split_lines(kGolden);
    for (size_t i = 0; i < n && i < lines.size(); ++i) out += lines[i] + "\r\n";
    return out;
  }

  static constexpr const char* kGolden =
      "*******   Configuration for kes   by Kestrin   *******\r\n"
      "/data/\r\n"
      "/data/run1.img\r\n"
      "/data/out/\r\n"
      "run1_all\r\n"
      "1024.12346\r\n"
      "  -3.50000\r\n"
      "    42\r\n"
      "  12.346\r\n"
      "  0.123457\r\n"
      "  0.100000\r\n"
      "  0.150000\r\n"
      "  2.000000\r\n"
      " 40.500000\r\n"
      "  0.010000\r\n"
      "250.250000\r\n"
      "  0.710730\r\n";
};

TEST_F(ParamFileTest, SaveWritesTheSeventeenLinesWithTheirWidthsAndCrLf) {
  set_values();
  save_param_command(dir_.file("run1.kes"));
  EXPECT_EQ(bytes("run1.kes"), kGolden);
  EXPECT_TRUE(log().empty());
}

TEST_F(ParamFileTest, LoadBringsTheValuesBackAndShowsThemInTheEdits) {
  set_values();
  const IntegrationParams saved = params();
  save_param_command(dir_.file("run1.kes"));
  reset_state();
  load_param_command(dir_.file("run1.kes"));
  const IntegrationParams& p = params();
  EXPECT_EQ(p.X0, 1024.12346);
  EXPECT_EQ(p.Y0, saved.Y0);
  EXPECT_EQ(p.band_width, 42);
  EXPECT_EQ(p.Beta, 12.346);
  EXPECT_EQ(p.Phi, 0.123457);
  EXPECT_EQ(p.pixel_x, saved.pixel_x);
  EXPECT_EQ(p.pixel_y, saved.pixel_y);
  EXPECT_EQ(p.pixel_ratio(), 0.15 / 0.1);
  EXPECT_EQ(p.two_theta_begin, saved.two_theta_begin);
  EXPECT_EQ(p.two_theta_end, saved.two_theta_end);
  EXPECT_EQ(p.two_theta_step, saved.two_theta_step);
  EXPECT_EQ(p.Lo, saved.Lo);
  EXPECT_EQ(p.wavelength, saved.wavelength);
  EXPECT_EQ(img().ImageFolder, "");  // names come back only from "default.kes"
  const std::pair<ControlName, const char*> shown[] = {
      {frmMain::edtCenterX0, "1024.12346"}, {frmMain::edtCenterY0, "  -3.50000"},   {frmMain::edtBandWidth, "    42"},
      {frmMain::edtBeta, "  12.346"},       {frmMain::edtPhi, "   0.123"},           {frmMain::edtPixelX, "  0.100000"},
      {frmMain::edtPixelY, "  0.150000"},   {frmMain::edt2ThetaBegin, "  2.000000"}, {frmMain::edt2ThetaEnd, " 40.500000"},
      {frmMain::edt2ThetaStep, "  0.010000"}, {frmMain::edtCameraLength, "250.250000"}, {frmMain::edtLambda, "  0.710730"}};
  for (auto [edit, text] : shown) EXPECT_EQ(edits().text(edit), text) << to_string(edit);
}

TEST_F(ParamFileTest, ReadingStopsAtTheFirstLineThatDoesNotConvert) {
  struct Case {
    const char* what;
    std::string text;
    double beta, pixel_y, ratio, two_theta_begin, lo;
  };
  const IntegrationParams start;
  std::string bad_beta = first_lines(17);
  bad_beta.replace(bad_beta.find("  12.346"), 8, "  12,346");
  std::string zero_x = first_lines(17);
  zero_x.replace(zero_x.find("  0.100000"), 10, "  0.000000");
  const Case cases[] = {
      {"cut after Phi", first_lines(10), 12.346, start.pixel_y, start.pixel_ratio(), start.two_theta_begin, start.Lo},
      {"cut after 2theta end", first_lines(14), 12.346, 0.15, 0.15 / 0.1, 2.0, start.Lo},
      {"comma in Beta", bad_beta, start.Beta, start.pixel_y, start.pixel_ratio(), start.two_theta_begin, start.Lo},
      {"pixel size X of 0", zero_x, 12.346, 0.15, start.pixel_ratio(), start.two_theta_begin, start.Lo},
      {"whole file", first_lines(17), 12.346, 0.15, 0.15 / 0.1, 2.0, 250.25},
  };
  for (const Case& c : cases) {
    reset_state();
    write("p.kes", c.text);
    EXPECT_EQ(read_param_file(dir_.file("p.kes")), 0) << c.what;
    EXPECT_EQ(params().X0, 1024.12346) << c.what;
    EXPECT_EQ(params().Beta, c.beta) << c.what;
    EXPECT_EQ(params().pixel_y, c.pixel_y) << c.what;
    EXPECT_EQ(params().pixel_ratio(), c.ratio) << c.what;
    EXPECT_EQ(params().two_theta_begin, c.two_theta_begin) << c.what;
    EXPECT_EQ(params().Lo, c.lo) << c.what;
  }
  EXPECT_EQ(read_param_file(dir_.file("missing.kes")), 1);

  // A huge file (sparse, no disk used) is read no further than its first lines need.
  reset_state();
  write("huge.kes", first_lines(17));
  std::filesystem::resize_file(dir_.file("huge.kes"), uintmax_t(8) << 30);
  EXPECT_EQ(read_param_file(dir_.file("huge.kes")), 0);
  EXPECT_EQ(params().Lo, 250.25);
}

TEST_F(ParamFileTest, DefaultKesRestoresTheNamesOthersDoNot) {
  write("default.kes", first_lines(17));
  ASSERT_EQ(read_param_file(dir_.file("default.kes")), 0);
  EXPECT_EQ(img().ImageFolder, "/data/");
  EXPECT_EQ(img().ImageFileName, "/data/run1.img");
  EXPECT_EQ(img().ImageFilePath, "/data/run1.img");  // an absolute image name is the path
  EXPECT_EQ(img().ImageBaseName, "run1");
  EXPECT_EQ(img().PatternFolder, "/data/out/");
  EXPECT_EQ(state().nax_pattern.PatternName, "run1_all");
  EXPECT_EQ(state().nax_pattern.FilePath, "/data/out/run1_all");

  // Empty lines keep the names; a relative image name joins the folder.
  reset_state();
  img().ImageFolder = "/keep/";
  img().ImageFileName = "a.img";
  std::string text = first_lines(17);
  text.replace(text.find("/data/\r\n"), 8, "\r\n");
  text.replace(text.find("/data/run1.img"), 14, "");
  write("default.kes", text);
  ASSERT_EQ(read_param_file(dir_.file("default.kes")), 0);
  EXPECT_EQ(img().ImageFilePath, "/keep/a.img");
  EXPECT_EQ(img().ImageBaseName, "a.img");

  // "DEFAULT.KES" is an ordinary name, and load_param_proc refuses its extension silently.
  reset_state();
  write("DEFAULT.KES", first_lines(17));
  ASSERT_EQ(read_param_file(dir_.file("DEFAULT.KES")), 0);
  EXPECT_EQ(img().ImageFolder, "");
  reset_state();
  load_param_command(dir_.file("DEFAULT.KES"));
  EXPECT_EQ(params().X0, IntegrationParams().X0);
  EXPECT_TRUE(log().empty());
}

TEST_F(ParamFileTest, SaveRefusesOtherExtensionsAndReadsTheEditsFirst) {
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

TEST_F(ParamFileTest, NeverOverwritesTheSettingsFile) {
  TempDir config;
  const char* old = std::getenv("XDG_CONFIG_HOME");
  const std::string saved = old ? old : "";
  setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
  ASSERT_TRUE(ensure_config_folder());
  const std::string settings = config_folder() + "Kestrin.kes";
  ASSERT_TRUE(write_file_bytes(settings, "settings\r\n"));
  for (const std::string& name : {settings, config.path() + "kestrin/../kestrin/Kestrin.kes"}) {
    the_log().clear_history();
    save_param_command(name);
    EXPECT_EQ(log(), Lines{" save_param_proc() : " + name + " is the settings file; not written. "});
  }
  std::string b;
  ASSERT_TRUE(read_file_bytes(settings, b));
  EXPECT_EQ(b, "settings\r\n");
  if (old)
    setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
  else
    unsetenv("XDG_CONFIG_HOME");
}

TEST_F(ParamFileTest, AFileThatCannotBeWrittenIsReported) {
  const std::string name = dir_.file("no/such/folder/p.kes");
  save_param_command(name);
  EXPECT_EQ(log(), Lines{" save_param_proc() : " + name + " cannot be written. "});
}

}  // namespace
}  // namespace kestrin::test
