// Questions and messages to the user. The default answers yes without asking and shows
// nothing (headless runs); the program asks through message boxes.
#pragma once

#include <string_view>

namespace kestrin {

class Prompts {
public:
  virtual ~Prompts() = default;
  virtual bool confirm(std::string_view question) {
    (void)question;
    return true;
  }
  virtual void message(std::string_view text) { (void)text; }
};

}  // namespace kestrin
