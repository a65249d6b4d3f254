// kestrin-script [--answers FILE] SCRIPT [ARG...]: runs a script file through the host
// component (with the host libraries and the automation test objects) with the ARGs (UTF-8,
// handed over in CP932) as its arguments, and prints what it writes, the errors as the host
// reports them, and the exit code (CR LF shown as LF). Dialogs are answered by a scripted
// fake of the UI services: each takes the next line of the answers file (`ok`, `ok:TEXT`,
// `cancel`, `close` or a button code; a file dialog's `ok:PATH` chooses PATH, several joined
// by "|") and is closed once the lines run out; every question goes to standard error. The
// fake keeps the clipboard in the process and reports no key or button down.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "base/cp932.h"
#include "script/builtins/builtins.h"
#include "script/core/host.h"
#include "script/core/script_ui.h"
#include "script/objects/host_libraries.h"
#include "support/automation_test_objects.h"

namespace {

using kestrin::script::ScriptUi;

void Put(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i)
    if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) out += text[i];
  std::fwrite(out.data(), 1, out.size(), stdout);
}

// One answer: what the user did.
struct Answer {
  enum Kind { Ok, Cancel, Close, Code } kind = Close;
  bool typed = false;  // ok:TEXT
  std::string text;    // CP932; "\n" in the file is a line break (CR LF)
  int code = 0;
};

Answer ParseAnswer(const std::string& line) {
  Answer a;
  if (line == "ok") {
    a.kind = Answer::Ok;
  } else if (line.rfind("ok:", 0) == 0) {
    a.kind = Answer::Ok;
    a.typed = true;
    std::string text = line.substr(3);
    for (size_t at; (at = text.find("\\n")) != std::string::npos;) text.replace(at, 2, "\r\n");
    a.text = kestrin::utf8_to_cp932(text);
  } else if (line == "cancel") {
    a.kind = Answer::Cancel;
  } else if (!line.empty() && line.find_first_not_of("0123456789") == std::string::npos) {
    a.kind = Answer::Code;
    a.code = std::stoi(line.substr(0, 9));
  }
  return a;
}

class ScriptedUi : public ScriptUi {
public:
  explicit ScriptedUi(std::vector<std::string> lines) : lines_(std::move(lines)) {}

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

private:
  Answer Next() {
    if (next_ >= lines_.size()) return Answer{};
    return ParseAnswer(lines_[next_++]);
  }

  bool Input(const char* kind, const std::string& caption, const std::string& label, const std::string& shown,
             std::string& text) {
    const Answer a = Next();
    const bool ok = a.kind == Answer::Ok || (a.kind == Answer::Code && a.code == kestrin::script::kIdOk);
    if (ok) text = a.typed ? a.text : shown;
    Ask(kind, caption, label, ok ? "-> " + kestrin::cp932_to_utf8(text) : "-> cancelled");
    return ok;
  }

  bool FileDialog(const char* kind, const kestrin::script::FileDialogRequest& r, std::vector<std::string>& files) {
    const Answer a = Next();
    const bool ok = a.kind == Answer::Ok || (a.kind == Answer::Code && a.code == kestrin::script::kIdOk);
    files.clear();
    if (ok && !a.typed && !r.file_name.empty()) files.push_back(r.file_name);
    for (size_t start = 0; ok && a.typed && start <= a.text.size();) {
      size_t bar = a.text.find('|', start);
      if (bar == std::string::npos) bar = a.text.size();
      files.push_back(a.text.substr(start, bar - start));
      start = bar + 1;
    }
    std::string chosen;
    for (const std::string& f : files) chosen += (chosen.empty() ? "" : "|") + kestrin::cp932_to_utf8(f);
    Ask(kind, r.title, kestrin::script::QtFileFilter(r.filter), ok ? "-> " + chosen : "-> cancelled");
    return ok;
  }

  static void Ask(const char* kind, const std::string& caption, const std::string& text, const std::string& answer) {
    std::fprintf(stderr, "[%s] \"%s\": %s %s\n", kind, kestrin::cp932_to_utf8(caption).c_str(),
                 kestrin::cp932_to_utf8(text).c_str(), answer.c_str());
  }

  std::vector<std::string> lines_;
  size_t next_ = 0;
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
  std::fprintf(stderr, "usage: kestrin-script [--answers FILE] SCRIPT [ARG...]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> answers;
  int arg = 1;
  if (argc >= 2 && std::string(argv[1]) == "--answers") {
    if (argc < 4) return Usage();
    answers = ReadLines(argv[2]);
    arg = 3;
  } else if (argc < 2) {
    return Usage();
  }
  std::ifstream in(argv[arg], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "kestrin-script: cannot read %s\n", argv[arg]);
    return 2;
  }
  std::string source((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  kestrin::test::RegisterAutomationTestObjects();
  kestrin::script::TJHost host(kestrin::script::RegisterBuiltins, {kestrin::script::ImportHostLibraries});
  ScriptedUi ui(std::move(answers));
  host.SetUi(&ui);
  // Libraries are looked up next to the script first.
  std::string file = argv[arg];
  size_t slash = file.rfind('/');
  host.SetLibraryPath({slash == std::string::npos ? std::string(".") : file.substr(0, slash)});
  host.OnStdout = [](kestrin::script::TJScriptHost&, const std::string& s) { Put(s); };
  host.OnStderr = [](kestrin::script::TJScriptHost&, const std::string& s) { Put(s); };
  host.OnStdin = [](kestrin::script::TJScriptHost&, std::string& s, bool& ok, int32_t count, bool line) {
    ReadStdin(s, ok, count, line);
  };
  host.SetScriptFileName(file);
  kestrin::script::TJValueList params;
  for (int i = arg + 1; i < argc; ++i) params.AddString(kestrin::utf8_to_cp932(argv[i]));
  int32_t code = 0;
  if (host.Compile(source)) code = host.Run(params);
  std::fflush(stdout);
  std::printf("exit code: %d\n", code);
  return 0;
}
