// The answers file of kestrin-script: one line per dialog, shared by every kind of dialog in
// the order they are asked, and the line each question writes to standard error. Used by
// the runner and by its GUI module.
#pragma once

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "base/cp932.h"
#include "script/core/script_ui.h"

namespace kestrin::harness {

// One answer: what the user did.
struct Answer {
  enum Kind { Ok, Cancel, Close, Code, Apply } kind = Close;
  bool typed = false;  // ok:TEXT or apply:TEXT
  std::string text;    // CP932; "\n" in the file is a line break (CR LF)
  int code = 0;
};

inline Answer ParseAnswer(const std::string& line) {
  Answer a;
  if (line == "ok") {
    a.kind = Answer::Ok;
  } else if (line.rfind("ok:", 0) == 0) {
    a.kind = Answer::Ok;
    a.typed = true;
    std::string text = line.substr(3);
    for (size_t at; (at = text.find("\\n")) != std::string::npos;) text.replace(at, 2, "\r\n");
    a.text = kestrin::utf8_to_cp932(text);
  } else if (line.rfind("apply:", 0) == 0) {
    a.kind = Answer::Apply;
    a.typed = true;
    a.text = kestrin::utf8_to_cp932(line.substr(6));
  } else if (line == "cancel") {
    a.kind = Answer::Cancel;
  } else if (!line.empty() && line.find_first_not_of("0123456789") == std::string::npos) {
    a.kind = Answer::Code;
    a.code = std::stoi(line.substr(0, 9));
  }
  return a;
}

// The answers file, shared by every kind of dialog in the order they are asked.
class Answers {
public:
  explicit Answers(std::vector<std::string> lines) : lines_(std::move(lines)) {}
  Answer Next() {
    if (next_ >= lines_.size()) return Answer{};
    return ParseAnswer(lines_[next_++]);
  }
  // A new run answers from the first line again.
  void Restart() { next_ = 0; }

private:
  std::vector<std::string> lines_;
  size_t next_ = 0;
};

inline void Ask(const char* kind, const std::string& caption, const std::string& text, const std::string& answer) {
  std::fprintf(stderr, "[%s] \"%s\": %s %s\n", kind, kestrin::cp932_to_utf8(caption).c_str(),
               kestrin::cp932_to_utf8(text).c_str(), answer.c_str());
}

inline bool Confirms(const Answer& a) {
  return a.kind == Answer::Ok || (a.kind == Answer::Code && a.code == kestrin::script::kIdOk);
}

// The files an accepting answer of a file dialog chooses (CP932): `ok:A|B`, or with a plain
// `ok` the name the dialog shows.
inline std::vector<std::string> ChosenFiles(const Answer& a, const std::string& shown) {
  std::vector<std::string> files;
  if (!a.typed && !shown.empty()) files.push_back(shown);
  for (size_t start = 0; a.typed && start <= a.text.size();) {
    size_t bar = a.text.find('|', start);
    if (bar == std::string::npos) bar = a.text.size();
    files.push_back(a.text.substr(start, bar - start));
    start = bar + 1;
  }
  return files;
}

inline std::string Joined(const std::vector<std::string>& files) {
  std::string chosen;
  for (const std::string& f : files) chosen += (chosen.empty() ? "" : "|") + kestrin::cp932_to_utf8(f);
  return chosen;
}

}  // namespace kestrin::harness
