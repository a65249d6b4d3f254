// "Calculate wave length" on rings at the three built-in d-spacings: the 2theta pattern of
// the window's settings, the mean, the edit it goes into, and the refusals.
#include "analysis/wave_length.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "analysis/analysis_fixture.h"
#include "analysis/peak_fixture.h"
#include "base/convert.h"
#include "commands/main_form_commands.h"
#include "ports/names/main_form_names.h"

namespace kestrin::test {
namespace {

class WaveLengthCommandTest : public PeakTest {
protected:
  // Rings at the first `rings` built-in d-spacings for 0.7 angstrom on a 480 x 480 image, the
  // window set for a full-image 2theta pattern from 10 degrees.
  void ring_image(int32_t rings) {
    ring_image(std::vector<double>(std::begin(kReferenceSpacings), std::begin(kReferenceSpacings) + rings));
  }
  // The same with rings at the given d-spacings.
  void ring_image(const std::vector<double>& spacings) {
    RingImageSpec spec;
    spec.geometry.width = spec.geometry.height = 480;
    spec.geometry.X0 = 240.3, spec.geometry.Y0 = 238.6, spec.geometry.Lo = 50;
    for (double d : spacings)
      spec.rings.push_back({2 * std::asin(0.7 / (2 * d)) * 180 / std::numbers::pi, 0.05, 3000});
    load_into_current_image(make_ring_image(spec), 480, 480);
    set_centre(240.3, 238.6);
    edit(frmMain::edtCameraLength, "50");
    edit(frmMain::edtPixelX, "0.1");
    edit(frmMain::edtPixelY, "0.1");
    edit(frmMain::edtPhi, "0");
    edit(frmMain::edtLambda, "1.0");
    edit(frmMain::edt2ThetaBegin, "10");
    edit(frmMain::edt2ThetaEnd, "24");
    edit(frmMain::edt2ThetaStep, "0.01");
    check(frmMain::rbtnRectangle);
    controls().set_item_index(frmMain::cmbDirection, 6);  // FULL
  }
};

TEST_F(WaveLengthCommandTest, MeanOfTheThreeRings) {
  ring_image(3);
  calc_wave_length_command();
  const double mean = StrToFloat(controls().text(frmMain::edtLambda));
  EXPECT_NEAR(mean, 0.7, 1e-4);
  EXPECT_EQ(state().integration_params.wavelength, 1.0);  // changes at the next reading
  EXPECT_EQ(log().back(), Format("lambda average = %7.5f", {mean}));
  EXPECT_EQ(log()[log().size() - 4].substr(0, 14), "No.1  2theta=1");
}

TEST_F(WaveLengthCommandTest, RefusesWithoutImageOrThreePeaks) {
  calc_wave_length_command();
  EXPECT_EQ(log(), std::vector<std::string>{" calc_wave_length() : Image data does not exist."});
  ring_image(2);
  calc_wave_length_command();
  EXPECT_EQ(log().back(), " calc_wave_length() : fewer than three peaks.");
  EXPECT_EQ(controls().text(frmMain::edtLambda), "1.0");
}

// The three wavelengths agree only when the first three peaks are the sample's first three
// rings. A ring before them (here of another phase, as noise peaks are on a poor pattern)
// gives three values far apart: the wavelength is not determined and the edit keeps its text.
TEST_F(WaveLengthCommandTest, ThreeWavelengthsThatDisagreeLeaveTheEditAlone) {
  struct Case {
    const char* name;
    std::vector<double> spacings;
    bool determined;
  };
  const double* d = kReferenceSpacings;
  const Case cases[] = {
      {"the sample's rings", {d[0], d[1], d[2]}, true},
      {"a ring before them", {3.6, d[0], d[1], d[2]}, false},
      {"the second ring missing", {d[0], d[2], 1.75}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    ring_image(c.spacings);
    calc_wave_length_command();
    const auto& l = log();
    ASSERT_GE(l.size(), 4u);
    for (size_t i = 0; i < 3; ++i) EXPECT_EQ(l[l.size() - 4 + i].substr(0, 3), "No.") << i;
    if (c.determined) {
      EXPECT_NEAR(StrToFloat(controls().text(frmMain::edtLambda)), 0.7, 1e-4);
      EXPECT_EQ(l.back().substr(0, 17), "lambda average = ");
    } else {
      EXPECT_EQ(controls().text(frmMain::edtLambda), "1.0");
      EXPECT_NE(l.back().find("differ by more than 1 % from their mean"), std::string::npos) << l.back();
      EXPECT_NE(l.back().find("the wavelength was not determined."), std::string::npos) << l.back();
    }
  }
}

}  // namespace
}  // namespace kestrin::test
