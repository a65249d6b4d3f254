// The script wrappers of forms, the common controls, menus and timers. Each class wraps an
// existing native object (made by the caster); the script constructors create the native
// object, own it and free it with the wrapper.
#pragma once

#include "platform/classes/form_text.h"
#include "script/gui/vcl_tools.h"
#include "script/gui/vcl_wrapper.h"

namespace kestrin::script {

// The form's script methods that read and write descriptions and print.
void FLoadFromFile(TJObject& self, TJValueList& params, Value& result);
void FSaveToFile(TJObject& self, TJValueList& params, Value& result);
void FLoadFromText(TJObject& self, TJValueList& params, Value& result);
void FSaveToText(TJObject& self, TJValueList& params, Value& result);
void FPrint(TJObject& self, TJValueList& params, Value& result);

class TJVCLBaseForm : public TJVCLWinControl {
public:
  explicit TJVCLBaseForm(BaseEngine* engine);
  const ClassInfo& Class() const override;
  const kgui::ClassInfo& VCLClass() const override;
  bool main = false;  // closing the form ends the script's event loop
  // Reads a form description into the native form (raw bytes in quotes as `raw` says),
  // then makes every named child a member; a bad description raises "EVCLError".
  void ReadFromText(std::string_view text, kgui::RawText raw);
  // The native form's description (UTF-8, CR LF).
  std::string WriteToText();

protected:
  void AfterAttach() override;
};

// The edit family's own properties (CanUndo, Modified, SelLength, SelStart, SelText) and
// methods work on the control's text widget.
class TJVCLBaseEdit : public TJVCLWinControl {
public:
  explicit TJVCLBaseEdit(BaseEngine* engine);
  const ClassInfo& Class() const override;
  const kgui::ClassInfo& VCLClass() const override;

protected:
  void AfterAttach() override;
};

class TJVCLBaseMemo : public TJVCLBaseEdit {
public:
  explicit TJVCLBaseMemo(BaseEngine* engine);
  const kgui::ClassInfo& VCLClass() const override;
  // The one Point that caretPos refills on each read.
  Ref<TJObject> caret;
};

class TJVCLBaseSpinEdit : public TJVCLBaseEdit {
public:
  explicit TJVCLBaseSpinEdit(BaseEngine* engine);
  const kgui::ClassInfo& VCLClass() const override;
};

class TJVCLBaseProgressBar : public TJVCLWinControl {
public:
  explicit TJVCLBaseProgressBar(BaseEngine* engine);
  const ClassInfo& Class() const override;
  const kgui::ClassInfo& VCLClass() const override;

protected:
  void AfterAttach() override;
};

class TJVCLBaseButton : public TJVCLWinControl {
public:
  explicit TJVCLBaseButton(BaseEngine* engine);
  const ClassInfo& Class() const override;
  const kgui::ClassInfo& VCLClass() const override;

protected:
  void AfterAttach() override;
};

// A control that adds no methods: its class, script name and hooked events; with_action
// gives it the `action` property.
class TJVCLSimpleControl : public TJVCLWinControl {
public:
  TJVCLSimpleControl(BaseEngine* engine, const char* script_name, const kgui::ClassInfo& (*native)(),
                     uint32_t events, bool with_action = false);
  const kgui::ClassInfo& VCLClass() const override { return native_(); }

protected:
  void AfterAttach() override;

private:
  const kgui::ClassInfo& (*native_)();
  uint32_t events_;
};

class TJVCLBaseLabel : public TJVCLControl {
public:
  explicit TJVCLBaseLabel(BaseEngine* engine);
  const kgui::ClassInfo& VCLClass() const override;

protected:
  void AfterAttach() override;
};

// A splitter: "onCanResize" (newSize*, accept*), "onMoved" and "onPaint".
class TJVCLBaseSplitter : public TJVCLControl {
public:
  explicit TJVCLBaseSplitter(BaseEngine* engine);
  const kgui::ClassInfo& VCLClass() const override;

protected:
  void AfterAttach() override;
};

// An up-down: "onChanging", "onChangingEx" and "onClick" with the button.
class TJVCLBaseUpDown : public TJVCLToolWindow {
public:
  explicit TJVCLBaseUpDown(BaseEngine* engine);
  const kgui::ClassInfo& VCLClass() const override;

protected:
  void AfterAttach() override;
};

class TJVCLBaseListBox : public TJVCLWinControl {
public:
  explicit TJVCLBaseListBox(BaseEngine* engine);
  const ClassInfo& Class() const override;
  const kgui::ClassInfo& VCLClass() const override;

protected:
  void AfterAttach() override;
};

// A check list box: the list box's methods and "checked", "itemEnabled", "state".
class TJVCLBaseCheckListBox : public TJVCLBaseListBox {
public:
  explicit TJVCLBaseCheckListBox(BaseEngine* engine);
  const ClassInfo& Class() const override;
  const kgui::ClassInfo& VCLClass() const override;

protected:
  void AfterAttach() override;
};

class TJVCLBaseComboBox : public TJVCLWinControl {
public:
  explicit TJVCLBaseComboBox(BaseEngine* engine);
  const ClassInfo& Class() const override;
  const kgui::ClassInfo& VCLClass() const override;

protected:
  void AfterAttach() override;
};

// The file dialogs: "execute" asks through the GUI library's dialogs.
class TJVCLBaseFileDialog : public TJVCLComponent {
public:
  TJVCLBaseFileDialog(BaseEngine* engine, bool save);
  const ClassInfo& Class() const override;
  const kgui::ClassInfo& VCLClass() const override;
  void AfterAttach() override;

private:
  bool save_;
};

// The font dialog: "execute" asks through the GUI library's dialogs; the result is in Font.
class TJVCLBaseFontDialog : public TJVCLComponent {
public:
  explicit TJVCLBaseFontDialog(BaseEngine* engine);
  const ClassInfo& Class() const override;
  const kgui::ClassInfo& VCLClass() const override;
  void AfterAttach() override;
};

// The find and replace dialogs: "execute" shows the modeless dialog and returns at once;
// "onFind" and "onReplace" arrive while the script waits in its event loop.
class TJVCLBaseFindDialog : public TJVCLComponent {
public:
  TJVCLBaseFindDialog(BaseEngine* engine, bool replace);
  const ClassInfo& Class() const override;
  const kgui::ClassInfo& VCLClass() const override;

protected:
  void AfterAttach() override;

private:
  bool replace_;
};

// Actions: "onExecute" runs when a linked control or menu item is clicked.
class TJVCLBaseAction : public TJVCLComponent {
public:
  explicit TJVCLBaseAction(BaseEngine* engine);
  const ClassInfo& Class() const override;
  const kgui::ClassInfo& VCLClass() const override;

protected:
  void AfterAttach() override;
};

class TJVCLBaseTimer : public TJVCLComponent {
public:
  explicit TJVCLBaseTimer(BaseEngine* engine);
  const kgui::ClassInfo& VCLClass() const override;

protected:
  void AfterAttach() override;
};

// What main and popup menus share: items, Handle, WindowHandle, the look-ups and
// "onChange" (sender, source, rebuild).
class TJVCLBaseMenu : public TJVCLComponent {
public:
  explicit TJVCLBaseMenu(BaseEngine* engine);
  const ClassInfo& Class() const override;
  const kgui::ClassInfo& VCLClass() const override;

protected:
  void AfterAttach() override;
};

class TJVCLBaseMainMenu : public TJVCLBaseMenu {
public:
  explicit TJVCLBaseMainMenu(BaseEngine* engine);
  const ClassInfo& Class() const override;
  const kgui::ClassInfo& VCLClass() const override;
};

class TJVCLBasePopupMenu : public TJVCLBaseMenu {
public:
  explicit TJVCLBasePopupMenu(BaseEngine* engine);
  const ClassInfo& Class() const override;
  const kgui::ClassInfo& VCLClass() const override;

protected:
  void AfterAttach() override;
};

// Menu items are collections of their sub-items.
class TJVCLBaseMenuItem : public TJVCLComponent {
public:
  explicit TJVCLBaseMenuItem(BaseEngine* engine);
  const ClassInfo& Class() const override;
  const kgui::ClassInfo& VCLClass() const override;
  bool GetElement(const StrRef& key, Value& out) override;
  bool IsCollection() override { return true; }
  int32_t GetCount() override;
  void GetItem(int32_t index, Value& out) override;

protected:
  void AfterAttach() override;
};

// The `action` property of controls and menu items: the linked action's wrapper; with an
// action the control's own "onClick" goes, null hooks it again.
std::span<const PropDef> VCLActionProps();

// An error kept from a handler ends the innermost showModal that a script runs.
void InstallVCLModalErrorListener();

}  // namespace kestrin::script
