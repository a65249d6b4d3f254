// Common dialogs and message boxes behind one interface, so that tests answer them from a
// script; the dialog components keep the platform's properties.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

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
  // Runs an open (save = false) or save dialog from the component's properties. While it
  // is open it reports the user's moves to the component (enterFolder, select,
  // chooseType); when the user confirms it calls confirm(), which sets FileName, Files and
  // FilterIndex and may keep the dialog open. True when it closed confirmed.
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
  // and style. With `apply` the dialog has an Apply button, which sets the font chosen so
  // far and calls apply. An implementation without a font dialog refuses.
  virtual bool executeFont(TFont& font, const std::function<void()>& apply) {
    (void)font;
    (void)apply;
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

using TNotifyEvent = std::function<void(TComponent* sender)>;
using TCanCloseEvent = std::function<void(TComponent* sender, bool& can_close)>;

class TOpenDialog : public TComponent {
public:
  explicit TOpenDialog(TComponent* owner);
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }
  // OnShow, the dialog, OnClose; a dialog that ends cancelled leaves FileName, Files and
  // FilterIndex as they were.
  virtual bool execute();

  // For the dialog implementations, the user's moves: into a folder (OnFolderChange when it
  // is another), onto files (FileName and Files follow the selection, then
  // OnSelectionChange), to a filter (1-based; OnTypeChange when it is another).
  void enterFolder(const std::string& folder);
  void select(const std::vector<std::string>& files);
  void chooseType(int filter_index);
  // The moves up to a choice, for implementations that answer without a window: the
  // folder of the first file, the files, the filter (0 keeps it).
  void showChoice(const std::vector<std::string>& files, int filter_index);
  // The user confirmed files (and filter_index, 0 keeping it): sets FileName, Files and
  // FilterIndex, then asks OnCanClose; false keeps the dialog open.
  bool confirm(const std::vector<std::string>& files, int filter_index);

  TNotifyEvent OnShow, OnClose, OnFolderChange, OnSelectionChange, OnTypeChange;
  TCanCloseEvent OnCanClose;

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

protected:
  bool run(bool save);

private:
  std::string default_ext_, file_name_, filter_, initial_dir_, title_;
  std::string shown_folder_;  // while the dialog runs: the folder it shows
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

// The font dialog: Font is what it starts from and what the user chose. It has an Apply
// button while OnApply is assigned, as the platform's has; OnApply gets the dialog's
// handle.
class TFontDialog : public TComponent {
public:
  explicit TFontDialog(TComponent* owner);
  ~TFontDialog() override;
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }
  // OnShow, the dialog, OnClose; a dialog that ends cancelled leaves Font as it was.
  bool execute();
  TFont* font() const { return font_.get(); }

  TNotifyEvent OnShow, OnClose;
  std::function<void(TComponent* sender, uint32_t wnd)> OnApply;

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
