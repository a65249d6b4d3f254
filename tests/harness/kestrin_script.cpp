// kestrin-script [--answers FILE] [--timeout SECONDS] [--runs N] SCRIPT [ARG...]: runs a script file
// through the host component (with every host library, the GUI wrappers included, the
// automation test objects and the `Kestrin` object over the headless program that
// kestrin-harness runs) with the ARGs (UTF-8, handed over in CP932) as its arguments, and
// prints what it writes, the program's log lines, the errors as the host reports them, and
// the exit code (CR LF shown as LF). Dialogs are answered by a scripted fake of the UI
// services and of the program's file dialogs: each takes the next line of the answers file
// (`ok`, `ok:TEXT`, `cancel`, `close` or a button code; a file dialog's `ok:PATH` chooses
// PATH, several joined by "|" for a script's dialog) and is closed once the lines run out;
// every question goes to standard error. The fake keeps the clipboard in the process and
// reports no key or button down.
//
// The application object and a hidden main form are made the first time a script needs
// them (a window or other object of the GUI library, mainFormHandle or applicationHandle),
// so scripts may build windows and send messages to those handles, and a script that needs
// none starts without Qt; without QT_QPA_PLATFORM and without a display it runs offscreen.
// The GUI library and Qt are not even loaded until then: they are a module beside the runner
// (kestrin-script-gui.so), loaded with the first GUI object. The GUI library's own questions
// are all refused (no real dialog opens) except the open, save and font dialogs of scripts,
// which take their answers from the same file. With --timeout a run still going after SECONDS
// ends with "Abort Script(line)", wherever it waits.
//
// With --runs N, SCRIPT and the N - 1 files after it are run one after the other in this
// process, each by a host of its own (its dialogs answered from the start of the answers
// file, its own deadline), as N runs of kestrin-script would print them; the ARGs follow.
#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iostream>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "base/cp932.h"
#include "commands/main_form_commands.h"
#include "commands/wiring.h"
#include "harness/script_answers.h"
#include "harness/script_gui_module.h"
#include "ports/log.h"
#include "ports/ports.h"
#include "script/builtins/builtins.h"
#include "script/core/errors.h"
#include "script/core/host.h"
#include "script/core/script_ui.h"
#include "script/gui/check_list_object.h"
#include "script/gui/vcl_class_names.h"
#include "script/objects/host_libraries.h"
#include "scripting/kestrin_object.h"
#include "support/automation_test_objects.h"

namespace {

using kestrin::harness::Answer;
using kestrin::harness::Answers;
using kestrin::harness::Ask;
using kestrin::harness::ChosenFiles;
using kestrin::harness::Confirms;
using kestrin::harness::Joined;
using kestrin::harness::kScriptGuiModuleEntry;
using kestrin::harness::kScriptGuiModuleFile;
using kestrin::harness::ScriptGuiModule;
using kestrin::harness::ScriptGuiModuleEntry;
using kestrin::script::ScriptUi;

void Put(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i)
    if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) out += text[i];
  std::fwrite(out.data(), 1, out.size(), stdout);
  // Each piece goes out at once: a run killed from outside or crashed in a native call
  // still shows what it wrote before.
  std::fflush(stdout);
}

// Offscreen unless a platform is named or a display is there.
void ChoosePlatform() {
  if (std::getenv("QT_QPA_PLATFORM") || std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY")) return;
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

// The GUI module, loaded when a script first makes a GUI object, and the application object
// with the hidden main form, made on first need; both kept to the end of the process.
class LazyGui {
public:
  LazyGui(int& argc, char** argv, Answers& answers) : argc_(argc), argv_(argv), answers_(answers) {}
  ~LazyGui() {
    if (started_) module_->finish();
  }
  bool Loaded() const { return module_ != nullptr; }
  bool Started() const { return started_; }
  const ScriptGuiModule& Module() {
    if (!module_) Load();
    return *module_;
  }
  void Start() {
    if (started_) return;
    Module().start(argc_, argv_);
    started_ = true;
    std::setlocale(LC_NUMERIC, "C");
    if (on_start) on_start();
  }
  // What the current run starts with the application (its watchdog).
  std::function<void()> on_start;

private:
  // The module lies beside the runner.
  void Load() {
    std::string path(4096, '\0');
    const ssize_t n = readlink("/proc/self/exe", path.data(), path.size() - 1);
    path.resize(n > 0 ? size_t(n) : 0);
    path = path.substr(0, path.rfind('/') + 1) + kScriptGuiModuleFile;
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_GLOBAL);
    auto entry = handle ? reinterpret_cast<ScriptGuiModuleEntry>(dlsym(handle, kScriptGuiModuleEntry)) : nullptr;
    if (!entry) {
      std::fflush(stdout);
      std::fprintf(stderr, "kestrin-script: cannot load the GUI library %s: %s\n", path.c_str(), dlerror());
      std::exit(2);
    }
    module_ = entry(answers_);
  }

  int& argc_;
  char** argv_;
  Answers& answers_;
  const ScriptGuiModule* module_ = nullptr;
  bool started_ = false;
};

LazyGui* the_gui = nullptr;

// The GUI wrappers' constructors as the runner registers them: each loads the GUI module and
// makes its object there.
template <size_t I>
kestrin::script::TJObject* CreateGuiObject(kestrin::script::BaseEngine* engine, kestrin::script::TJValueList* params) {
  return the_gui->Module().constructors[I](engine, params);
}

template <size_t... I>
constexpr auto GuiConstructors(std::index_sequence<I...>) {
  return std::array<kestrin::script::ObjectConstructor, sizeof...(I)>{CreateGuiObject<I>...};
}

// Every host library, the GUI wrappers by name (as ImportHostLibrariesWithGui registers
// them); the message pump only waits until the GUI module is there.
void ImportHostLibrariesWithLazyGui(kestrin::script::TJEngine& engine) {
  static constexpr auto kCreate = GuiConstructors(std::make_index_sequence<kestrin::script::kVCLClassNames.size()>());
  kestrin::script::ImportHostLibraries(engine);
  kestrin::script::RegisterCheckListObjects(engine);
  for (size_t i = 0; i < kCreate.size(); ++i) engine.RegisterObjectClass(kestrin::script::kVCLClassNames[i], kCreate[i]);
  engine.MessagePump = [](std::chrono::milliseconds wait) {
    if (the_gui->Loaded()) return the_gui->Module().pump(wait);
    std::this_thread::sleep_for(wait);
    return true;
  };
}

class ScriptedUi : public ScriptUi {
public:
  ScriptedUi(Answers& answers, LazyGui& gui) : answers_(answers), gui_(gui) {}

  int32_t MessageBox(const std::string& text, const std::string& caption, uint32_t flags) override {
    const Answer a = Next();
    int32_t code = kestrin::script::MessageBoxClosed(flags);
    const std::vector<int32_t> buttons = kestrin::script::MessageBoxButtons(flags);
    auto has = [&](int32_t b) { return std::find(buttons.begin(), buttons.end(), b) != buttons.end(); };
    if (a.kind == Answer::Ok) code = has(kestrin::script::kIdOk) ? kestrin::script::kIdOk : kestrin::script::MessageBoxDefault(flags);
    else if (a.kind == Answer::Cancel && has(kestrin::script::kIdCancel)) code = kestrin::script::kIdCancel;
    else if (a.kind == Answer::Code) code = a.code;
    Ask("message box", caption, text, "flags " + std::to_string(flags) + " -> " + std::to_string(code));
    return code;
  }

  bool Prompt(const kestrin::script::PromptRequest& r, std::string& text) override {
    return Input("prompt", r.caption, r.text, r.value, text);
  }

  bool TextArea(const kestrin::script::TextAreaRequest& r, std::string& text) override {
    return Input("text area", r.caption, r.text, r.value, text);
  }

  bool SelectDirectory(const std::string& caption, const std::string&, std::string& directory) override {
    return Input("select directory", caption, "", directory, directory);
  }

  // `ok` keeps the marks shown; `ok:0,2` checks exactly items 0 and 2.
  bool CheckList(const kestrin::script::CheckListRequest& r, std::vector<bool>& checked) override {
    const Answer a = Next();
    const bool ok = Confirms(a);
    if (ok && a.typed) {
      checked.assign(r.items.size(), false);
      for (size_t start = 0; start < a.text.size();) {
        size_t comma = a.text.find(',', start);
        if (comma == std::string::npos) comma = a.text.size();
        const std::string index = a.text.substr(start, comma - start);
        if (!index.empty() && index.size() < 9 && index.find_first_not_of("0123456789") == std::string::npos &&
            static_cast<size_t>(std::stoi(index)) < checked.size())
          checked[static_cast<size_t>(std::stoi(index))] = true;
        start = comma + 1;
      }
    }
    std::string marks;
    for (size_t i = 0; i < checked.size(); ++i)
      if (checked[i]) marks += (marks.empty() ? "" : ",") + std::to_string(i);
    Ask("check list", r.caption, r.text,
        (ok ? "-> [" + marks + "]" : std::string("-> cancelled")) + " of " + std::to_string(r.items.size()) +
            " size " + std::to_string(r.width) + "x" + std::to_string(r.height));
    return ok;
  }

  // `ok:PATH` chooses PATH (several joined by "|"); `ok` the file name shown.
  bool OpenFiles(const kestrin::script::FileDialogRequest& r, bool multiple, std::vector<std::string>& files) override {
    return FileDialog(multiple ? "open files" : "open file", r, files);
  }

  bool SaveFile(const kestrin::script::FileDialogRequest& r, std::string& file) override {
    std::vector<std::string> files;
    if (!FileDialog("save file", r, files) || files.empty()) return false;
    file = files.front();
    return true;
  }

  // Nothing here opens documents.
  bool OpenDocument(const std::string& target) override {
    Ask("open document", "", target, "-> not opened");
    return false;
  }

  bool IsConsole() override { return true; }
  int32_t ApplicationHandle() override {
    gui_.Start();
    return gui_.Module().application_handle();
  }
  int32_t MainFormHandle() override {
    gui_.Start();
    return gui_.Module().main_form_handle();
  }
  void StartGui() override { gui_.Start(); }

private:
  Answer Next() { return answers_.Next(); }

  bool Input(const char* kind, const std::string& caption, const std::string& label, const std::string& shown,
             std::string& text) {
    const Answer a = Next();
    const bool ok = Confirms(a);
    if (ok) text = a.typed ? a.text : shown;
    Ask(kind, caption, label, ok ? "-> " + kestrin::cp932_to_utf8(text) : "-> cancelled");
    return ok;
  }

  bool FileDialog(const char* kind, const kestrin::script::FileDialogRequest& r, std::vector<std::string>& files) {
    const Answer a = Next();
    const bool ok = Confirms(a);
    files = ok ? ChosenFiles(a, r.file_name) : std::vector<std::string>();
    Ask(kind, r.title, kestrin::script::QtFileFilter(r.filter), ok ? "-> " + Joined(files) : "-> cancelled");
    return ok;
  }

  Answers& answers_;
  LazyGui& gui_;
};

// The program's file dialogs (LoadImageFileSelect): `ok:PATH` chooses PATH, anything else
// cancels.
class ScriptedFileDialogs : public kestrin::HeadlessFileDialogs {
public:
  explicit ScriptedFileDialogs(Answers& answers) : answers_(answers) {}
  std::string run_open(const kestrin::FileDialogSetup& setup) override { return Run("open", setup); }
  std::string run_save(const kestrin::FileDialogSetup& setup) override { return Run("save", setup); }

private:
  std::string Run(const char* kind, const kestrin::FileDialogSetup& setup) {
    const Answer a = answers_.Next();
    const std::string name = a.kind == Answer::Ok && a.typed ? kestrin::cp932_to_utf8(a.text) : std::string();
    std::fprintf(stderr, "[%s] \"%s\": %s\n", kind, setup.filter.c_str(),
                 name.empty() ? "-> cancelled" : ("-> " + name).c_str());
    return name;
  }

  Answers& answers_;
};

std::vector<std::string> ReadLines(const char* path) {
  std::vector<std::string> lines;
  std::ifstream in(path, std::ios::binary);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// Standard input for read and readln: a line, `count` characters, or everything.
void ReadStdin(std::string& s, bool& ok, int32_t count, bool line) {
  if (line) {
    ok = static_cast<bool>(std::getline(std::cin, s));
    return;
  }
  s.clear();
  for (int32_t n = 0; count < 0 || n < count; ++n) {
    int c = std::cin.get();
    if (c == EOF) break;
    s.push_back(static_cast<char>(c));
    // A UTF-8 character is one character of the script's text.
    while ((std::cin.peek() & 0xC0) == 0x80) s.push_back(static_cast<char>(std::cin.get()));
  }
  ok = !s.empty() || count == 0;
}

int Usage() {
  std::fprintf(stderr, "usage: kestrin-script [--answers FILE] [--timeout SECONDS] [--runs N] SCRIPT [ARG...]\n");
  return 2;
}

// The run's deadline: statements and waits check it; a watchdog ends the loops that wait
// inside the GUI library (showModal) with an abort.
class Deadline {
public:
  Deadline(double seconds, LazyGui& gui)
      : at_(std::chrono::steady_clock::now() + std::chrono::milliseconds(static_cast<int64_t>(seconds * 1000))), gui_(gui) {}
  ~Deadline() {
    if (watching_) gui_.Module().stop_watchdog();
  }
  bool Passed() const { return std::chrono::steady_clock::now() >= at_; }
  void StartWatchdog() {
    gui_.Module().start_watchdog(std::chrono::duration_cast<std::chrono::milliseconds>(at_ - std::chrono::steady_clock::now()));
    watching_ = true;
  }

private:
  std::chrono::steady_clock::time_point at_;
  LazyGui& gui_;
  bool watching_ = false;
};

bool ReadFile(const std::string& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "kestrin-script: cannot read %s\n", path.c_str());
    return false;
  }
  text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

// Compiles and runs one script file by a host of its own and prints its exit code.
void RunScript(const std::string& file, const std::string& source, ScriptUi& ui, LazyGui& gui,
               const std::vector<std::string>& args, double timeout) {
  kestrin::script::TJHost host(kestrin::script::RegisterBuiltins, {ImportHostLibrariesWithLazyGui});
  kestrin::scripting::ImportKestrin(host);
  host.SetUi(&ui);
  // Libraries are looked up next to the script first.
  size_t slash = file.rfind('/');
  host.SetLibraryPath({slash == std::string::npos ? std::string(".") : file.substr(0, slash)});
  host.OnStdout = [](kestrin::script::TJScriptHost&, const std::string& s) { Put(s); };
  host.OnStderr = [](kestrin::script::TJScriptHost&, const std::string& s) { Put(s); };
  host.OnStdin = [](kestrin::script::TJScriptHost&, std::string& s, bool& ok, int32_t count, bool line) {
    ReadStdin(s, ok, count, line);
  };
  host.SetScriptFileName(file);
  kestrin::script::TJValueList params;
  for (const std::string& a : args) params.AddString(kestrin::utf8_to_cp932(a));
  std::unique_ptr<Deadline> deadline;
  if (timeout > 0) {
    deadline = std::make_unique<Deadline>(timeout, gui);
    // The watchdog runs on the application's timers, so it starts with the application.
    if (gui.Started()) deadline->StartWatchdog();
    else gui.on_start = [&] { deadline->StartWatchdog(); };
    host.OnStep = [&](kestrin::script::TJScriptHost&, bool& abort) { abort = deadline->Passed(); };
    host.OnDoEvents = [&](kestrin::script::TJScriptHost&, bool&) {
      if (deadline->Passed()) throw kestrin::script::EJAbort("script abort");
    };
  }
  int32_t code = 0;
  if (host.Compile(source)) code = host.Run(params);
  host.Clear();
  gui.on_start = nullptr;
  if (gui.Loaded()) gui.Module().flush_deferred_frees();
  std::fflush(stdout);
  std::printf("exit code: %d\n", code);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> answers;
  double timeout = 0;
  int runs = 1;
  int arg = 1;
  while (arg < argc && argv[arg][0] == '-' && argv[arg][1] == '-') {
    const std::string option = argv[arg];
    if (arg + 1 >= argc) return Usage();
    if (option == "--answers") answers = ReadLines(argv[arg + 1]);
    else if (option == "--timeout") timeout = std::atof(argv[arg + 1]);
    else if (option == "--runs") runs = std::max(1, std::atoi(argv[arg + 1]));
    else return Usage();
    arg += 2;
  }
  if (arg + runs > argc) return Usage();
  std::vector<std::pair<std::string, std::string>> scripts;  // file, source
  for (int i = 0; i < runs; ++i) {
    std::string source;
    if (!ReadFile(argv[arg + i], source)) return 2;
    scripts.emplace_back(argv[arg + i], std::move(source));
  }
  const std::vector<std::string> args(argv + arg + runs, argv + argc);
  ChoosePlatform();
  int app_argc = 1;
  Answers scripted(std::move(answers));
  LazyGui gui(app_argc, argv, scripted);
  the_gui = &gui;
  // The locale as the application object sets it (from the environment), numbers with '.'.
  std::setlocale(LC_ALL, "");
  std::setlocale(LC_NUMERIC, "C");
  ScriptedFileDialogs file_dialogs(scripted);
  kestrin::Ports ports;
  ports.file_dialogs = &file_dialogs;
  kestrin::wire_program(ports);
  kestrin::start_program_state();
  kestrin::the_log().set_listener([](const std::string& line) { Put(line + "\n"); });
  kestrin::test::RegisterAutomationTestObjects();
  ScriptedUi ui(scripted, gui);
  for (const auto& [file, source] : scripts) {
    scripted.Restart();
    RunScript(file, source, ui, gui, args, timeout);
  }
  kestrin::the_log().set_listener(nullptr);
  return 0;
}
