// What scripts ask of the user interface: message boxes, the prompt and text-area dialogs,
// the folder browser, and a few facts about the application. The host component holds one
// implementation (the program's windows, or a scripted fake); texts are CP932 script strings.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kestrin::script {

// Windows MessageBox flags as scripts give them: the buttons in the low four bits, the
// icon in the next four, the default button in the next four.
inline constexpr uint32_t kMbOk = 0x0, kMbOkCancel = 0x1, kMbAbortRetryIgnore = 0x2,
                          kMbYesNoCancel = 0x3, kMbYesNo = 0x4, kMbRetryCancel = 0x5;
inline constexpr uint32_t kMbIconHand = 0x10, kMbIconQuestion = 0x20, kMbIconExclamation = 0x30,
                          kMbIconAsterisk = 0x40;
inline constexpr uint32_t kMbTypeMask = 0xF, kMbIconMask = 0xF0, kMbDefMask = 0xF00;
// The button codes a message box answers.
inline constexpr int32_t kIdOk = 1, kIdCancel = 2, kIdAbort = 3, kIdRetry = 4, kIdIgnore = 5,
                         kIdYes = 6, kIdNo = 7;

// The button codes of a box, in screen order (an unknown type shows OK alone).
std::vector<int32_t> MessageBoxButtons(uint32_t flags);
// The button that Enter chooses: the first, second or third by the default-button bits.
int32_t MessageBoxDefault(uint32_t flags);
// What the close box or Esc gives: Cancel when the box has it, OK for an OK-only box, No
// for a Yes/No box (as Qt's box answers Esc); the Abort/Retry/Ignore box has no close box,
// and closing it gives its default button.
int32_t MessageBoxClosed(uint32_t flags);

// The prompt dialog: a label, a one-line edit and OK/Cancel. A width of 0 keeps the
// dialog's own; callers raise a given width to at least 200.
struct PromptRequest {
  std::string text;
  std::string value;
  std::string caption;
  char password_char = 0;  // 0: the text shows
  int32_t width = 0;
};

// The text-area dialog: a label, a memo and OK/Cancel/Clear; width and height as above.
struct TextAreaRequest {
  std::string text;
  std::string value;  // the memo's lines, CR LF or LF between them
  std::string caption;
  int32_t width = 0;
  int32_t height = 0;
};

// A file dialog: its title, the file name it shows first, the folder it opens in, and the
// filter in the platform's form: descriptions and pattern lists alternating, "|" between
// them, ";" between patterns ("Text|*.txt;*.log|All|*.*").
struct FileDialogRequest {
  std::string title;
  std::string file_name;
  std::string initial_dir;
  std::string filter;
};

// The check-list dialog: a label, a list of items with check boxes and OK/Cancel. The
// marks go in and, on OK, come back in `checked` (one per item). An empty caption shows the
// application's title; width and height (client size) as above, 0 keeps the dialog's own.
struct CheckListRequest {
  std::string caption;
  std::string text;
  std::vector<std::string> items;
  int32_t item_index = -1;
  int32_t width = 0;
  int32_t height = 0;
};

// The filter as Qt's file dialogs take it: "Text (*.txt *.log);;All (*)"; "" for none.
std::string QtFileFilter(std::string_view filter);

// Windows virtual-key codes of the mouse buttons and the modifier keys.
inline constexpr int32_t kVkLButton = 1, kVkRButton = 2, kVkMButton = 4, kVkShift = 16, kVkControl = 17,
                         kVkMenu = 18;

// The services. This base answers every dialog as closed by the user, keeps a clipboard of
// its own, reports no key or button down and no cursor, and describes a window-less
// application titled "Kestrin"; implementations override what they can show.
class ScriptUi {
public:
  virtual ~ScriptUi() = default;
  // A message box with MessageBox flags; the code of the button chosen.
  virtual int32_t MessageBox(const std::string& text, const std::string& caption, uint32_t flags);
  // False when cancelled (Cancel, Esc or the close box); else the edit's text.
  virtual bool Prompt(const PromptRequest& request, std::string& text);
  // False when cancelled; else the memo's text, CR LF between lines.
  virtual bool TextArea(const TextAreaRequest& request, std::string& text);
  // False when cancelled or closed; else the marks as the user left them.
  virtual bool CheckList(const CheckListRequest& request, std::vector<bool>& checked);
  // The folder browser below `root` (empty: anywhere), starting at `directory` when it
  // exists; false when cancelled, else the chosen folder in `directory`.
  virtual bool SelectDirectory(const std::string& caption, const std::string& root, std::string& directory);
  // The open dialog; false when cancelled, else the chosen files (one unless `multiple`).
  virtual bool OpenFiles(const FileDialogRequest& request, bool multiple, std::vector<std::string>& files);
  // The save dialog; false when cancelled, else the chosen name.
  virtual bool SaveFile(const FileDialogRequest& request, std::string& file);
  // Hands a document or URL to the desktop's application for it; false when none took it.
  virtual bool OpenDocument(const std::string& target);
  virtual bool ClipboardHasText() { return has_clipboard_text_; }
  // "" when the clipboard holds no text.
  virtual std::string ClipboardText() { return clipboard_text_; }
  virtual void SetClipboardText(const std::string& text);
  // Whether the key of a virtual-key code (the mouse buttons and modifiers among them) is
  // down now.
  virtual bool KeyDown(int32_t virtual_key);
  // The cursor position in screen pixels; false when the platform does not tell.
  virtual bool CursorPos(int32_t& x, int32_t& y);
  virtual std::string ApplicationTitle() { return "Kestrin"; }
  virtual int32_t ApplicationHandle() { return 0; }
  virtual int32_t MainFormHandle() { return 0; }
  virtual bool IsConsole() { return false; }
  // Called before a script makes its first window or other object of the GUI library: a
  // runner that starts its application only for scripts that need one starts it here.
  virtual void StartGui() {}

private:
  std::string clipboard_text_;
  bool has_clipboard_text_ = false;
};

// The services of an engine whose host installed none.
ScriptUi& DefaultScriptUi();

}  // namespace kestrin::script
