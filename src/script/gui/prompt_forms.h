// The dialogs of the script functions prompt and textArea and of CheckListBox: TfrmPrompt (a label,
// a one-line edit, OK as the default button and Cancel) and TfrmTextArea (a label, a memo
// that takes Enter itself, OK, Cancel and Clear), in the documented places and sizes.
#pragma once

#include "platform/gui/form.h"

namespace kgui {
class TButton;
class TCheckListBox;
class TEdit;
class TLabel;
class TMemo;
}  // namespace kgui

namespace kestrin::script {

class TfrmPrompt : public kgui::TForm {
public:
  explicit TfrmPrompt(kgui::TComponent* owner);
  kgui::TLabel* lblText;
  kgui::TEdit* edtPrompt;
  kgui::TButton* btnOK;
  kgui::TButton* btnCancel;

private:
  void createControls();
};

class TfrmTextArea : public kgui::TForm {
public:
  explicit TfrmTextArea(kgui::TComponent* owner);
  // Empties the memo; the dialog stays open.
  void btnClearClick(kgui::TComponent* sender);
  kgui::TLabel* lblText;
  kgui::TMemo* mmText;
  kgui::TButton* btnOK;
  kgui::TButton* btnCancel;
  kgui::TButton* btnClear;

private:
  void createControls();
};

// The check-list dialog of CheckListBox.execute: a label over a list of check boxes that
// grows with the dialog, OK as the default button and Cancel at the top right.
class TfrmCheckList : public kgui::TForm {
public:
  explicit TfrmCheckList(kgui::TComponent* owner);
  kgui::TLabel* lblText;
  kgui::TCheckListBox* lbCheck;
  kgui::TButton* btnOK;
  kgui::TButton* btnCancel;

private:
  void createControls();
};

// Centres a dialog on the active window (the owner form), else on the screen.
void CentreOnOwner(kgui::TForm& form);

}  // namespace kestrin::script
