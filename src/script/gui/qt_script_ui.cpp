// QtScriptUi: MessageBox flags to the GUI library's message boxes, the input dialogs run
// modally, and the code-page conversions at this edge.
#include "script/gui/qt_script_ui.h"

#include <QApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPointer>
#include <QUrl>
#include <QWidget>
#include <algorithm>
#include <filesystem>
#include <set>

#include "base/cp932.h"
#include "platform/gui/app.h"
#include "platform/gui/clipboard.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/list_controls.h"
#include "platform/gui/qt_convert.h"
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

// The file dialog component of a request, its texts in UTF-8.
void Configure(kgui::TOpenDialog& dialog, const FileDialogRequest& r) {
  dialog.setTitle(cp932_to_utf8(r.title));
  dialog.setFileName(cp932_to_utf8(r.file_name));
  dialog.setInitialDir(cp932_to_utf8(r.initial_dir));
  dialog.setFilter(cp932_to_utf8(r.filter));
}

}  // namespace

// Keeps the virtual-key codes of the keys pressed in the application's windows; they are
// forgotten when released and when the application loses the focus (the release goes
// elsewhere then).
class KeyStateFilter : public QObject {
public:
  KeyStateFilter() {
    if (QCoreApplication::instance()) QCoreApplication::instance()->installEventFilter(this);
  }
  bool Down(int32_t vk) const { return keys_.count(vk) > 0; }

protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::KeyPress:
        if (const int vk = kgui::virtualKey(static_cast<QKeyEvent*>(event)->key())) keys_.insert(vk);
        break;
      case QEvent::KeyRelease:
        if (!static_cast<QKeyEvent*>(event)->isAutoRepeat()) keys_.erase(kgui::virtualKey(static_cast<QKeyEvent*>(event)->key()));
        break;
      case QEvent::ApplicationDeactivate: keys_.clear(); break;
      default: break;
    }
    return QObject::eventFilter(watched, event);
  }

private:
  std::set<int32_t> keys_;
};

QtScriptUi::QtScriptUi() : keys_(std::make_unique<KeyStateFilter>()) {}

QtScriptUi::~QtScriptUi() = default;

bool QtScriptUi::OpenFiles(const FileDialogRequest& request, bool multiple, std::vector<std::string>& files) {
  kgui::TOpenDialog dialog(nullptr);
  Configure(dialog, request);
  dialog.setOptions(dialog.options() | (multiple ? 1u << kgui::ofAllowMultiSelect : 1u << kgui::ofFileMustExist));
  if (!dialog.execute()) return false;
  files.clear();
  for (const std::string& f : dialog.files()->toVector()) files.push_back(utf8_to_cp932(f));
  return true;
}

bool QtScriptUi::SaveFile(const FileDialogRequest& request, std::string& file) {
  kgui::TSaveDialog dialog(nullptr);
  Configure(dialog, request);
  if (!dialog.execute()) return false;
  file = utf8_to_cp932(dialog.fileName());
  return true;
}

bool QtScriptUi::OpenDocument(const std::string& target) {
  const QString text = kgui::qs(cp932_to_utf8(target));
  const QUrl url(text);
  const bool is_url = url.isValid() && url.scheme().size() > 1;  // "c:" is no scheme
  return QDesktopServices::openUrl(is_url ? url : QUrl::fromLocalFile(QFileInfo(text).absoluteFilePath()));
}

bool QtScriptUi::ClipboardHasText() { return kgui::clipboardHasText(); }

std::string QtScriptUi::ClipboardText() { return utf8_to_cp932(kgui::clipboardText()); }

void QtScriptUi::SetClipboardText(const std::string& text) { kgui::setClipboardText(cp932_to_utf8(text)); }

bool QtScriptUi::KeyDown(int32_t virtual_key) {
  switch (virtual_key) {
    case kVkShift: return QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier;
    case kVkControl: return QGuiApplication::queryKeyboardModifiers() & Qt::ControlModifier;
    case kVkMenu: return QGuiApplication::queryKeyboardModifiers() & Qt::AltModifier;
    case kVkLButton: return QGuiApplication::mouseButtons() & Qt::LeftButton;
    case kVkRButton: return QGuiApplication::mouseButtons() & Qt::RightButton;
    case kVkMButton: return QGuiApplication::mouseButtons() & Qt::MiddleButton;
    default: return keys_ && keys_->Down(virtual_key);
  }
}

bool QtScriptUi::CursorPos(int32_t& x, int32_t& y) {
  const QPoint p = QCursor::pos();
  x = p.x();
  y = p.y();
  return true;
}

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

bool QtScriptUi::CheckList(const CheckListRequest& request, std::vector<bool>& checked) {
  TfrmCheckList form(Owner());
  form.lblText->setCaption(cp932_to_utf8(request.text));
  kgui::TStrings& items = *form.lbCheck->items();
  for (const std::string& item : request.items) items.add(cp932_to_utf8(item));
  for (int i = 0; i < items.count() && static_cast<size_t>(i) < checked.size(); ++i)
    form.lbCheck->setChecked(i, checked[static_cast<size_t>(i)]);
  if (request.item_index >= 0 && request.item_index < items.count()) form.lbCheck->setItemIndex(request.item_index);
  Size(form, request.width, request.height);
  if (!RunModal(form, request.caption.empty() ? ApplicationTitle() : request.caption)) return false;
  checked.assign(static_cast<size_t>(items.count()), false);
  for (int i = 0; i < items.count(); ++i) checked[static_cast<size_t>(i)] = form.lbCheck->checked(i);
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

int32_t ApplicationWindowHandle() {
  kgui::TApplication* app = kgui::TApplication::instance();
  return app ? static_cast<int32_t>(app->handle()) : 0;
}

int32_t MainFormWindowHandle() {
  kgui::TApplication* app = kgui::TApplication::instance();
  return app && app->mainForm() ? static_cast<int32_t>(app->mainForm()->handle()) : 0;
}

}  // namespace kestrin::script
