// Script UI services that answer every message box with one fixed button and remember
// what was asked, for tests of the script objects that ask before they act.
#pragma once

#include <cstdint>
#include <string>

#include "script/core/script_ui.h"

namespace kestrin::test {

class AnsweringUi : public script::ScriptUi {
public:
  explicit AnsweringUi(int32_t answer) : answer_(answer) {}
  int32_t MessageBox(const std::string& text, const std::string&, uint32_t flags) override {
    ++asked;
    last = text;
    last_flags = flags;
    return answer_;
  }
  int asked = 0;
  std::string last;
  uint32_t last_flags = 0;

private:
  int32_t answer_;
};

}  // namespace kestrin::test
