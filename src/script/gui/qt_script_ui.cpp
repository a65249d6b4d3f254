// QtScriptUi: MessageBox flags to the GUI library's message boxes, the input dialogs run
// modally, and the code-page conversions at this edge.
#include "script/gui/qt_script_ui.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>
#include <algorithm>
#include <filesystem>

#include "base/cp932.h"
#include "platform/gui/app.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/list_controls.h"
#include "platform/gui/std_controls.h"
#include "script/builtins/cp932_chars.h"
#include "script/gui/prompt_forms.h"

namespace kestrin::script {
namespace {

using kestrin::cp932_to_utf8;
using kestrin::utf8_to_cp932;

// The library's button for a MessageBox button code.
kgui::TMsgDlgBtn ButtonOf(int32_t code) {
  switch (code) {
    case kIdOk: return kgui::mbOK;
    case kIdCancel: return kgui::mbCancel;
    case kIdAbort: return kgui::mbAbort;
    case kIdRetry: return kgui::mbRetry;
    case kIdIgnore: return kgui::mbIgnore;
    case kIdYes: return kgui::mbYes;
    default: return kgui::mbNo;
  }
}

kgui::TMsgDlgType KindOf(uint32_t flags) {
  switch (flags & kMbIconMask) {
    case kMbIconHand: return kgui::mtError;
    case kMbIconQuestion: return kgui::mtConfirmation;
    case kMbIconExclamation: return kgui::mtWarning;
    case kMbIconAsterisk: return kgui::mtInformation;
    default: return kgui::mtCustom;
  }
}

kgui::TComponent* Owner() {
  kgui::TApplication* app = kgui::TApplication::instance();
  return app && app->mainForm() ? static_cast<kgui::TComponent*>(app->mainForm()) : app;
}

// A client size asked for by the script (0 keeps the form's own).
void Size(kgui::TForm& form, int32_t width, int32_t height) {
  if (width > 0) form.setClientWidth(width);
  if (height > 0) form.setClientHeight(height);
}

// Runs a dialog form modally; true when it ended with OK.
bool RunModal(kgui::TForm& form, const std::string& caption) {
  form.setCaption(cp932_to_utf8(caption));
  CentreOnOwner(form);
  return form.showModal() == kgui::mrOk;
}

// The memo's text: its lines with CR LF between them (none after the last).
std::string MemoText(kgui::TMemo& memo) {
  std::string text = memo.text();
  if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0) text.resize(text.size() - 2);
  return text;
}

}  // namespace

int32_t QtScriptUi::MessageBox(const std::string& text, const std::string& caption, uint32_t flags) {
  kgui::TMsgDlgButtons buttons = 0;
  for (int32_t code : MessageBoxButtons(flags)) buttons |= 1u << ButtonOf(code);
  QPointer<QWidget> active = QApplication::activeWindow();
  const int result = kgui::dialogs().messageBoxWithDefault(cp932_to_utf8(text), cp932_to_utf8(caption), KindOf(flags),
                                                          buttons, ButtonOf(MessageBoxDefault(flags)));
  if (active) active->activateWindow();
  // The library's mr values are the MessageBox codes.
  return result == kgui::mrNone ? MessageBoxClosed(flags) : result;
}

bool QtScriptUi::Prompt(const PromptRequest& request, std::string& text) {
  TfrmPrompt form(Owner());
  form.lblText->setCaption(cp932_to_utf8(request.text));
  form.edtPrompt->setText(cp932_to_utf8(request.value));
  const uint32_t mask = Cp932ToUnicode(static_cast<unsigned char>(request.password_char));
  form.edtPrompt->setPasswordChar(request.password_char == 0 ? 0 : static_cast<int>(mask ? mask : '*'));
  Size(form, request.width, 0);
  if (!RunModal(form, request.caption)) return false;
  text = utf8_to_cp932(form.edtPrompt->text());
  return true;
}

bool QtScriptUi::TextArea(const TextAreaRequest& request, std::string& text) {
  TfrmTextArea form(Owner());
  form.lblText->setCaption(cp932_to_utf8(request.text));
  if (!request.value.empty()) form.mmText->lines()->setText(cp932_to_utf8(request.value));
  Size(form, request.width, request.height);
  if (!RunModal(form, request.caption)) return false;
  text = utf8_to_cp932(MemoText(*form.mmText));
  return true;
}

bool QtScriptUi::SelectDirectory(const std::string& caption, const std::string& root, std::string& directory) {
  std::string start = cp932_to_utf8(directory);
  std::error_code ec;
  if (start.empty() || !std::filesystem::is_directory(start, ec)) start = cp932_to_utf8(root);
  if (!kgui::dialogs().selectDirectory(cp932_to_utf8(caption), start)) return false;
  directory = utf8_to_cp932(start);
  return true;
}

std::string QtScriptUi::ApplicationTitle() { return utf8_to_cp932(kgui::applicationTitle()); }

int32_t QtScriptUi::MainFormHandle() {
  kgui::TApplication* app = kgui::TApplication::instance();
  if (!app || !app->mainForm() || !app->mainForm()->widget()) return 0;
  return static_cast<int32_t>(app->mainForm()->widget()->winId());
}

}  // namespace kestrin::script
