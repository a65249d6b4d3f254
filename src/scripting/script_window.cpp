// The script window: building it, and its handlers, each one short call into the engine
// or into the window's Qt-free commands.
#include "scripting/script_window.h"

#include <stdexcept>
#include <vector>

#include "commands/file_commands.h"
#include "commands/script_form_commands.h"
#include "image/image_loader.h"
#include "platform/gui/app.h"
#include "ports/long_run.h"
#include "ports/names/script_form_names.h"
#include "script/builtins/builtins.h"
#include "script/gui/vcl_objects.h"
#include "scripting/kestrin_object.h"

namespace kestrin::scripting {

using namespace kgui;

namespace {

constexpr TColor kFormColour = 0xFFE4CE;
constexpr TColor kMemoColour = 0xECFFFE;

// The layout: the source and the log on the left, the target files and the watch folder
// on the right, the commands above.
constexpr int kMargin = 8, kButtonHeight = 26, kLabelHeight = 16;
constexpr int kSourceWidth = 540, kSideLeft = kMargin + kSourceWidth + 8, kSideWidth = 292;
constexpr int kSourceTop = 2 * kMargin + kButtonHeight + kLabelHeight, kSourceHeight = 380;
constexpr int kLogTop = kSourceTop + kSourceHeight + kMargin + kLabelHeight, kLogHeight = 216;

// A run flow shows Stop while it runs and clears the engine (and frees the windows its
// script left) when it ends, however it ends.
class RunScope {
public:
  RunScope(script::TJHost& host, TButton& stop) : host_(host), stop_(stop) { stop_.setVisible(true); }
  ~RunScope() {
    stop_.setVisible(false);
    host_.Clear();
    script::FlushVCLDeferredFrees();
  }
  RunScope(const RunScope&) = delete;
  RunScope& operator=(const RunScope&) = delete;

private:
  script::TJHost& host_;
  TButton& stop_;
};

void replace_lines(TMemo& memo, const std::vector<std::string>& lines) {
  TStrings& l = *memo.lines();
  l.beginUpdate();
  l.clear();
  for (const std::string& line : lines) l.add(line);
  l.endUpdate();
}

}  // namespace

TfrmScript::TfrmScript(TComponent* owner) : TForm(owner) {
  setVisible(false);
  setName(std::string(frmScript::form));
  setCaption("frmScript");
  setColor(kFormColour);
  setWidth(864);
  setHeight(727);
  createButtons();
  createMemos();
  createCells();
  createDialogs();
  createStopButton();
  createEngine();
}

TfrmScript::~TfrmScript() {
  ScriptEngine->OnStdout = nullptr;
  ScriptEngine->OnError = nullptr;
}

TMemo* TfrmScript::addMemo(ControlName name, const char* label, int left, int top, int width, int height) {
  if (label) {
    auto* l = new TLabel(this);
    l->setParent(this);
    l->setBounds(left, top - kLabelHeight, width, kLabelHeight);
    l->setCaption(label);
  }
  auto* m = new TMemo(this);
  m->setName(std::string(name.control));
  m->setParent(this);
  m->setBounds(left, top, width, height);
  m->setColor(kMemoColour);
  m->setWordWrap(false);
  return m;
}

app::TPanelButton* TfrmScript::addButton(ControlName name, const char* caption, int left, int top, int width) {
  return app::make_panel_button(this, std::string(name.control), caption, left, top, width, kButtonHeight);
}

void TfrmScript::createButtons() {
  const int w = (kSourceWidth - 4 * 4) / 5, step = w + 4;
  pbtnScriptFileLoad = addButton(frmScript::pbtnScriptFileLoad, "Load Script File", kMargin, kMargin, w);
  pbtnScriptFileSave = addButton(frmScript::pbtnScriptFileSave, "Save Script File", kMargin + step, kMargin, w);
  pbtnScriptExecute = addButton(frmScript::pbtnScriptExecute, "Script Execute", kMargin + 2 * step, kMargin, w);
  pbtnScriptRecordStart = addButton(frmScript::pbtnScriptRecordStart, "Record Script", kMargin + 3 * step, kMargin, w);
  pbtnScriptRecordStop = addButton(frmScript::pbtnScriptRecordStop, "Stop Record", kMargin + 4 * step, kMargin, w);
  pbtnFileSelect = addButton(frmScript::pbtnFileSelect, "Select Target Files", kSideLeft, kMargin, kSideWidth);
  pbtnScriptExecute2 = addButton(frmScript::pbtnScriptExecute2, "Execute Script for Target Files", kSideLeft,
                                 kSourceTop + 240 + kMargin, kSideWidth);
  pbtnSelectWatchFolder = addButton(frmScript::pbtnSelectWatchFolder, "Select Watch Folder", kSideLeft,
                                    kSourceTop + 240 + 2 * kMargin + kButtonHeight, kSideWidth);
  pbtnScriptExecute3 = addButton(frmScript::pbtnScriptExecute3, "Execute Script for Newest File in Watch Folder",
                                 kSideLeft, kSourceTop + 240 + 3 * kMargin + 2 * kButtonHeight, kSideWidth);
  pbtnScriptFileLoad->OnClick = [this](TComponent*) { pbtnScriptFileLoadClick(); };
  pbtnScriptFileSave->OnClick = [this](TComponent*) { pbtnScriptFileSaveClick(); };
  pbtnScriptExecute->OnClick = [this](TComponent*) { pbtnScriptExecuteClick(); };
  pbtnScriptRecordStart->OnClick = [this](TComponent*) { pbtnScriptRecordStartClick(); };
  pbtnScriptRecordStop->OnClick = [this](TComponent*) { pbtnScriptRecordStopClick(); };
  pbtnFileSelect->OnClick = [this](TComponent*) { pbtnFileSelectClick(); };
  pbtnScriptExecute2->OnClick = [this](TComponent*) { pbtnScriptExecute2Click(); };
  pbtnSelectWatchFolder->OnClick = [this](TComponent*) { pbtnSelectWatchFolderClick(); };
  pbtnScriptExecute3->OnClick = [this](TComponent*) { pbtnScriptExecute3Click(); };
}

void TfrmScript::createMemos() {
  memScriptSource = addMemo(frmScript::memScriptSource, "Source", kMargin, kSourceTop, kSourceWidth, kSourceHeight);
  memScriptSource->setScrollBars(ssBoth);
  memScriptSource->lines()->add(std::string(kNewKestrinLine));
  memFileName = addMemo(frmScript::memFileName, nullptr, kSideLeft, kSourceTop, kSideWidth, 240);
  memScriptLog = addMemo(frmScript::memScriptLog, "Script Log", kMargin, kLogTop, kSideLeft + kSideWidth - kMargin,
                         kLogHeight);
  memScriptLog->setScrollBars(ssBoth);
  memScriptLog->setReadOnly(true);
}

void TfrmScript::createCells() {
  for (auto [cell, name] : {std::pair{&edtValue1, frmScript::edtValue1}, std::pair{&edtValue2, frmScript::edtValue2}}) {
    auto* e = new TEdit(this);
    e->setName(std::string(name.control));
    e->setParent(this);
    e->setText(std::string(name.control));  // a new edit shows its name
    e->setVisible(false);
    *cell = e;
  }
}

void TfrmScript::createDialogs() {
  opdTargetFile = new TOpenDialog(this);
  opdTargetFile->setName(std::string(frmScript::opdTargetFile.control));
  opdTargetFile->setFilter(kScriptFilter);
  opdTargetFile->setDefaultExt(kScriptExtension);
  opdImageFile = new TOpenDialog(this);
  opdImageFile->setName(std::string(frmScript::opdImageFile.control));
  opdImageFile->setFilter(kTargetImageFilter);
  opdImageFile->setOptions(opdImageFile->options() | (1u << ofAllowMultiSelect));
  svdTargetFile = new TSaveDialog(this);
  svdTargetFile->setName(std::string(frmScript::svdTargetFile.control));
  svdTargetFile->setFilter(kScriptFilter);
  svdTargetFile->setDefaultExt(kScriptExtension);
}

void TfrmScript::createStopButton() {
  btnScriptStop = new TButton(this);
  btnScriptStop->setName(std::string(frmScript::btnScriptStop.control));
  btnScriptStop->setParent(this);
  btnScriptStop->setBounds(kSideLeft, kSourceTop + 240 + 4 * kMargin + 3 * kButtonHeight, kSideWidth, kButtonHeight);
  btnScriptStop->setCaption("Stop");
  btnScriptStop->setCancel(true);
  btnScriptStop->setVisible(false);
  btnScriptStop->OnClick = [this](TComponent*) { btnScriptStopClick(); };
}

// The engine has the host libraries with the GUI wrappers and the GUI library's message
// pump, as the script runner's.
void TfrmScript::createEngine() {
  ScriptEngine = std::make_unique<script::TJHost>(
      script::RegisterBuiltins, std::initializer_list<script::TJLibrary>{script::ImportHostLibrariesWithGui});
  ScriptEngine->CompiledBinary = false;
  ScriptEngine->SetUi(&ui_);
  ScriptEngine->OnStdout = [this](script::TJScriptHost&, const std::string& s) { ScriptEngineStdout(s); };
  ScriptEngine->OnError = [this](script::TJScriptHost&, int32_t line, const std::string& m) {
    ScriptEngineError(line, m);
  };
  // Stop ends a script in its event loop or doEvents as an abort, reported as such; the
  // program's end ends the loop quietly.
  ScriptEngine->OnDoEvents = [this](script::TJScriptHost&, bool& abort) {
    if (stop_requested_) throw script::EJAbort("script abort");
    abort = stopRequested();
  };
  ScriptEngine->SetPoll([this](bool& abort) { pollWindows(abort); });
}

bool TfrmScript::stopRequested() const {
  const TApplication* app = TApplication::instance();
  return stop_requested_ || !app || app->terminated();
}

void TfrmScript::pollWindows(bool& abort) {
  if (TApplication* app = TApplication::instance()) app->processMessages();
  abort = stopRequested();
}

void TfrmScript::runScripts(const char* routine, const std::function<void()>& body) {
  run_long(routine, [&] {
    stop_requested_ = false;
    RunScope scope(*ScriptEngine, *btnScriptStop);
    TKestrinObject::TakeFailure();
    body();
  });
}

bool TfrmScript::compileSource() {
  ImportKestrin(*ScriptEngine);
  // Lines joined by line breaks: error lines are the memo's line numbers.
  return ScriptEngine->Compile(memScriptSource->text());
}

void TfrmScript::stopAtFailure() {
  if (auto failure = TKestrinObject::TakeFailure()) throw std::runtime_error(*failure);
}

void TfrmScript::pbtnScriptExecuteClick() {
  runScripts("pbtnScriptExecuteClick", [this] {
    if (compileSource()) ScriptEngine->Run();
    stopAtFailure();
  });
}

void TfrmScript::pbtnScriptExecute2Click() {
  runScripts("pbtnScriptExecute2Click", [this] {
    if (!compileSource()) return;
    for (const std::string& file : memFileName->lines()->toVector()) {
      if (stopRequested()) return;  // Stop ends the whole flow, not only the current file's run
      load_img_proc(file);  // a file that fails to load still gets its run
      ScriptEngine->Run();
      stopAtFailure();
    }
  });
}

void TfrmScript::btnScriptStopClick() { stop_requested_ = true; }

void TfrmScript::pbtnScriptExecute3Click() { load_newest_watch_file(WatchFolder); }

void TfrmScript::pbtnFileSelectClick() {
  if (!opdImageFile->execute()) return;
  for (const std::string& file : opdImageFile->files()->toVector()) memFileName->lines()->add(file);
}

void TfrmScript::pbtnScriptFileLoadClick() {
  if (!opdTargetFile->execute()) return;
  std::vector<std::string> lines;
  std::string error;
  if (!read_script_file(opdTargetFile->fileName(), lines, &error))
    throw std::runtime_error("Cannot open file \"" + opdTargetFile->fileName() + "\". " + error);
  replace_lines(*memScriptSource, lines);
}

void TfrmScript::pbtnScriptFileSaveClick() {
  if (!svdTargetFile->execute()) return;
  std::string error;
  if (!write_script_file(svdTargetFile->fileName(), memScriptSource->lines()->toVector(), &error))
    throw std::runtime_error("Cannot create file \"" + svdTargetFile->fileName() + "\". " + error);
}

void TfrmScript::pbtnSelectWatchFolderClick() {
  std::string folder = WatchFolder;
  if (dialogs().selectDirectory("フォルダの選択", folder)) WatchFolder = folder;
}

void TfrmScript::pbtnScriptRecordStartClick() { start_macro_recording(); }

void TfrmScript::pbtnScriptRecordStopClick() { replace_lines(*memScriptSource, stop_macro_recording()); }

void TfrmScript::ScriptEngineStdout(const std::string& text) {
  for (const std::string& line : output_lines(text)) memScriptLog->lines()->add(line);
}

void TfrmScript::ScriptEngineError(int32_t line, const std::string& message) {
  memScriptLog->lines()->add(script_error_line(line, message));
}

TForm* make_script_window(TApplication& app) { return app.createForm<TfrmScript>(); }

}  // namespace kestrin::scripting
