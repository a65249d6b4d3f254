// The script window offscreen, with the program's other windows: its controls, scripts run
// from the source memo (setters reaching the real main window, errors and output in the
// script log), the target-file and newest-file flows, script files, the recorder, the
// long-run guard during an event loop, scripts' own windows, stopping a script that does not
// end, and a screenshot.
#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QPixmap>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <set>
#include <thread>

#include "app/app_fixture.h"
#include "base/convert.h"
#include "base/cp932.h"
#include "base/paths.h"
#include "base/text_file.h"
#include "image/image_store.h"
#include "commands/parameter_io.h"
#include "model/state.h"
#include "commands/script_form_commands.h"
#include "ports/names/option_form_names.h"
#include "ports/names/script_form_names.h"
#include "ports/ports.h"
#include "scripting/script_window.h"
#include "support/ring_image.h"

namespace kestrin::test {
namespace {

namespace fs = std::filesystem;
using scripting::TfrmScript;
using Lines = std::vector<std::string>;

class ScriptWindowTest : public AppTest {
protected:
  ScriptWindowTest() { script_window_ = &scripting::make_script_window; }

  TfrmScript& w() { return *static_cast<TfrmScript*>(forms_.at(10)); }
  Lines script_log() { return w().memScriptLog->lines()->toVector(); }

  // Runs `source` with "Script Execute"; the script log it leaves.
  Lines run(const std::string& source) {
    w().memScriptLog->clear();
    w().memScriptSource->setText(source);
    w().pbtnScriptExecute->click();
    return script_log();
  }

};

// The lines an integration and a peak search log: from the integration's area line (the
// one before its centre line) to the pattern file's save.
Lines analysis_lines(const Lines& log) {
  auto starts = [](const std::string& line, const char* text) { return line.rfind(text, 0) == 0; };
  auto centre = std::find_if(log.begin(), log.end(), [&](auto& l) { return starts(l, "Center position"); });
  if (centre == log.begin() || centre == log.end()) return {};
  auto save = std::find_if(centre, log.end(), [&](auto& l) { return starts(l, " Directory     ="); });
  return Lines(centre - 1, save);
}

TEST_F(ScriptWindowTest, TheWindowHoldsItsControlsAndStartsHidden) {
  ASSERT_NE(dynamic_cast<TfrmScript*>(forms_.at(10)), nullptr);
  EXPECT_EQ(w().name(), "frmScript");
  EXPECT_EQ(w().caption(), "frmScript");
  EXPECT_EQ(w().width(), 864);
  EXPECT_EQ(w().height(), 727);
  EXPECT_FALSE(w().visible());
  EXPECT_EQ(w().memScriptSource->lines()->toVector(), Lines{"Kestrin = new Kestrin;"});
  EXPECT_EQ(w().memScriptSource->scrollBars(), kgui::ssBoth);
  EXPECT_EQ(w().memScriptLog->scrollBars(), kgui::ssBoth);
  EXPECT_EQ(w().memFileName->lines()->count(), 0);
  const std::pair<app::TPanelButton*, const char*> buttons[] = {
      {w().pbtnScriptFileLoad, "Load Script File"},
      {w().pbtnScriptFileSave, "Save Script File"},
      {w().pbtnFileSelect, "Select Target Files"},
      {w().pbtnScriptExecute, "Script Execute"},
      {w().pbtnScriptExecute2, "Execute Script for Target Files"},
      {w().pbtnSelectWatchFolder, "Select Watch Folder"},
      {w().pbtnScriptExecute3, "Execute Script for Newest File in Watch Folder"},
      {w().pbtnScriptRecordStart, "Record Script"},
      {w().pbtnScriptRecordStop, "Stop Record"},
  };
  for (auto [button, caption] : buttons) EXPECT_EQ(button->caption(), caption);
  for (ControlName cell : {frmScript::edtValue1, frmScript::edtValue2}) {
    auto* edit = dynamic_cast<kgui::TEdit*>(w().findComponent(cell.control));
    ASSERT_NE(edit, nullptr) << cell;
    EXPECT_FALSE(edit->visible());
    EXPECT_EQ(controls().text(cell), cell.control);
  }
  EXPECT_EQ(w().opdTargetFile->filter(), "Kestrin Script File (*.scr)|*.scr");
  EXPECT_EQ(w().svdTargetFile->defaultExt(), "scr");
  EXPECT_FALSE(w().ScriptEngine->CompiledBinary);
  click_menu("Tool", "Script");
  EXPECT_TRUE(w().visible());
  w().hide();
}

// Setters write the real main window's controls, as the parameter table says, and the
// choices run their controls' commands, which record while recording is on.
TEST_F(ScriptWindowTest, SettersWriteTheMainWindowsControls) {
  app::TfrmMain& m = main();
  EXPECT_EQ(run("Kestrin.Set2ThetaBegin(5);\nprintln(Kestrin.Get2ThetaBegin());"), Lines{"5"});
  EXPECT_EQ(m.edt2ThetaBegin->text(), "  5.0000");
  run("Kestrin.SetWaveLength(0.41328);");
  EXPECT_EQ(m.edtLambda->text(), "0.41328");
  read_parameters(current_image().ImageHeight);
  EXPECT_EQ(state().integration_params.wavelength, 0.41328);
  run("Kestrin.SetBand(2.6);");
  EXPECT_EQ(m.edtBandWidth->text(), "3");
  run("Kestrin.SetBand(2.5);");
  EXPECT_EQ(m.edtBandWidth->text(), "2");

  w().pbtnScriptRecordStart->click();
  const size_t recorded = state().macro.MacroList.size();
  run("Kestrin.SetIntegrationMode(1);");
  EXPECT_TRUE(m.rbtnSector->checked());
  EXPECT_EQ(Lines(state().macro.MacroList.begin() + long(recorded), state().macro.MacroList.end()),
            Lines{"Kestrin.SetIntegrationMode(1);"});
  EXPECT_EQ(run("Kestrin.SetIntegrationMode(5);\nprintln(Kestrin.GetIntegrationMode());"), Lines{"5"});
  EXPECT_TRUE(m.rbtnSector->checked());
  EXPECT_FALSE(m.rbtnRectangle->checked() || m.rbtnSectoredDivision->checked());
  run("Kestrin.SetRectDirection(3);");
  EXPECT_EQ(m.cmbDirection->itemIndex(), 3);
  EXPECT_EQ(state().macro.MacroList.back(), "Kestrin.SetRectDirection(3);");
  w().pbtnScriptRecordStop->click();
  EXPECT_FALSE(state().macro.MacroRecording);

  run("Kestrin.SetClearMask(5);");
  EXPECT_TRUE(controls().checked(frmOption::chkClearMask));
  EXPECT_EQ(state().options.ClearMask, 1);
}

// The script log: a compile error is one line with the memo's line number; output is split
// at its line ends, a final line end adding no empty line.
TEST_F(ScriptWindowTest, OutputAndErrorsInTheScriptLog) {
  const Lines error = run("var a = 1;\nvar = ;\n");
  ASSERT_EQ(error.size(), 1u);
  EXPECT_EQ(error[0].rfind("Script Error Line 2 ", 0), 0u) << error[0];
  EXPECT_EQ(run("// a comment\nprintln('ran');"), Lines{"ran"});
  EXPECT_EQ(run("print('a'); print('b'); println(\"c\\nd\"); println('');"), (Lines{"a", "b", "c", "d", ""}));
  const Lines failed = run("println('before');\nKestrin.GetValue1();\nprintln('after');");
  ASSERT_EQ(failed.size(), 2u);
  EXPECT_EQ(failed[1], "Script Error Line 2 Exception: EConvertError(2) => 'edtValue1' is not a valid floating point value");
}

// Both recordings end up in the source: the list is never emptied.
TEST_F(ScriptWindowTest, StoppingARecordingPutsEveryRecordedLineIntoTheSource) {
  app::TfrmMain& m = main();
  w().pbtnScriptRecordStart->click();
  static_cast<QRadioButton*>(m.rbtnRectangle->widget())->click();
  w().pbtnScriptRecordStop->click();
  EXPECT_EQ(w().memScriptSource->lines()->toVector(), (Lines{"Kestrin = new Kestrin;", "Kestrin.SetIntegrationMode(0);"}));
  static_cast<QRadioButton*>(m.rbtnSector->widget())->click();  // not recording
  w().pbtnScriptRecordStart->click();
  static_cast<QRadioButton*>(m.rbtnRectangle->widget())->click();
  w().pbtnScriptRecordStop->click();
  EXPECT_EQ(w().memScriptSource->lines()->toVector(),
            (Lines{"Kestrin = new Kestrin;", "Kestrin.SetIntegrationMode(0);", "Kestrin.SetIntegrationMode(0);"}));
}

// Each target file is loaded, then the compiled script runs with fresh variables; a file
// that fails to load still gets its run, and no file means no run.
TEST_F(ScriptWindowTest, TargetFilesEachGetARunWithFreshVariables) {
  w().memScriptSource->setText(
      "try { seen++; } catch (e) { seen = 1; }\nvar p = Kestrin.GetPixelIntensity(0, 0);\n"
      "println(seen + ' ' + (isUndefined(p) ? 'none' : p));");
  w().pbtnScriptExecute2->click();
  EXPECT_TRUE(script_log().empty());
  std::vector<std::string> files;
  for (int i = 1; i <= 3; ++i) {
    RingImageSpec spec;
    spec.geometry.width = spec.geometry.height = 16;
    spec.background = 10 * i;
    files.push_back(dir_.file("t" + std::to_string(i) + ".tif"));
    write_ring_tiff(files.back(), spec);
  }
  dialogs_.answerFiles({files[0], files[1]});
  w().pbtnFileSelectClick();
  dialogs_.answerFiles({files[2], dir_.file("missing.tif")});
  w().pbtnFileSelectClick();
  EXPECT_EQ(dialogs_.questions().back().text, kTargetImageFilter);
  EXPECT_EQ(w().memFileName->lines()->count(), 4);
  w().pbtnScriptExecute2->click();
  EXPECT_EQ(script_log(), (Lines{"1 10", "1 20", "1 30", "1 none"}));
}

TEST_F(ScriptWindowTest, TheNewestDatFileLoadsAndNoScriptRuns) {
  const auto base = fs::file_time_type::clock::now() - std::chrono::hours(1);
  auto touch = [&](const std::string& name, std::chrono::microseconds later) {
    ASSERT_TRUE(write_file_bytes(dir_.file(name), "x"));
    fs::last_write_time(dir_.file(name), base + later);
  };
  fs::create_directory(dir_.file("x.dat"));  // a folder, the newest of all
  touch("b.dat", std::chrono::microseconds(0));
  touch("a.dat", std::chrono::microseconds(0));  // a tie: the first in name order wins
  touch("Y.DAT", std::chrono::microseconds(5000));
  touch("c.txt", std::chrono::microseconds(5000));
  w().memScriptSource->setText("println('ran');");
  w().pbtnScriptExecute3->click();  // no watch folder yet: nothing
  EXPECT_TRUE(the_log().history().empty());
  dialogs_.answerDirectory(dir_.path());
  w().pbtnSelectWatchFolderClick();
  EXPECT_EQ(dialogs_.questions().back().caption, "フォルダの選択");
  w().pbtnScriptExecute3->click();
  EXPECT_EQ(the_log().history(), Lines{" load_img_proc() : " + dir_.file("a.dat") + " is not a image file.. "});
  touch("d.dat", std::chrono::microseconds(1));  // one microsecond later wins
  the_log().clear_history();
  w().pbtnScriptExecute3->click();
  EXPECT_EQ(the_log().history(), Lines{" load_img_proc() : " + dir_.file("d.dat") + " is not a image file.. "});
  EXPECT_TRUE(script_log().empty());

  const TempDir empty;
  dialogs_.answerDirectory(empty.path());
  w().pbtnSelectWatchFolderClick();
  the_log().clear_history();
  w().pbtnScriptExecute3->click();
  EXPECT_EQ(the_log().history(), Lines{" load_img_proc() : No file selected. "});
  dialogs_.answerCancel();  // a cancel keeps the folder
  w().pbtnSelectWatchFolderClick();
  EXPECT_EQ(w().WatchFolder, empty.path());
}

// Script files: read as UTF-8 when they are UTF-8, else as CP932; written as UTF-8 with
// CR LF. Cancelled dialogs change nothing.
TEST_F(ScriptWindowTest, ScriptFilesInBothEncodingsAndCancelledDialogs) {
  const std::string utf8 = "println('日本語');";
  ASSERT_TRUE(write_file_bytes(dir_.file("cp932.scr"), utf8_to_cp932("// 旧\r\n" + utf8 + "\r\n")));
  ASSERT_TRUE(write_file_bytes(dir_.file("utf8.scr"), "// 新\n" + utf8 + "\n"));
  for (const char* name : {"cp932.scr", "utf8.scr"}) {
    dialogs_.answerFile(dir_.file(name));
    w().pbtnScriptFileLoadClick();
    ASSERT_EQ(w().memScriptSource->lines()->count(), 2) << name;
    EXPECT_EQ(w().memScriptSource->lines()->get(1), utf8) << name;
    w().memScriptLog->clear();
    w().pbtnScriptExecute->click();
    EXPECT_EQ(script_log(), Lines{"日本語"}) << name;
  }
  EXPECT_EQ(dialogs_.questions().back().text, "Kestrin Script File (*.scr)|*.scr");
  dialogs_.answerFile(dir_.file("saved.scr"));
  w().pbtnScriptFileSaveClick();
  std::string bytes;
  ASSERT_TRUE(read_file_bytes(dir_.file("saved.scr"), bytes));
  EXPECT_EQ(bytes, "// 新\r\n" + utf8 + "\r\n");

  const Lines source = w().memScriptSource->lines()->toVector();
  const auto files = [this] { return std::distance(fs::directory_iterator(dir_.path()), fs::directory_iterator()); };
  const auto before = files();
  for (auto handler : {&TfrmScript::pbtnScriptFileLoadClick, &TfrmScript::pbtnScriptFileSaveClick,
                       &TfrmScript::pbtnFileSelectClick}) {
    dialogs_.answerCancel();
    (w().*handler)();
  }
  EXPECT_EQ(w().memScriptSource->lines()->toVector(), source);
  EXPECT_EQ(w().memFileName->lines()->count(), 0);
  EXPECT_EQ(files(), before);
}

// "Script Execute" pressed while a script waits in its event loop is refused by the
// long-run guard; the waiting script goes on.
TEST_F(ScriptWindowTest, ExecuteDuringAnEventLoopIsRefused) {
  int passes = 0;
  auto& engine = *w().ScriptEngine;
  engine.OnDoEvents = [&](script::TJScriptHost&, bool& abort) {
    if (++passes == 1) w().pbtnScriptExecute->click();
    abort = passes > 1;
  };
  EXPECT_EQ(run("eventLoop();\nprintln('waiting');"), Lines{"waiting"});
  EXPECT_EQ(passes, 2);
  EXPECT_EQ(the_log().history(), Lines{" pbtnScriptExecuteClick() : another run is in progress."});
  EXPECT_EQ(run("println('again');"), Lines{"again"});
}

// Ends the test process when a stop that a test waits for never comes: a wait with a long
// bound that no machine load reaches, on a thread of its own, since a script that does
// not stop keeps the event loop from running.
class StopDeadline {
public:
  explicit StopDeadline(const char* what) : thread_([this, what] {
    std::unique_lock<std::mutex> lock(mutex_);
    if (!done_.wait_for(lock, std::chrono::minutes(2), [this] { return stopped_; })) {
      std::fprintf(stderr, "%s: never stopped\n", what);
      std::_Exit(1);
    }
  }) {}
  ~StopDeadline() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stopped_ = true;
    }
    done_.notify_one();
    thread_.join();
  }

private:
  std::mutex mutex_;
  std::condition_variable done_;
  bool stopped_ = false;
  std::thread thread_;
};

const char* const kRunaway = "var i = 0;\nwhile (true) { i++; }\nprintln('never');";

// The window's engine has the GUI wrappers: a form with a menu, an edit, a button, a list
// view and a timer, shown, driven from code and closed from its menu, twice.
TEST_F(ScriptWindowTest, ScriptsMakeShowAndCloseTheirOwnWindows) {
  const std::string source = R"(var f = new VCLForm(true);
f.Caption = "Script form";
var menu = new VCLMainMenu();
var file = new VCLMenuItem();
file.Caption = "&File";
var quit = new VCLMenuItem();
quit.Caption = "&Quit";
quit.onClick = function () { f.close(); };
file.add(quit);
menu.items.add(file);
f.Menu = menu;
var e = new VCLEdit(f);
e.Text = "typed";
var lv = new VCLListView(f);
lv.ViewStyle = "vsReport";
lv.column.add().Caption = "Name";
var b = new VCLButton(f);
b.Caption = "Add";
b.onClick = function () { var n = lv.items.Count; lv.items.add().Caption = e.Text + n; };
var t = new VCLTimer();
t.Interval = 10;
var ticks = 0;
t.onTimer = function () {
  b.click();
  if (++ticks == 3) { t.Enabled = false; file.find("quit").click(); }
};
f.onClose = function () { println("closed after " + ticks + " ticks: " + lv.items[0].Caption + " " + lv.items[2].Caption); };
f.show();
println(nameOf(f) + " " + f.Visible + " " + (f.Menu === menu));
eventLoop();
)";
  auto script_forms_shown = [] {
    int shown = 0;
    for (QWidget* top : QApplication::topLevelWidgets())
      shown += top->isVisible() && top->windowTitle() == "Script form";
    return shown;
  };
  const Lines expected = {"VCLForm true true", "closed after 3 ticks: typed0 typed2"};
  StopDeadline deadline("the script form's run");
  EXPECT_EQ(run(source), expected);
  EXPECT_EQ(script_forms_shown(), 0);
  EXPECT_EQ(run(source), expected);
  EXPECT_EQ(script_forms_shown(), 0);
  EXPECT_EQ(w().ScriptEngine->Engine().Factory().ObjectCount(), 0u);
}

// A script that computes without end leaves the windows responsive: Stop is there while
// it runs, and Escape in the script window ends it as an abort; the next run runs.
TEST_F(ScriptWindowTest, EscapeStopsARunawayScript) {
  w().show();
  EXPECT_FALSE(w().btnScriptStop->visible());
  bool stop_shown = false;
  QTimer::singleShot(50, [&] {
    stop_shown = w().btnScriptStop->visible();
    QTest::keyClick(w().memScriptSource->widget(), Qt::Key_Escape);
  });
  {
    StopDeadline deadline("the runaway script under Escape");
    EXPECT_EQ(run(kRunaway), Lines{"Script Error Line 2 Abort Script(2)"});
  }
  EXPECT_TRUE(stop_shown);
  EXPECT_FALSE(w().btnScriptStop->visible());
  EXPECT_EQ(run("println('again');"), Lines{"again"});
  // Stop also ends a script that waits in its event loop, and the target-file flow.
  QTimer::singleShot(50, [&] { w().btnScriptStop->click(); });
  EXPECT_EQ(run("eventLoop();"), Lines{"Script Error Line 1 Abort Script(1)"});
  w().hide();
}

// Closing the main window while a script computes without end ends the script as an
// abort, writes the settings and ends the program's event loop. Run in a fresh process,
// as quitting is permanent.
TEST_F(ScriptWindowTest, ClosingTheMainWindowStopsARunawayScript) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        ::alarm(120);
        main().showForm();
        Lines log;
        QTimer::singleShot(0, [&] { log = run(kRunaway); });
        QTimer::singleShot(100, [&] { main().close(); });
        const int code = test_app().run();
        const bool ok = code == 0 && log == Lines{"Script Error Line 2 Abort Script(2)"} && fs::exists(settings_path());
        std::_Exit(ok ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

// A failure that is no script error stops a run flow: reported as the platform reports
// it, no further target file, and the engine is cleared all the same.
TEST_F(ScriptWindowTest, AFailureThatIsNoScriptErrorStopsTheFlowAndTheEngineIsCleared) {
  for (int i = 0; i < 3; ++i) w().memFileName->lines()->add(dir_.file("missing" + std::to_string(i) + ".img"));
  state().nax_pattern.set_kind(kPixelHistogram);
  w().memScriptSource->setText("println('run');\nKestrin.SaveNaxFile('/nonexistent/folder/a.t');\n");
  w().pbtnScriptExecute2->click();
  EXPECT_EQ(script_log().at(0), "run");
  EXPECT_EQ(script_log().size(), 2u);
  ASSERT_FALSE(dialogs_.questions().empty());
  EXPECT_EQ(dialogs_.questions().back().kind, "message");
  EXPECT_NE(dialogs_.questions().back().text.find("/nonexistent/folder/a.t"), std::string::npos);
  EXPECT_EQ(w().ScriptEngine->Engine().Factory().ObjectCount(), 0u);
  bool first_loaded = false;
  for (const std::string& line : the_log().history()) {
    first_loaded |= line.find("missing0") != std::string::npos;
    EXPECT_EQ(line.find("missing1"), std::string::npos) << line;
  }
  EXPECT_TRUE(first_loaded);
  EXPECT_EQ(run("println('next');"), Lines{"next"});
}

// The rings of the forward model, found by a script run from the window.
TEST_F(ScriptWindowTest, RingsOfAForwardModelFromTheWindow) {
  const RingImageSpec spec = three_ring_spec();
  write_ring_tiff(dir_.file("rings.tif"), spec);
  const RingGeometry& g = spec.geometry;
  const std::string script =
      "Kestrin.SetLoCheck(1);\nKestrin.SetPixelSizeXCheck(1);\nKestrin.SetPixelSizeYCheck(1);\n"
      "Kestrin.SetLo(" + FloatToStr(g.Lo) + ");\nKestrin.SetPixelSizeX(0.1);\nKestrin.SetPixelSizeY(0.1);\n"
      "Kestrin.LoadImageFile('" + dir_.file("rings.tif") + "');\n"
      "Kestrin.SetCenterX(" + FloatToStr(g.X0) + ");\nKestrin.SetCenterY(" + FloatToStr(g.Y0) + ");\n"
      "Kestrin.Set2ThetaBegin(1);\nKestrin.Set2ThetaEnd(9);\nKestrin.Set2ThetaStep(0.01);\n"
      "Kestrin.SetIntegrationMode(0);\nKestrin.SetRectAngleMode(0);\nKestrin.SetRectDirection(6);\n"
      "Kestrin.AngleIntensity();\nKestrin.PeakSearch();\nprintln(Kestrin.GetMaxPeakNumber());\n"
      "for (var i = 0; i < Kestrin.GetMaxPeakNumber(); i++) println(Kestrin.GetPeakData(i, 1));\n";
  const Lines out = run(script);
  ASSERT_EQ(out.size(), 4u) << (out.empty() ? "" : out[0]);
  EXPECT_EQ(out[0], "3");
  for (size_t k = 0; k < 3; ++k) EXPECT_NEAR(StrToFloat(out[k + 1]), spec.rings[k].two_theta, 0.01);
}

TEST_F(ScriptWindowTest, ScreenshotAfterARunWithOutputAndAnError) {
  run("println('first line');\nprintln('second line');\nKestrin.GetValue2();");
  ASSERT_EQ(script_log().size(), 3u);
  w().showForm();
  test_app().processMessages();
  const QImage shot = w().widget()->grab().toImage();
  const std::string dir = std::string(KESTRIN_BINARY_DIR) + "/screenshots";
  fs::create_directories(dir);
  EXPECT_TRUE(shot.save(QString::fromStdString(dir + "/script_window.png")));
  std::set<QRgb> colours;
  for (int y = 0; y < shot.height(); y += 3)
    for (int x = 0; x < shot.width(); x += 3) colours.insert(shot.pixel(x, y));
  EXPECT_GT(colours.size(), 8u);
  for (kgui::TMemo* memo : {w().memScriptSource, w().memScriptLog}) {
    EXPECT_TRUE(memo->widget()->isVisible());
    const QPoint inside = memo->widget()->mapTo(w().widget(), QPoint(memo->width() - 30, memo->height() - 30));
    EXPECT_EQ(QColor(shot.pixel(inside)), QColor(0xFE, 0xFF, 0xEC));
  }
  w().hide();
}

// Loading, typing into the edits, a radio, a direction, the integration, the peak search
// and the save, recorded on one image and replayed on another in the window, by the
// harness and by kestrin-script: each makes the file and the log lines the same actions
// make by hand.
TEST_F(ScriptWindowTest, RecordedActionsReplayOnAnotherImageThreeWays) {
  app::TfrmMain& m = main();
  for (auto* c : {m.chkLo, m.chkwl, m.chkpsx, m.chkpsy}) c->setChecked(false);
  auto by_hand = [&](const std::string& image, const std::string& pattern) {
    dialogs_.answerFile(image, 1);
    click_menu("File", "Load Image");
    enter(m.edtCameraLength, " 101 ");
    static_cast<QRadioButton*>(m.rbtnRectangle->widget())->click();
    auto* directions = static_cast<QComboBox*>(m.cmbDirection->widget());
    directions->setCurrentIndex(6);
    emit directions->activated(6);
    enter(m.edtCenterX0, "100.");
    enter(m.edtCenterY0, "100");
    m.pbtnAngleIntensity->click();
    click_menu("IPmain", "Peak search");
    dialogs_.answerFile(pattern, 1);
    click_menu("File", "Save Intensity");
  };
  const std::string a = write_ring_image("a.img"), b = write_ring_image("b.img", 0.3);
  w().pbtnScriptRecordStart->click();
  by_hand(a, dir_.file("a.rie"));
  w().pbtnScriptRecordStop->click();
  const Lines recorded = w().memScriptSource->lines()->toVector();
  EXPECT_EQ(recorded, (Lines{"Kestrin = new Kestrin;", "Kestrin.LoadImageFile('" + a + "');", "Kestrin.SetLo( 101 );",
                             "Kestrin.SetIntegrationMode(0);", "Kestrin.SetRectDirection(6);",
                             "Kestrin.SetCenterX(100);", "Kestrin.SetCenterY(100);", "Kestrin.AngleIntensity();",
                             "Kestrin.PeakSearch();", "Kestrin.SaveNaxFile('" + dir_.file("a.rie") + "');"}));
  the_log().clear_history();
  by_hand(b, dir_.file("b_hand.rie"));
  const Lines hand_log = analysis_lines(the_log().history());
  EXPECT_GT(hand_log.size(), 10u);

  auto replay = [&](const std::string& pattern) {
    std::string script;
    for (std::string line : recorded) {
      for (auto [from, to] : {std::pair{a, b}, std::pair{dir_.file("a.rie"), pattern}})
        if (auto at = line.find("'" + from + "'"); at != std::string::npos) line.replace(at + 1, from.size(), to);
      script += line + "\n";
    }
    return script;
  };
  the_log().clear_history();
  w().memScriptSource->setText(replay(dir_.file("b_window.rie")));
  w().memScriptLog->clear();
  w().pbtnScriptExecute->click();
  EXPECT_TRUE(script_log().empty()) << script_log().at(0);
  EXPECT_EQ(analysis_lines(the_log().history()), hand_log);
  for (const char* driver : {"kestrin-harness", "kestrin-script"}) {
    const std::string name = std::string("b_") + driver + ".rie";
    ASSERT_TRUE(write_file_bytes(dir_.file("replay.js"), replay(dir_.file(name))));
    std::string out;
    const std::string program = std::string(KESTRIN_BINARY_DIR) + "/tests/harness/" + driver;
    ASSERT_EQ(run_command(program + " '" + dir_.file("replay.js") + "'", &out), 0) << out;
    EXPECT_EQ(analysis_lines(split_lines(out)), hand_log) << driver;
  }
  std::string hand;
  ASSERT_TRUE(read_file_bytes(dir_.file("b_hand.rie"), hand));
  EXPECT_GT(hand.size(), 100u);
  for (const char* name : {"b_window.rie", "b_kestrin-harness.rie", "b_kestrin-script.rie"}) {
    std::string replayed;
    ASSERT_TRUE(read_file_bytes(dir_.file(name), replayed)) << name;
    EXPECT_EQ(replayed, hand) << name;
  }
}

// Last: closing the main window while a script waits in its event loop ends the loop and
// the program, and the settings are written once.
TEST_F(ScriptWindowTest, ClosingTheMainWindowEndsAWaitingScriptAndTheProgram) {
  QTimer::singleShot(20, [this] { main().close(); });
  EXPECT_EQ(run("eventLoop();\nprintln('waiting');"), Lines{"waiting"});
  EXPECT_TRUE(test_app().terminated());
  ASSERT_TRUE(file_exists(settings_path()));
  fs::remove(settings_path());
  stop();
  EXPECT_FALSE(file_exists(settings_path()));
}

}  // namespace
}  // namespace kestrin::test
