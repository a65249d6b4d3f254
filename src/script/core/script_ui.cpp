// Message-box button sets and the answers of the window-less default services.
#include "script/core/script_ui.h"

namespace kestrin::script {

std::vector<int32_t> MessageBoxButtons(uint32_t flags) {
  switch (flags & kMbTypeMask) {
    case kMbOkCancel: return {kIdOk, kIdCancel};
    case kMbAbortRetryIgnore: return {kIdAbort, kIdRetry, kIdIgnore};
    case kMbYesNoCancel: return {kIdYes, kIdNo, kIdCancel};
    case kMbYesNo: return {kIdYes, kIdNo};
    case kMbRetryCancel: return {kIdRetry, kIdCancel};
    default: return {kIdOk};
  }
}

int32_t MessageBoxDefault(uint32_t flags) {
  const std::vector<int32_t> buttons = MessageBoxButtons(flags);
  const size_t index = (flags & kMbDefMask) >> 8;
  return index < buttons.size() ? buttons[index] : buttons[0];
}

int32_t MessageBoxClosed(uint32_t flags) {
  const std::vector<int32_t> buttons = MessageBoxButtons(flags);
  for (int32_t b : buttons)
    if (b == kIdCancel) return kIdCancel;
  if (buttons.size() == 1) return buttons[0];
  return MessageBoxDefault(flags);
}

int32_t ScriptUi::MessageBox(const std::string&, const std::string&, uint32_t flags) { return MessageBoxClosed(flags); }

bool ScriptUi::Prompt(const PromptRequest&, std::string&) { return false; }

bool ScriptUi::TextArea(const TextAreaRequest&, std::string&) { return false; }

bool ScriptUi::SelectDirectory(const std::string&, const std::string&, std::string&) { return false; }

ScriptUi& DefaultScriptUi() {
  static ScriptUi none;
  return none;
}

}  // namespace kestrin::script
