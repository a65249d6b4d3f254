// Commands that cannot run, offscreen through the windows: each says why in one log line (or
// its message box) and changes nothing; a dismissed question stops its command.
#include "app/bg_form.h"
#include "app/image_spread_form.h"
#include "app/osc_ana_form.h"
#include "app_fixture.h"
#include "base/convert.h"
#include "image/image_store.h"
#include "model/state.h"
#include "ports/log.h"

namespace kestrin::test {
namespace {

using Lines = std::vector<std::string>;
using CommandRefusals = AppTest;

// Each command of the table, with nothing to work on, logs exactly its one line.
TEST_F(CommandRefusals, CommandsWithNothingToWorkOnLogOneLineSayingWhy) {
  struct Case {
    const char* name;
    std::function<void()> run;
    std::string line;
  };
  auto& osc = form<app::TfrmOscAna>();
  auto& spread = form<app::TfrmImageSpread>();
  const Case cases[] = {
      {"OscAna Execute, empty list", [&] { osc.pbtnExecute->click(); },
       " osc_ana_batch() : No image file in the list."},
      {"Spread RefFile with two files",
       [&] {
         spread.memFileName->setText(dir_.file("a.img") + "\r\n" + dir_.file("b.img"));
         spread.rbtnSpreadNew->setChecked(true);
         spread.btnExecute->click();
       },
       " make_spread_reference() : RefFile作成 takes one image file; the list holds 2."},
      {"Peak search", [&] { click_menu("IPmain", "Peak search"); },
       " peak_search() : Pattern data does not exist. Make a pattern first."},
      {"Calc Tilt", [&] { click_menu("IPmain", "Calc Tilt"); },
       " calc_tilt() : The tilt needs the 16 sectors' pixel patterns of \"Sectoring\"; run it first."},
      {"Find Center(without direct)", [&] { click_menu("IPmain", "Find Center(without direct)"); },
       " FindCenterNoDirect() : Image data does not exist."},
  };
  const std::string centre = main().edtCenterX0->text();
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    the_log().clear_history();
    k.run();
    EXPECT_EQ(the_log().history(), Lines{k.line});
  }
  EXPECT_TRUE(dialogs_.questions().empty());  // no folder, file or start question was asked
  EXPECT_EQ(main().edtCenterX0->text(), centre);
}

// Escape or the close box on the start question (a message box answered neither Yes nor No)
// leaves the centre, the region and the pattern as they were.
TEST_F(CommandRefusals, DismissedStartQuestionOfTheCentreSearchChangesNothing) {
  integrate_ring_image(4);
  app::TfrmMain& m = main();
  enter(m.edtCenterX0, "101.25");
  enter(m.edtCenterY0, "99.5");
  m.rbtnSector->setChecked(true);
  const int32_t points = state().nax_pattern.N;
  the_log().clear_history();
  dialogs_.answerCancel();
  click_menu("IPmain", "Find Center(without direct)");
  ASSERT_EQ(dialogs_.questions().size(), 2u);  // the load's file dialog, then the question
  EXPECT_EQ(dialogs_.questions().back().text, "Use current CenterX,Y for Initial?");
  EXPECT_EQ(m.edtCenterX0->text(), "101.25");
  EXPECT_EQ(m.edtCenterY0->text(), "99.5");
  EXPECT_EQ(state().integration_params.X0, 101.25);
  EXPECT_TRUE(m.rbtnSector->checked());
  EXPECT_EQ(state().nax_pattern.N, points);
  EXPECT_TRUE(the_log().history().empty());
  // No stands for the image's middle, as before.
  dialogs_.answerModal(kgui::mrNo);
  click_menu("IPmain", "Find Center(without direct)");
  EXPECT_NE(m.edtCenterX0->text(), "101.25");
}

// A negative mesh step is refused before the filter runs, as an even filter size is.
TEST_F(CommandRefusals, MakeBgRefusesANegativeMeshStepWithTheSizeMessage) {
  dialogs_.answerFile(write_ring_image("ring.img"), 1);
  click_menu("File", "Load Image");
  auto& bg = form<app::TfrmBG>();
  enter(bg.edtFilterSize, "5");
  enter(bg.edtFilterStep, "-2");
  state().made_bg_codes.clear();
  the_log().clear_history();
  dialogs_.answerModal(kgui::mrOk);
  bg.pbtnExecuteFiltering->click();
  EXPECT_EQ(dialogs_.questions().back().text, "Filter Size Error");
  for (const std::string& line : the_log().history()) EXPECT_EQ(line.find("bg_rank_filter"), std::string::npos) << line;
  // A good step then filters, without a question.
  const size_t asked = dialogs_.questions().size();
  enter(bg.edtFilterStep, "0");
  bg.pbtnExecuteFiltering->click();
  EXPECT_EQ(dialogs_.questions().size(), asked);
  EXPECT_EQ(state().made_bg_codes.size(), size_t(200 * 200));
  bg.hide();
}

}  // namespace
}  // namespace kestrin::test
