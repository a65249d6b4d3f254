// TFindDialog and TReplaceDialog: our own modeless dialogs. execute() shows the dialog and
// returns at once; Find Next runs OnFind, Replace and Replace All run OnReplace, each after
// FindText, ReplaceText and Options took what the user set.
#pragma once

#include <memory>
#include <string>

#include "platform/classes/component.h"
#include "platform/gui/control.h"

class QDialog;

namespace kgui {

enum TFindOption {
  frDown, frFindNext, frHideMatchCase, frHideWholeWord, frHideUpDown, frMatchCase, frDisableMatchCase,
  frDisableUpDown, frDisableWholeWord, frReplace, frReplaceAll, frWholeWord, frShowHelp
};
const EnumInfo& findOptionType();

class TFindDialog : public TComponent {
public:
  explicit TFindDialog(TComponent* owner);
  ~TFindDialog() override;
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }
  // Shows the dialog (again) and returns true at once.
  bool execute();
  void closeDialog();
  std::string findText() const { return find_text_; }
  void setFindText(const std::string& s);
  uint32_t options() const { return options_; }  // bits of TFindOption
  void setOptions(uint32_t o);
  std::string replaceText() const { return replace_text_; }
  void setReplaceText(const std::string& s);
  // The dialog's window while it exists (tests drive it by object names).
  QDialog* window() const;

  TNotifyEvent OnFind;
  TNotifyEvent OnReplace;
  TNotifyEvent OnShow;
  TNotifyEvent OnClose;

protected:
  // Whether the dialog offers Replace, Replace All and the replacement text.
  virtual bool replacing() const { return false; }

private:
  struct Window;
  void build();
  void takeInput(uint32_t action_bits);
  std::unique_ptr<Window> window_;
  std::string find_text_, replace_text_;
  uint32_t options_ = 1u << frDown;
};

class TReplaceDialog : public TFindDialog {
public:
  using TFindDialog::TFindDialog;
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

protected:
  bool replacing() const override { return true; }
};

}  // namespace kgui
