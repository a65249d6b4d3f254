// The script classes of forms, the common controls, menus, dialogs, actions and timers.
// Each is a row (vcl_class.h) in the file of its family; the form and the memo, which keep
// state of their own, are classes over the row's wrapper. A wrapper wraps an existing
// native object (made by the caster); the script constructors create the native object,
// own it and free it with the wrapper.
#pragma once

#include "platform/classes/form_text.h"
#include "script/gui/vcl_class.h"

namespace kestrin::script {

// ---- forms (vcl_form.cpp, vcl_form_text.cpp) ----

extern const VCLClassDef kVCLForm;

// The form's script methods that read and write descriptions and print.
void FLoadFromFile(TJObject& self, TJValueList& params, Value& result);
void FSaveToFile(TJObject& self, TJValueList& params, Value& result);
void FLoadFromText(TJObject& self, TJValueList& params, Value& result);
void FSaveToText(TJObject& self, TJValueList& params, Value& result);
void FPrint(TJObject& self, TJValueList& params, Value& result);

class TJVCLBaseForm : public TJVCLClass<TJVCLWinControl> {
public:
  explicit TJVCLBaseForm(BaseEngine* engine) : TJVCLClass(engine, kVCLForm) {}
  bool main = false;  // closing the form ends the script's event loop
  // Reads a form description into the native form (raw bytes in quotes as `raw` says),
  // then makes every named child a member; a bad description raises "EVCLError".
  void ReadFromText(std::string_view text, kgui::RawText raw);
  // The native form's description (UTF-8, CR LF).
  std::string WriteToText();
};

// An error kept from a handler ends the innermost showModal that a script runs.
void InstallVCLModalErrorListener();

// ---- the edit family (vcl_edits.cpp) ----

// The edit family's own properties (CanUndo, Modified, SelLength, SelStart, SelText) and
// methods work on the control's text widget.
extern const VCLClassDef kVCLEdit, kVCLMemo, kVCLSpinEdit;
// SelLength, SelStart and SelText, which combo boxes share.
extern const PropDef kVCLSelectionProps[3];

class TJVCLBaseMemo : public TJVCLClass<TJVCLWinControl> {
public:
  explicit TJVCLBaseMemo(BaseEngine* engine);
  // The one Point that caretPos refills on each read.
  Ref<TJObject> caret;
};

// ---- buttons (vcl_buttons.cpp) ----

// Buttons, check boxes, radio buttons, radio groups and up-downs ("onChanging",
// "onChangingEx" and "onClick" with the button).
extern const VCLClassDef kVCLButton, kVCLCheckBox, kVCLRadioButton, kVCLRadioGroup, kVCLUpDown;

// ---- panels and display controls (vcl_panels.cpp) ----

// Panels, group boxes, labels, progress bars and splitters ("onCanResize" (newSize*,
// accept*), "onMoved" and "onPaint").
extern const VCLClassDef kVCLPanel, kVCLGroupBox, kVCLLabel, kVCLProgressBar, kVCLSplitter;

// ---- lists (vcl_lists.cpp) ----

// List boxes, check list boxes (the list box's methods and "checked", "itemEnabled",
// "state") and combo boxes.
extern const VCLClassDef kVCLListBox, kVCLCheckListBox, kVCLComboBox;

// ---- menus (vcl_menus.cpp) ----

// What main and popup menus share: items, Handle, WindowHandle, the look-ups and
// "onChange" (sender, source, rebuild). Menu items are collections of their sub-items.
extern const VCLClassDef kVCLMenu, kVCLMainMenu, kVCLPopupMenu, kVCLMenuItem;

// ---- dialogs (vcl_dialogs.cpp) ----

// The file and font dialogs: "execute" asks through the GUI library's dialogs (a font's
// result is in Font). The find and replace dialogs: "execute" shows the modeless dialog
// and returns at once; "onFind" and "onReplace" arrive while the script waits in its
// event loop.
extern const VCLClassDef kVCLOpenDialog, kVCLSaveDialog, kVCLFontDialog, kVCLFindDialog, kVCLReplaceDialog;

// ---- actions and timers (vcl_actions.cpp) ----

// Actions: "onExecute" runs when a linked control or menu item is clicked.
extern const VCLClassDef kVCLAction, kVCLTimer;

// The `action` property of controls and menu items: the linked action's wrapper; with an
// action the control's own "onClick" goes, null hooks it again.
extern const PropDef kVCLActionProps[1];

}  // namespace kestrin::script
