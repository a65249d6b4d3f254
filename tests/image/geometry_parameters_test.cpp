// The geometry setters of the Kestrin object: stored values and the edit texts.
#include <gtest/gtest.h>

#include "base/convert.h"
#include "image/geometry_parameters.h"
#include "image/loading_fixture.h"
#include "ports/names/main_form_names.h"

namespace kestrin::test {
namespace {

TEST(ParameterEditText, FixedFormWhenItKeepsTheValueElseTheShortestThatDoes) {
  const std::pair<double, const char*> cases[] = {
      {5.0, "  5.0000"},        {-12.25, "-12.2500"},   {1234.5678, "1234.5678"},
      {0.71073, "0.71073"},     {250.00001, "250.00001"}, {1e-7, "1E-7"},
      {0.1 + 0.2, "0.30000000000000004"},
  };
  for (auto [value, text] : cases) {
    EXPECT_EQ(parameter_edit_text(value), text) << value;
    EXPECT_EQ(StrToFloat(parameter_edit_text(value)), value) << value;
  }
}

class GeometrySetterTest : public LoadingTest {};

TEST_F(GeometrySetterTest, EverySetterStoresItsFieldAndWritesItsEdit) {
  double value = 1.5;
  for (const GeometryParameter& p : geometry_parameters()) {
    set_geometry_parameter(p, value);
    EXPECT_EQ(params().*p.field, value) << p.name;
    EXPECT_EQ(StrToFloat(edits().text(p.edit)), value) << p.name;
    value += 1.0;
  }
  EXPECT_EQ(geometry_parameters().size(), 14u);
  set_band_width(-3);
  EXPECT_EQ(params().band_width, -3);
  EXPECT_EQ(edits().text(frmMain::edtBandWidth), "-3");
}

}  // namespace
}  // namespace kestrin::test
