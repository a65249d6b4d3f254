// The peak list and peak fitting windows offscreen: the list filled by the port, deleting
// selected rows, copying to the clipboard, the fit grid's marks, and Retry with an open cell
// editor and with a bad cell.
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>

#include "analysis/peak_table.h"
#include "app/form_lookup.h"
#include "app/peak_fitting_form.h"
#include "app/peak_form.h"
#include "commands/peak_form_commands.h"
#include "app_fixture.h"
#include "model/state.h"
#include "platform/gui/clipboard.h"
#include "ports/ports.h"

namespace kestrin::test {
namespace {

using app::TfrmPeak;
using app::TfrmPeakFitting;

class PeakWindowsTest : public AppTest {
protected:
  void SetUp() override {
    AppTest::SetUp();
    peaks = app::form_of<TfrmPeak>();
    fits = app::form_of<TfrmPeakFitting>();
    ASSERT_TRUE(peaks && fits);
  }
  // n peaks of a 2theta pattern at 1, 2, ... degrees, shown in the list.
  void table(int n) {
    NaxPattern& p = state().nax_pattern;
    p.N = 100;
    p.set_kind(kAngleHistogram);
    PeakTable& t = state().peak_table;
    for (int i = 0; i < n; ++i)
      t.x[size_t(i)] = 0, t.two_theta[size_t(i)] = i + 1.0, t.d[size_t(i)] = 10.0 / (i + 1), t.intensity[size_t(i)] = 100;
    t.count = n;
    show_peak_list();
  }
  std::vector<std::string> rows() const {
    std::vector<std::string> out;
    for (int i = 0; i < peaks->lstPeak->items()->count(); ++i) out.push_back(peaks->lstPeak->items()->get(i));
    return out;
  }
  TfrmPeak* peaks = nullptr;
  TfrmPeakFitting* fits = nullptr;
};

TEST_F(PeakWindowsTest, TheListShowsTheTableUnderItsHeadingAndShows) {
  EXPECT_EQ(peaks->caption(), "KES for Windows (Peak List)");
  EXPECT_EQ(peaks->Label1->caption(), "  Peak        x(pixel)      2theta(deg)      d(A)        Intensity");
  EXPECT_TRUE(peaks->lstPeak->multiSelect());
  table(3);
  EXPECT_EQ(rows(), peak_list_rows());
  EXPECT_TRUE(peaks->visible());
  peaks->hide();
}

TEST_F(PeakWindowsTest, DeletePeakRemovesExactlyTheSelectedRows) {
  table(5);
  peaks->lstPeak->setSelected(1, true);
  peaks->lstPeak->setSelected(3, true);
  peaks->pbtnDeletePeak->click();
  const PeakTable& t = state().peak_table;
  ASSERT_EQ(t.count, 3);
  EXPECT_EQ((std::vector<double>{t.two_theta[0], t.two_theta[1], t.two_theta[2]}), (std::vector<double>{1, 3, 5}));
  EXPECT_EQ(rows(), peak_list_rows());
  peaks->hide();
}

TEST_F(PeakWindowsTest, CopyPutsTheHeadingAndTheChosenRowsOnTheClipboard) {
  const std::string heading = "  Peak        x(pixel)      2theta(deg)      d(A)        Intensity\r\n";
  table(0);
  peaks->pbtnCopyClipboard->click();
  EXPECT_EQ(kgui::Clipboard().asText(), heading);
  table(3);
  const std::vector<std::string> r = rows();
  peaks->pbtnCopyClipboard->click();
  EXPECT_EQ(kgui::Clipboard().asText(), heading + r[0] + "\r\n" + r[1] + "\r\n" + r[2] + "\r\n");
  peaks->lstPeak->setSelected(2, true);
  peaks->pbtnCopyClipboard->click();
  EXPECT_EQ(kgui::Clipboard().asText(), heading + r[2] + "\r\n");
  peaks->hide();
}

class FitWindowTest : public PeakWindowsTest {
protected:
  void SetUp() override {
    PeakWindowsTest::SetUp();
    table(2);
    FitTables& f = state().fit_tables;
    f.fitted[0] = FitRecord{1, 1000.0, 1.0, 0.05, 10.0, 0.0, 0, 0, 0};
    f.initial[0] = FitRecord{0, 900.0, 1.01, 0.04, 12.0, 0.0, 0, 0, 0};
    f.fitted[1] = FitRecord{0, 5.0, 2.0, 0.1, 1.0, 0.0, 0, 0, 0};
    f.initial[1] = FitRecord{0, 6.0, 2.02, 0.2, 2.0, 0.0, 0, 0, 0};
    f.count = 1;
    fit_window().show_fit_results();
  }
  kgui::TStringGrid& grid() { return *fits->sgridPeakParameter; }
  // Opens the cell editor on (col, row) and types text into it without leaving the cell.
  void type_into(int col, int row, const std::string& text) {
    auto* t = static_cast<QTableWidget*>(grid().widget());
    t->setCurrentCell(row - 1, col - 1);
    t->editItem(t->item(row - 1, col - 1));
    auto* editor = t->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText(QString::fromStdString(text));
  }
};

TEST_F(FitWindowTest, TheGridShowsTheTablesWithConvergedAndFailedMarks) {
  EXPECT_EQ(fits->caption(), "KES for Windows (Peak Fitting List)");
  EXPECT_EQ(grid().colCount(), 11);
  EXPECT_EQ(grid().rowCount(), 3);
  EXPECT_EQ(grid().colWidth(4), 92);
  EXPECT_EQ(grid().cell(9, 0), "Ini. FwHm");
  EXPECT_EQ(grid().cell(1, 0), "x(2theta)");
  EXPECT_EQ(grid().cell(0, 1), "1 *");
  EXPECT_EQ(grid().cell(0, 2), "2 xxx");
  EXPECT_EQ(grid().cell(9, 1), "  0.0800");
  EXPECT_TRUE(grid().options() & (1u << kgui::goEditing));
  state().peak_table.count = 1;  // a refill clears the rows it no longer has
  fit_window().show_fit_results();
  EXPECT_EQ(grid().rowCount(), 2);
}

TEST_F(FitWindowTest, RetryCommitsAnOpenEditorAndTakesHalfTheEditedWidth) {
  type_into(9, 1, "4");
  fits->pbtnReFitting->click();
  EXPECT_EQ(state().fit_tables.initial[0].half_width, 2.0);
  EXPECT_EQ(grid().cell(9, 1), "  4.0000");  // the refit refilled the grid from the tables
  for (const std::string& line : the_log().history()) EXPECT_EQ(line.find("not available"), std::string::npos);
}

TEST_F(FitWindowTest, ABadCellShowsTheErrorAndLeavesTheLaterRowsUnread) {
  grid().setCell(7, 1, "950");
  grid().setCell(8, 1, "1,5");
  grid().setCell(6, 2, "30");
  const size_t asked = dialogs_.questions().size();
  fits->pbtnReFitting->click();
  ASSERT_EQ(dialogs_.questions().size(), asked + 1);
  EXPECT_EQ(dialogs_.questions().back().text, "'1,5' is not a valid floating point value.");
  EXPECT_EQ(state().fit_tables.initial[0].amplitude, 950.0);
  EXPECT_EQ(state().fit_tables.initial[1].position, 2.02);
}

}  // namespace
}  // namespace kestrin::test
