// The program's UI services for scripts: message boxes and file dialogs through the GUI
// library's dialogs, the prompt and text-area forms, the folder browser, the clipboard,
// key, button and cursor state, the desktop's document opener, and the application's
// title and main window. Texts cross this edge as CP932 (scripts) <-> UTF-8 (the windows).
#pragma once

#include <memory>

#include "script/core/script_ui.h"

namespace kestrin::script {

class KeyStateFilter;

// The window handles of the application and of its main form (0 without one), which
// DynaCall's messages reach.
int32_t ApplicationWindowHandle();
int32_t MainFormWindowHandle();

class QtScriptUi : public ScriptUi {
public:
  // Starts watching the keys pressed in the application's windows (for KeyDown).
  QtScriptUi();
  ~QtScriptUi() override;

  // Brings the window that was active before the box back to the front afterwards.
  int32_t MessageBox(const std::string& text, const std::string& caption, uint32_t flags) override;
  bool Prompt(const PromptRequest& request, std::string& text) override;
  bool TextArea(const TextAreaRequest& request, std::string& text) override;
  // TfrmCheckList over the owner form; an empty caption shows the application's title.
  bool CheckList(const CheckListRequest& request, std::vector<bool>& checked) override;
  bool SelectDirectory(const std::string& caption, const std::string& root, std::string& directory) override;
  // The GUI library's file dialogs: the filter is handed over as it is.
  bool OpenFiles(const FileDialogRequest& request, bool multiple, std::vector<std::string>& files) override;
  bool SaveFile(const FileDialogRequest& request, std::string& file) override;
  // A URL as it is, anything else as a local file (relative to the current folder).
  bool OpenDocument(const std::string& target) override;
  bool ClipboardHasText() override;
  std::string ClipboardText() override;
  void SetClipboardText(const std::string& text) override;
  // Modifiers and mouse buttons as Qt knows them now; other keys while pressed in one of
  // Kestrin's windows.
  bool KeyDown(int32_t virtual_key) override;
  bool CursorPos(int32_t& x, int32_t& y) override;
  std::string ApplicationTitle() override;
  int32_t ApplicationHandle() override { return ApplicationWindowHandle(); }
  int32_t MainFormHandle() override { return MainFormWindowHandle(); }

private:
  std::unique_ptr<KeyStateFilter> keys_;
};

}  // namespace kestrin::script
