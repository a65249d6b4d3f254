// Questions and messages to the user. The default answers yes without asking and shows
// nothing (headless runs); the program asks through message boxes.
#pragma once

#include <string_view>

namespace kestrin {

// The answer to a question with Yes and No that the user may also dismiss (Escape or the
// close box).
enum class YesNo { kYes, kNo, kDismissed };

class Prompts {
public:
  virtual ~Prompts() = default;
  virtual bool confirm(std::string_view question) {
    (void)question;
    return true;
  }
  // A question with Yes and No; a dismissed question is told apart from No.
  virtual YesNo ask_yes_no(std::string_view question) { return confirm(question) ? YesNo::kYes : YesNo::kNo; }
  virtual void message(std::string_view text) { (void)text; }
};

}  // namespace kestrin
