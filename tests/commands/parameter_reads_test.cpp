// read_parameters converts only the rows whose control or field changed since they were
// read: after every step of each scenario its result (fields, error, edit texts) equals what
// converting every row from the controls gives, and a read with nothing changed asks no
// control.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/convert.h"
#include "commands/parameter_controls.h"
#include "commands/parameter_io.h"
#include "image/image_store.h"
#include "ports/names/main_form_names.h"
#include "ports/names/nax_graph_names.h"
#include "support/state_fixture.h"

namespace kestrin::test {
namespace {

// What a read leaves: every field of the table, the sector count, the error and the texts.
struct ReadResult {
  std::vector<double> fields;
  int32_t sector_count = 0;
  std::optional<std::string> error;
  std::vector<std::string> texts;
  bool operator==(const ReadResult&) const = default;
};

ReadResult read_now(int32_t height) {
  ReadResult r;
  try {
    read_parameters(height);
  } catch (const ConversionError& e) {
    r.error = e.what();
  }
  const IntegrationParams& ip = state().integration_params;
  for (const Parameter& p : parameter_table()) {
    if (p.real) r.fields.push_back(ip.*p.real);
    if (p.integer) r.fields.push_back(ip.*p.integer);
    if (p.kind == ParameterKind::kReal || p.kind == ParameterKind::kInteger) r.texts.push_back(controls().text(control_of(p).control));
  }
  r.sector_count = ip.sector_count;
  return r;
}

// The read as it was before rows were skipped: every row converted from its control.
ReadResult read_every_row(int32_t height) {
  ParameterReads& reads = parameter_reads();
  reads.changed = ~uint64_t(0);
  reads.known = 0;
  return read_now(height);
}

using Step = std::function<void()>;
struct Scenario {
  const char* what;
  std::vector<Step> steps;  // a read follows each step
};

IntegrationParams& params() { return state().integration_params; }

using ParameterReadsTest = StateTest;
const Parameter& row(const char* script) { return *parameter_named(script); }

TEST_F(ParameterReadsTest, ReadingOnlyTheChangedRowsGivesWhatReadingEveryRowGives) {
  const Scenario scenarios[] = {
      {"a value typed but not committed is taken at the next read", {[] { edit(frmMain::edtLambda, "1.5"); }, [] {}}},
      {"a text that does not convert: fields before keep new values, later ones old values",
       {[] {
          edit(frmMain::edt2ThetaBegin, "2");
          edit(frmMain::edtLambda, "1,5");
          edit(frmMain::edtCenterX0, "300");
        },
        [] {}, [] { edit(frmMain::edtLambda, "1.5"); }}},
      {"the step is rewritten on read", {[] { edit(frmMain::edt2ThetaStep, "0.01"); }, [] {}}},
      {"the centre row flips with the option and the image height",
       {[] { state().options.VerticalReverse = 1; }, [] { current_image().ImageHeight = 500; },
        [] { edit(frmMain::edtCenterY0, "100"); }, [] { state().options.VerticalReverse = 0; }}},
      {"a negative sector start wraps both angles at every read",
       {[] { edit(frmMain::edtSectorStartAngle, "-10"); }, [] {}, [] { edit(frmMain::edtSectorEndAngle, "20"); },
        [] { edit(frmMain::edtSectorStartAngle, "-400"); }, [] { edit(frmMain::edtSectorStartAngle, "5"); }}},
      {"a division angle of 0 fails at every read", {[] { edit(frmMain::edtSectoredAngle, "0"); }, [] {}}},
      {"a field changed elsewhere is read back from its edit",
       {[] { params().X0 = 5; }, [] { params().IntegrationMode = 7; }, [] { params().two_theta_step = 0.5; }}},
      {"script setters", {[] { set_real_parameter(row("CenterY"), 100.123456789); },
                          [] { set_integer_parameter(row("Band"), 12); },
                          [] { set_integer_parameter(row("IntegrationMode"), 1); },
                          [] { set_integer_parameter(row("IntegrationMode"), 5); },
                          [] { set_integer_parameter(row("RectDirection"), 9); }}},
      {"radios and the combo", {[] { controls().set_checked(frmMain::rbtnSector, true); },
                                [] { controls().set_checked(frmMain::rbtnSector, false); },
                                [] { controls().set_item_index(frmMain::cmbDirection, 2); }}},
      {"shown values are read back as shown", {[] {
         params().Phi = 1.23456789;
         params().wavelength = 1.5418123;
         show_parameters_in_edits();
       }}},
      {"a graph range that is not a number keeps its value",
       {[] { edit(frmNaxGraph::edtYEnd, "x"); }, [] { edit(frmNaxGraph::edtYEnd, "77"); },
        [] { show_parameter_text(&IntegrationParams::graph_y_end, "  88"); }}},
  };
  for (const Scenario& s : scenarios) {
    SCOPED_TRACE(s.what);
    reset_state();
    reset_headless_ports();
    read_now(current_image().ImageHeight);
    int step = 0;
    for (const Step& run : s.steps) {
      SCOPED_TRACE(step++);
      run();
      const IntegrationParams before = params();
      const ParameterReads reads = parameter_reads();
      const HeadlessControls controls = headless_controls();
      const ReadResult skipping = read_now(current_image().ImageHeight);
      const IntegrationParams after = params();
      const ParameterReads reads_after = parameter_reads();
      const HeadlessControls controls_after = headless_controls();
      params() = before;
      headless_controls() = controls;
      parameter_reads() = reads;
      EXPECT_EQ(skipping, read_every_row(current_image().ImageHeight));
      params() = after;  // go on from the skipping read
      parameter_reads() = reads_after;
      headless_controls() = controls_after;
    }
  }
}

TEST_F(ParameterReadsTest, AReadWithNothingChangedAsksNoControl) {
  read_parameters(current_image().ImageHeight);
  headless_controls().reset_traffic();
  read_parameters(current_image().ImageHeight);
  EXPECT_EQ(headless_controls().traffic().total(), 0);
  edit(frmMain::edtLambda, "1.25");
  headless_controls().reset_traffic();
  read_parameters(current_image().ImageHeight);
  EXPECT_EQ(headless_controls().traffic().reads, 1);  // the wave length's edit alone
  EXPECT_EQ(params().wavelength, 1.25);
  show_parameters_in_edits();
  headless_controls().reset_traffic();
  read_parameters(current_image().ImageHeight);
  EXPECT_EQ(headless_controls().traffic().reads, 0);  // texts the parameters wrote are known
}

}  // namespace
}  // namespace kestrin::test
