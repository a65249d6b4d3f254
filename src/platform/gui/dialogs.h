// Common dialogs and message boxes behind one interface, so that tests answer them from a
// script; the dialog components keep the platform's properties.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/classes/component.h"
#include "platform/classes/graphics.h"
#include "platform/classes/strings.h"

namespace kgui {

class TPrinter;

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn {
  mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp
};
using TMsgDlgButtons = uint32_t;  // bits of TMsgDlgBtn
constexpr int mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5,
              mrYes = 6, mrNo = 7, mrAll = 8, mrNoToAll = 9, mrYesToAll = 10;

class TOpenDialog;

// Every modal question the library asks goes through here. The product installs the Qt
// implementation; tests install ScriptedDialogs.
class Dialogs {
public:
  virtual ~Dialogs() = default;
  // Runs an open (save = false) or save dialog from the component's properties; on
  // acceptance updates FileName, Files and FilterIndex and returns true.
  virtual bool executeFile(TOpenDialog& dialog, bool save) = 0;
  // A message box; returns the mr* value of the button chosen.
  virtual int messageBox(const std::string& text, const std::string& caption, TMsgDlgType type,
                         TMsgDlgButtons buttons) = 0;
  // The same with the button that Enter chooses (a TMsgDlgBtn among `buttons`).
  virtual int messageBoxWithDefault(const std::string& text, const std::string& caption, TMsgDlgType type,
                                    TMsgDlgButtons buttons, TMsgDlgBtn default_button) {
    (void)default_button;
    return messageBox(text, caption, type, buttons);
  }
  virtual bool selectDirectory(const std::string& caption, std::string& directory) = 0;
  virtual bool executeColor(TColor& color) = 0;
  // Lets the user choose a font, starting from `font`; on acceptance sets its name, size
  // and style. An implementation without a font dialog refuses.
  virtual bool executeFont(TFont& font) {
    (void)font;
    return false;
  }
  // Lets the user choose and set up the printer; false when cancelled.
  virtual bool executePrint(TPrinter& printer) = 0;
};

// The installed implementation; a process without one refuses every question.
Dialogs& dialogs();
// Installs d (not owned; nullptr restores the refusing default) and returns the previous one.
Dialogs* setDialogs(Dialogs* d);

// The platform's helpers: MessageDlg with the application title as caption, ShowMessage.
int messageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons);
void showMessage(const std::string& text);
// The application's title for captions; set by the application object.
std::string applicationTitle();
void setApplicationTitle(const std::string& title);

class TOpenDialog : public TComponent {
public:
  explicit TOpenDialog(TComponent* owner);
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }
  virtual bool execute();

  std::string defaultExt() const { return default_ext_; }
  void setDefaultExt(const std::string& s) { default_ext_ = s; }
  std::string fileName() const { return file_name_; }
  void setFileName(const std::string& s) { file_name_ = s; }
  // "Text files|*.txt|All|*.*": description and pattern alternate; patterns split at ';'.
  std::string filter() const { return filter_; }
  void setFilter(const std::string& s) { filter_ = s; }
  int filterIndex() const { return filter_index_; }  // 1-based
  void setFilterIndex(int i) { filter_index_ = i; }
  std::string initialDir() const { return initial_dir_; }
  void setInitialDir(const std::string& s) { initial_dir_ = s; }
  uint32_t options() const { return options_; }  // bits of TOpenOption
  void setOptions(uint32_t o) { options_ = o; }
  std::string title() const { return title_; }
  void setTitle(const std::string& s) { title_ = s; }
  TStringList* files() const { return files_.get(); }

private:
  std::string default_ext_, file_name_, filter_, initial_dir_, title_;
  int filter_index_ = 1;
  uint32_t options_;
  std::unique_ptr<TStringList> files_ = std::make_unique<TStringList>();
};

class TSaveDialog : public TOpenDialog {
public:
  using TOpenDialog::TOpenDialog;
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }
  bool execute() override;
};

class TColorDialog : public TComponent {
public:
  using TComponent::TComponent;
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }
  bool execute() { return dialogs().executeColor(color_); }
  TColor color() const { return color_; }
  void setColor(TColor c) { color_ = c; }

private:
  TColor color_ = clBlack;
};

// The font dialog: Font is what it starts from and what the user chose. Without an Apply
// button in our dialog, OnApply never runs.
class TFontDialog : public TComponent {
public:
  explicit TFontDialog(TComponent* owner);
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }
  bool execute() { return dialogs().executeFont(*font_); }
  TFont* font() const { return font_.get(); }

private:
  std::unique_ptr<TFont> font_;
};

// The print dialog runs on the application's printer.
class TPrintDialog : public TComponent {
public:
  using TComponent::TComponent;
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }
  bool execute();
};

// A pair of a file-dialog filter: "Text files" and its patterns {"*.txt"}.
struct FilterEntry {
  std::string description;
  std::vector<std::string> patterns;
};
std::vector<FilterEntry> parseFilter(const std::string& filter);
// Whether a file name matches a pattern such as "*.img" or "a?c.*", without case.
bool matchesPattern(const std::string& name, const std::string& pattern);

}  // namespace kgui
