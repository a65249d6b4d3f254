// TfrmScript: the script window. An editor for the source, the script log, the list of
// target image files, the run buttons, the macro recorder's two buttons and the watch
// folder; one host component runs the scripts with the `Kestrin` object and the GUI
// wrappers. Runs stay on the GUI thread inside the long-run guard, and the windows keep
// taking their input while a script computes, so that Escape (Stop) or the main window's
// close ends it.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "app/panel_button.h"
#include "platform/gui/app.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/form.h"
#include "platform/gui/list_controls.h"
#include "platform/gui/std_controls.h"
#include "ports/controls.h"
#include "script/core/host.h"
#include "script/gui/qt_script_ui.h"

namespace kestrin::scripting {

class TfrmScript : public kgui::TForm {
public:
  explicit TfrmScript(kgui::TComponent* owner);
  ~TfrmScript() override;

  kgui::TMemo *memScriptSource, *memScriptLog, *memFileName;
  app::TPanelButton *pbtnScriptFileLoad, *pbtnScriptFileSave, *pbtnFileSelect;
  app::TPanelButton *pbtnScriptExecute, *pbtnScriptExecute2, *pbtnSelectWatchFolder, *pbtnScriptExecute3;
  app::TPanelButton *pbtnScriptRecordStart, *pbtnScriptRecordStop;
  // Stops the running script (shown only while one runs; Escape presses it).
  kgui::TButton* btnScriptStop;
  // The Kestrin object's number cells; never shown.
  kgui::TEdit *edtValue1, *edtValue2;
  kgui::TOpenDialog *opdTargetFile, *opdImageFile;
  kgui::TSaveDialog* svdTargetFile;
  std::unique_ptr<script::TJHost> ScriptEngine;
  // The folder of the newest-file flow; empty until one is chosen.
  std::string WatchFolder;

  // The handlers of the buttons and of the engine's output and errors.
  void pbtnScriptExecuteClick();
  void pbtnScriptExecute2Click();
  void pbtnScriptExecute3Click();
  void pbtnFileSelectClick();
  void pbtnScriptFileLoadClick();
  void pbtnScriptFileSaveClick();
  void pbtnSelectWatchFolderClick();
  void pbtnScriptRecordStartClick();
  void pbtnScriptRecordStopClick();
  void btnScriptStopClick();
  void ScriptEngineStdout(const std::string& text);
  void ScriptEngineError(int32_t line, const std::string& message);

private:
  void createButtons();
  void createMemos();
  void createCells();
  void createDialogs();
  void createEngine();
  void createStopButton();
  // Runs body as a long run with the Stop button shown; the engine is cleared at its end.
  void runScripts(const char* routine, const std::function<void()>& body);
  // While a script computes: lets the windows take their input; abort once the user
  // stopped the script or the program is ending.
  void pollWindows(bool& abort);
  bool stopRequested() const;
  kgui::TMemo* addMemo(ControlName name, const char* label, int left, int top, int width, int height);
  app::TPanelButton* addButton(ControlName name, const char* caption, int left, int top, int width);
  // Imports the Kestrin class and compiles the source's lines joined by line breaks.
  bool compileSource();
  // Ends a run flow at a failure that was no script error, as the platform's handler of
  // such failures does: the message is reported and nothing more runs.
  void stopAtFailure();

  script::QtScriptUi ui_;
  bool stop_requested_ = false;
};

// Makes the script window, owned by the application (the program's form list calls it).
kgui::TForm* make_script_window(kgui::TApplication& app);

}  // namespace kestrin::scripting
