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
  // A Yes/No question closed unanswered means No, as the GUI's box takes it: closing it
  // never agrees to what it asks (to delete, to overwrite).
  for (int32_t b : buttons)
    if (b == kIdNo) return kIdNo;
  return MessageBoxDefault(flags);
}

int32_t ScriptUi::MessageBox(const std::string&, const std::string&, uint32_t flags) { return MessageBoxClosed(flags); }

bool ScriptUi::Prompt(const PromptRequest&, std::string&) { return false; }

bool ScriptUi::TextArea(const TextAreaRequest&, std::string&) { return false; }

bool ScriptUi::CheckList(const CheckListRequest&, std::vector<bool>&) { return false; }

bool ScriptUi::SelectDirectory(const std::string&, const std::string&, std::string&) { return false; }

bool ScriptUi::OpenFiles(const FileDialogRequest&, bool, std::vector<std::string>&) { return false; }

bool ScriptUi::SaveFile(const FileDialogRequest&, std::string&) { return false; }

bool ScriptUi::OpenDocument(const std::string&) { return false; }

void ScriptUi::SetClipboardText(const std::string& text) {
  clipboard_text_ = text;
  has_clipboard_text_ = true;
}

bool ScriptUi::KeyDown(int32_t) { return false; }

bool ScriptUi::CursorPos(int32_t&, int32_t&) { return false; }

std::string QtFileFilter(std::string_view filter) {
  std::vector<std::string_view> parts;
  for (size_t start = 0; start <= filter.size();) {
    size_t bar = filter.find('|', start);
    if (bar == std::string_view::npos) bar = filter.size();
    parts.push_back(filter.substr(start, bar - start));
    start = bar + 1;
  }
  std::string out;
  for (size_t i = 0; i + 1 < parts.size(); i += 2) {
    std::string patterns;
    std::string_view list = parts[i + 1];
    for (size_t start = 0; start <= list.size();) {
      size_t semi = list.find(';', start);
      if (semi == std::string_view::npos) semi = list.size();
      std::string_view p = list.substr(start, semi - start);
      while (!p.empty() && p.front() == ' ') p.remove_prefix(1);
      while (!p.empty() && p.back() == ' ') p.remove_suffix(1);
      if (!p.empty()) patterns += (patterns.empty() ? "" : " ") + std::string(p == "*.*" ? "*" : p);
      start = semi + 1;
    }
    out += (out.empty() ? "" : ";;") + std::string(parts[i]) + " (" + patterns + ")";
  }
  return out;
}

ScriptUi& DefaultScriptUi() {
  static ScriptUi none;
  return none;
}

}  // namespace kestrin::script
