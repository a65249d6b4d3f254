// The program's UI services for scripts: message boxes through the GUI library's dialogs,
// the prompt and text-area forms, the folder browser, and the application's title and
// main window. Texts cross this edge as CP932 (scripts) <-> UTF-8 (the windows).
#pragma once

#include "script/core/script_ui.h"

namespace kestrin::script {

class QtScriptUi : public ScriptUi {
public:
  // Brings the window that was active before the box back to the front afterwards.
  int32_t MessageBox(const std::string& text, const std::string& caption, uint32_t flags) override;
  bool Prompt(const PromptRequest& request, std::string& text) override;
  bool TextArea(const TextAreaRequest& request, std::string& text) override;
  bool SelectDirectory(const std::string& caption, const std::string& root, std::string& directory) override;
  std::string ApplicationTitle() override;
  // No application window exists here: 0.
  int32_t ApplicationHandle() override { return 0; }
  int32_t MainFormHandle() override;
};

}  // namespace kestrin::script
