// kestrin-script's GUI module: the application object with a hidden main form, the GUI
// wrappers' constructors and message pump, the run's watchdog and the GUI library's own
// dialogs answered from the answers file. The runner loads it the first time a script needs
// a GUI object, so that a script that needs none starts without loading Qt.
#include "harness/script_gui_module.h"

#include <QTimer>
#include <algorithm>
#include <clocale>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/cp932.h"
#include "harness/script_answers.h"
#include "platform/gui/app.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/form.h"
#include "script/core/errors.h"
#include "script/gui/qt_script_ui.h"
#include "script/gui/vcl_objects.h"
#include "script/gui/vcl_wrapper.h"

namespace {

using kestrin::harness::Answer;
using kestrin::harness::Answers;
using kestrin::harness::Ask;
using kestrin::harness::ChosenFiles;
using kestrin::harness::Confirms;
using kestrin::harness::Joined;

// The GUI library's open, save and font dialogs (VCLOpenDialog and the like), answered as
// the others: a file dialog's `ok:PATH` (several joined by "|") or `ok` (the FileName shown)
// goes to the file and confirms it, and when "onCanClose" keeps the dialog open the next line
// answers it again; a font dialog's `ok:NAME,SIZE` chooses, `ok` keeps the font, and
// `apply:NAME,SIZE` presses Apply and the next line answers it again. Every other question
// of the library is refused.
class ScriptedLibraryDialogs : public kgui::Dialogs {
public:
  explicit ScriptedLibraryDialogs(Answers& answers) : answers_(answers) {}

  bool executeFile(kgui::TOpenDialog& d, bool save) override {
    for (;;) {
      const Answer a = answers_.Next();
      const std::vector<std::string> files = Confirms(a) ? ChosenFiles(a, kestrin::utf8_to_cp932(d.fileName())) : std::vector<std::string>();
      std::vector<std::string> names;
      for (const std::string& f : files) names.push_back(kestrin::cp932_to_utf8(f));
      Ask(save ? "save dialog" : "open dialog", kestrin::utf8_to_cp932(d.title()), kestrin::utf8_to_cp932(d.filter()),
          files.empty() ? "-> cancelled" : "-> " + Joined(files));
      if (files.empty()) return false;
      d.showChoice(names, 0);
      if (d.confirm(names, 0)) return true;
    }
  }

  bool executeFont(kgui::TFont& font, const std::function<void()>& apply) override {
    for (;;) {
      const Answer a = answers_.Next();
      const bool applied = a.kind == Answer::Apply;
      if (!Confirms(a) && !applied) {
        Ask("font dialog", "", kestrin::utf8_to_cp932(font.name()), "-> cancelled");
        return false;
      }
      if (a.typed) SetFont(font, kestrin::cp932_to_utf8(a.text));
      Ask("font dialog", "", kestrin::utf8_to_cp932(font.name()),
          (applied ? "-> applied " : "-> ") + font.name() + "," + std::to_string(font.size()));
      if (!applied) return true;
      if (apply) apply();
    }
  }

  int messageBox(const std::string&, const std::string&, kgui::TMsgDlgType, kgui::TMsgDlgButtons buttons) override {
    return refusing_.messageBox({}, {}, kgui::mtCustom, buttons);
  }
  bool selectDirectory(const std::string&, std::string&) override { return false; }
  bool executeColor(kgui::TColor&) override { return false; }
  bool executePrint(kgui::TPrinter&) override { return false; }

private:
  // NAME,SIZE: the size after the last comma when it is a number.
  static void SetFont(kgui::TFont& font, const std::string& text) {
    const size_t comma = text.rfind(',');
    const std::string size = comma == std::string::npos ? std::string() : text.substr(comma + 1);
    if (!size.empty() && size.size() < 4 && size.find_first_not_of("0123456789") == std::string::npos) {
      font.setName(text.substr(0, comma));
      font.setSize(std::stoi(size));
    } else {
      font.setName(text);
    }
  }

  Answers& answers_;
  kgui::Dialogs& refusing_ = kgui::dialogs();
};

std::unique_ptr<ScriptedLibraryDialogs> library_dialogs;
std::unique_ptr<kgui::TApplication> application;
std::unique_ptr<QTimer> watchdog;

void Start(int& argc, char** argv) {
  if (application) return;
  // The application installs Qt's dialogs; the runner's scripted ones stay.
  kgui::Dialogs* scripted = kgui::setDialogs(nullptr);
  application = std::make_unique<kgui::TApplication>(argc, argv);
  kgui::setDialogs(scripted);
  // The headless program has no window of its own: a hidden form with the program's title
  // stands for its main window, so mainFormHandle names a window that answers messages.
  application->createForm<kgui::TForm>()->setCaption(application->title());
}

void Finish() {
  watchdog.reset();
  application.reset();
}

void StartWatchdog(std::chrono::milliseconds left) {
  watchdog = std::make_unique<QTimer>();
  watchdog->setSingleShot(true);
  QObject::connect(watchdog.get(), &QTimer::timeout, [] {
    kestrin::script::KeepVCLPendingError(std::make_exception_ptr(kestrin::script::EJAbort("script abort")));
  });
  watchdog->start(static_cast<int>(std::max<int64_t>(0, left.count())));
}

void StopWatchdog() { watchdog.reset(); }

}  // namespace

extern "C" __attribute__((visibility("default"))) const kestrin::harness::ScriptGuiModule* kestrin_script_gui_module(
    Answers& answers) {
  static const kestrin::harness::ScriptGuiModule module{
      kestrin::script::VCLConstructors(),
      kestrin::script::PumpVCLMessages,
      Start,
      Finish,
      kestrin::script::ApplicationWindowHandle,
      kestrin::script::MainFormWindowHandle,
      StartWatchdog,
      StopWatchdog,
      kestrin::script::FlushVCLDeferredFrees,
  };
  if (!library_dialogs) {
    kestrin::script::PrepareVCLObjects();
    kgui::setDialogs(nullptr);
    library_dialogs = std::make_unique<ScriptedLibraryDialogs>(answers);
    kgui::setDialogs(library_dialogs.get());
  }
  return &module;
}
