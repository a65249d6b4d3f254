// The script constructors of the GUI wrappers, the default caster's table and the message
// pump that runs Qt's events for doEvents and eventLoop.
#include "script/gui/vcl_objects.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <thread>

#include "platform/gui/actions.h"
#include "platform/gui/app.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/find_dialog.h"
#include "platform/gui/form.h"
#include "platform/gui/image.h"
#include "platform/gui/list_controls.h"
#include "platform/gui/list_view.h"
#include "platform/gui/menus.h"
#include "platform/gui/splitter.h"
#include "platform/gui/status_bar.h"
#include "platform/gui/stream_classes.h"
#include "platform/gui/std_controls.h"
#include "platform/gui/tab_controls.h"
#include "platform/gui/timer.h"
#include "platform/gui/tool_bars.h"
#include "platform/gui/tree_view.h"
#include "platform/gui/up_down.h"
#include "script/core/engine.h"
#include "script/core/script_ui.h"
#include "script/core/value_list.h"
#include "script/gui/check_list_object.h"
#include "script/gui/vcl_bars.h"
#include "script/gui/vcl_controls.h"
#include "script/gui/vcl_events.h"
#include "script/gui/vcl_tools.h"
#include "script/gui/vcl_tree_view.h"
#include "script/gui/vcl_list_view.h"
#include "script/objects/host_libraries.h"

namespace kestrin::script {

namespace {

template <class W>
TJVCLPersistent* Make(BaseEngine* engine) {
  return new W(engine);
}

TJVCLPersistent* MakeOpenDialog(BaseEngine* e) { return new TJVCLBaseFileDialog(e, false); }
TJVCLPersistent* MakeSaveDialog(BaseEngine* e) { return new TJVCLBaseFileDialog(e, true); }
TJVCLPersistent* MakeFindDialog(BaseEngine* e) { return new TJVCLBaseFindDialog(e, false); }
TJVCLPersistent* MakeReplaceDialog(BaseEngine* e) { return new TJVCLBaseFindDialog(e, true); }

constexpr uint32_t kStandardEvents = kEvMouse | kEvKeys | kEvFocus | kEvContextPopup | kEvDrag;

TJVCLPersistent* MakeCheckBox(BaseEngine* e) {
  return new TJVCLSimpleControl(e, "VCLCheckBox", &kgui::TCheckBox::staticClassInfo, kEvClick | kStandardEvents, true);
}
TJVCLPersistent* MakeRadioButton(BaseEngine* e) {
  return new TJVCLSimpleControl(e, "VCLRadioButton", &kgui::TRadioButton::staticClassInfo, kEvClick | kStandardEvents,
                                true);
}
TJVCLPersistent* MakeRadioGroup(BaseEngine* e) {
  return new TJVCLSimpleControl(e, "VCLRadioGroup", &kgui::TRadioGroup::staticClassInfo,
                                kEvClick | kEvFocus | kEvContextPopup | kEvDrag);
}
TJVCLPersistent* MakeGroupBox(BaseEngine* e) {
  return new TJVCLSimpleControl(e, "VCLGroupBox", &kgui::TGroupBox::staticClassInfo,
                                kEvClick | kEvDblClick | kEvMouse | kEvFocus | kEvContextPopup | kEvDrag);
}
TJVCLPersistent* MakePanel(BaseEngine* e) {
  return new TJVCLSimpleControl(e, "VCLPanel", &kgui::TPanel::staticClassInfo,
                                kEvClick | kEvDblClick | kEvResize | kEvMouse | kEvFocus | kEvContextPopup |
                                    kEvCanResize | kEvDrag);
}

// Every descendant before its ancestor.
const VCLCastRow kCastRows[] = {
    {&kgui::TMenuItem::staticClassInfo, Make<TJVCLBaseMenuItem>},
    {&kgui::TTabSheet::staticClassInfo, Make<TJVCLBaseTabSheet>},
    {&kgui::TPageControl::staticClassInfo, Make<TJVCLBasePageControl>},
    {&kgui::TTabControl::staticClassInfo, Make<TJVCLBaseTabControl>},
    {&kgui::TStatusBar::staticClassInfo, Make<TJVCLBaseStatusBar>},
    {&kgui::TSplitter::staticClassInfo, Make<TJVCLBaseSplitter>},
    {&kgui::TUpDown::staticClassInfo, Make<TJVCLBaseUpDown>},
    {&kgui::TStatusPanels::staticClassInfo, Make<TJVCLBaseStatusPanels>},
    {&kgui::TBasicAction::staticClassInfo, Make<TJVCLBaseAction>},
    {&kgui::TLabel::staticClassInfo, Make<TJVCLBaseLabel>},
    {&kgui::TEdit::staticClassInfo, Make<TJVCLBaseEdit>},
    {&kgui::TMemo::staticClassInfo, Make<TJVCLBaseMemo>},
    {&kgui::TToolButton::staticClassInfo, Make<TJVCLBaseToolButton>},
    {&kgui::TCheckBox::staticClassInfo, MakeCheckBox},
    {&kgui::TRadioButton::staticClassInfo, MakeRadioButton},
    {&kgui::TButton::staticClassInfo, Make<TJVCLBaseButton>},
    {&kgui::TComboBox::staticClassInfo, Make<TJVCLBaseComboBox>},
    {&kgui::TTimer::staticClassInfo, Make<TJVCLBaseTimer>},
    {&kgui::TSpinEdit::staticClassInfo, Make<TJVCLBaseSpinEdit>},
    {&kgui::TCheckListBox::staticClassInfo, Make<TJVCLBaseCheckListBox>},
    {&kgui::TListBox::staticClassInfo, Make<TJVCLBaseListBox>},
    {&kgui::TPanel::staticClassInfo, MakePanel},
    {&kgui::TRadioGroup::staticClassInfo, MakeRadioGroup},
    {&kgui::TGroupBox::staticClassInfo, MakeGroupBox},
    {&kgui::TCoolBar::staticClassInfo, Make<TJVCLBaseCoolBar>},
    {&kgui::TToolBar::staticClassInfo, Make<TJVCLBaseToolBar>},
    {&kgui::TPopupMenu::staticClassInfo, Make<TJVCLBasePopupMenu>},
    {&kgui::TMainMenu::staticClassInfo, Make<TJVCLBaseMainMenu>},
    {&kgui::TForm::staticClassInfo, Make<TJVCLBaseForm>},
    {&kgui::TProgressBar::staticClassInfo, Make<TJVCLBaseProgressBar>},
    {&kgui::TImage::staticClassInfo, Make<TJVCLBaseImage>},
    {&kgui::TTreeNode::staticClassInfo, Make<TJVCLBaseTreeNode>},
    {&kgui::TTreeNodes::staticClassInfo, Make<TJVCLBaseTreeNodes>},
    {&kgui::TTreeView::staticClassInfo, Make<TJVCLBaseTreeView>},
    {&kgui::TListItem::staticClassInfo, Make<TJVCLBaseListItem>},
    {&kgui::TListItems::staticClassInfo, Make<TJVCLBaseListItems>},
    {&kgui::TListColumns::staticClassInfo, Make<TJVCLBaseListColumns>},
    {&kgui::TListView::staticClassInfo, Make<TJVCLBaseListView>},
    {&kgui::TFontDialog::staticClassInfo, Make<TJVCLBaseFontDialog>},
    {&kgui::TReplaceDialog::staticClassInfo, MakeReplaceDialog},
    {&kgui::TFindDialog::staticClassInfo, MakeFindDialog},
    {&kgui::TSaveDialog::staticClassInfo, MakeSaveDialog},
    {&kgui::TOpenDialog::staticClassInfo, MakeOpenDialog},
    {&kgui::TWinControl::staticClassInfo, Make<TJVCLWinControl>},
    {&kgui::TControl::staticClassInfo, Make<TJVCLControl>},
    {&kgui::TComponent::staticClassInfo, Make<TJVCLComponent>},
    {&kgui::TPersistent::staticClassInfo, Make<TJVCLPersistent>},
};

// new VCLButton(parent): a new native object owned by the wrapper; a windowed-control
// wrapper as the first argument becomes the control's parent. The host's user interface
// starts its application first if it has not yet.
template <TJVCLPersistent* (*MakeWrapper)(BaseEngine*), class N>
TJObject* Create(BaseEngine* engine, TJValueList* params) {
  if (auto* e = dynamic_cast<TJEngine*>(engine)) e->Ui().StartGui();
  TJVCLPersistent* w = MakeWrapper(engine);
  w->AttachVCL(new N(nullptr), true);
  if (auto* control = dynamic_cast<kgui::TControl*>(w->VCL()); control && params && params->GetCount() > 0)
    if (auto* parent = NativeOf<kgui::TWinControl>(params->GetValue(0)); parent && parent != control)
      control->setParent(parent);
  return w;
}

// new VCLForm([main]).
TJObject* CreateForm(BaseEngine* engine, TJValueList* params) {
  TJObject* obj = Create<Make<TJVCLBaseForm>, kgui::TForm>(engine, params);
  if (params && params->GetCount() > 0 && params->GetValue(0).type() == vtBool)
    static_cast<TJVCLBaseForm*>(obj)->main = ValueToBool(params->GetValue(0));
  return obj;
}

struct Constructor {
  const char* name;
  ObjectConstructor create;
};

// In registration order; the classes still to come keep their places in comments.
const Constructor kConstructors[] = {
    {"VCLForm", CreateForm},
    {"VCLEdit", Create<Make<TJVCLBaseEdit>, kgui::TEdit>},
    {"VCLButton", Create<Make<TJVCLBaseButton>, kgui::TButton>},
    {"VCLMemo", Create<Make<TJVCLBaseMemo>, kgui::TMemo>},
    {"VCLLabel", Create<Make<TJVCLBaseLabel>, kgui::TLabel>},
    {"VCLTimer", Create<Make<TJVCLBaseTimer>, kgui::TTimer>},
    {"VCLMenuItem", Create<Make<TJVCLBaseMenuItem>, kgui::TMenuItem>},
    {"VCLMainMenu", Create<Make<TJVCLBaseMainMenu>, kgui::TMainMenu>},
    {"VCLPopupMenu", Create<Make<TJVCLBasePopupMenu>, kgui::TPopupMenu>},
    {"VCLCheckBox", Create<MakeCheckBox, kgui::TCheckBox>},
    {"VCLRadioButton", Create<MakeRadioButton, kgui::TRadioButton>},
    {"VCLListBox", Create<Make<TJVCLBaseListBox>, kgui::TListBox>},
    {"VCLComboBox", Create<Make<TJVCLBaseComboBox>, kgui::TComboBox>},
    {"VCLGroupBox", Create<MakeGroupBox, kgui::TGroupBox>},
    {"VCLRadioGroup", Create<MakeRadioGroup, kgui::TRadioGroup>},
    {"VCLPanel", Create<MakePanel, kgui::TPanel>},
    {"VCLSplitter", Create<Make<TJVCLBaseSplitter>, kgui::TSplitter>},
    {"VCLCheckListBox", Create<Make<TJVCLBaseCheckListBox>, kgui::TCheckListBox>},
    {"VCLImage", Create<Make<TJVCLBaseImage>, kgui::TImage>},
    {"VCLTabControl", Create<Make<TJVCLBaseTabControl>, kgui::TTabControl>},
    {"VCLTabSheet", Create<Make<TJVCLBaseTabSheet>, kgui::TTabSheet>},
    {"VCLPageControl", Create<Make<TJVCLBasePageControl>, kgui::TPageControl>},
    {"VCLProgressBar", Create<Make<TJVCLBaseProgressBar>, kgui::TProgressBar>},
    {"VCLTreeView", Create<Make<TJVCLBaseTreeView>, kgui::TTreeView>},
    {"VCLListView", Create<Make<TJVCLListView>, kgui::TListView>},
    {"VCLStatusBar", Create<Make<TJVCLBaseStatusBar>, kgui::TStatusBar>},
    {"VCLToolButton", Create<Make<TJVCLBaseToolButton>, kgui::TToolButton>},
    {"VCLToolBar", Create<Make<TJVCLBaseToolBar>, kgui::TToolBar>},
    {"VCLCoolBar", Create<Make<TJVCLBaseCoolBar>, kgui::TCoolBar>},
    {"VCLAction", Create<Make<TJVCLBaseAction>, kgui::TAction>},
    {"VCLOpenDialog", Create<MakeOpenDialog, kgui::TOpenDialog>},
    {"VCLSaveDialog", Create<MakeSaveDialog, kgui::TSaveDialog>},
    {"VCLFontDialog", Create<Make<TJVCLBaseFontDialog>, kgui::TFontDialog>},
    {"VCLFindDialog", Create<MakeFindDialog, kgui::TFindDialog>},
    {"VCLReplaceDialog", Create<MakeReplaceDialog, kgui::TReplaceDialog>},
    {"VCLSpinEdit", Create<Make<TJVCLBaseSpinEdit>, kgui::TSpinEdit>},
    {"VCLUpDown", Create<Make<TJVCLBaseUpDown>, kgui::TUpDown>},
};

// Runs the application's events, first waiting up to `wait` for one; then raises an
// error a handler left. False once the application is ending.
bool PumpMessages(std::chrono::milliseconds wait) {
  if (!QCoreApplication::instance()) {
    std::this_thread::sleep_for(wait);
    RaiseVCLPendingError();
    return true;
  }
  QEventLoop loop;
  QTimer timeout;
  timeout.setSingleShot(true);
  QObject::connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
  timeout.start(wait);
  loop.processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  FlushDeferredNatives();
  RaiseVCLPendingError();
  kgui::TApplication* app = kgui::TApplication::instance();
  return !(app && app->terminated());
}

}  // namespace

std::span<const VCLCastRow> DefaultVCLCastRows() { return kCastRows; }

void RegisterVCLObjects(TJEngine& engine) {
  kgui::RegisterVCLStreamClasses();
  for (const Constructor& c : kConstructors) engine.RegisterObjectClass(c.name, c.create);
  engine.MessagePump = PumpMessages;
  InstallVCLModalErrorListener();
}

void ImportHostLibrariesWithGui(TJEngine& engine) {
  ImportHostLibraries(engine);
  RegisterCheckListObjects(engine);
  RegisterVCLObjects(engine);
}

void FlushVCLDeferredFrees() { FlushDeferredNatives(); }

}  // namespace kestrin::script
