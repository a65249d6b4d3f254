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
#include "script/gui/vcl_class_names.h"
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

// Every descendant before its ancestor.
const VCLCastRow kCastRows[] = {
    {&kgui::TMenuItem::staticClassInfo, MakeVCLWrapper<kVCLMenuItem>},
    {&kgui::TTabSheet::staticClassInfo, MakeVCLWrapper<kVCLTabSheet>},
    {&kgui::TPageControl::staticClassInfo, MakeVCLWrapper<kVCLPageControl>},
    {&kgui::TTabControl::staticClassInfo, MakeVCLWrapper<kVCLTabControl>},
    {&kgui::TStatusBar::staticClassInfo, MakeVCLWrapper<kVCLStatusBar>},
    {&kgui::TSplitter::staticClassInfo, MakeVCLWrapper<kVCLSplitter>},
    {&kgui::TUpDown::staticClassInfo, MakeVCLWrapper<kVCLUpDown>},
    {&kgui::TStatusPanels::staticClassInfo, MakeVCLWrapper<kVCLStatusPanels>},
    {&kgui::TBasicAction::staticClassInfo, MakeVCLWrapper<kVCLAction>},
    {&kgui::TLabel::staticClassInfo, MakeVCLWrapper<kVCLLabel>},
    {&kgui::TEdit::staticClassInfo, MakeVCLWrapper<kVCLEdit>},
    {&kgui::TMemo::staticClassInfo, Make<TJVCLBaseMemo>},
    {&kgui::TToolButton::staticClassInfo, MakeVCLWrapper<kVCLToolButton>},
    {&kgui::TCheckBox::staticClassInfo, MakeVCLWrapper<kVCLCheckBox>},
    {&kgui::TRadioButton::staticClassInfo, MakeVCLWrapper<kVCLRadioButton>},
    {&kgui::TButton::staticClassInfo, MakeVCLWrapper<kVCLButton>},
    {&kgui::TComboBox::staticClassInfo, MakeVCLWrapper<kVCLComboBox>},
    {&kgui::TTimer::staticClassInfo, MakeVCLWrapper<kVCLTimer>},
    {&kgui::TSpinEdit::staticClassInfo, MakeVCLWrapper<kVCLSpinEdit>},
    {&kgui::TCheckListBox::staticClassInfo, MakeVCLWrapper<kVCLCheckListBox>},
    {&kgui::TListBox::staticClassInfo, MakeVCLWrapper<kVCLListBox>},
    {&kgui::TPanel::staticClassInfo, MakeVCLWrapper<kVCLPanel>},
    {&kgui::TRadioGroup::staticClassInfo, MakeVCLWrapper<kVCLRadioGroup>},
    {&kgui::TGroupBox::staticClassInfo, MakeVCLWrapper<kVCLGroupBox>},
    {&kgui::TCoolBar::staticClassInfo, MakeVCLWrapper<kVCLCoolBar>},
    {&kgui::TToolBar::staticClassInfo, MakeVCLWrapper<kVCLToolBar>},
    {&kgui::TPopupMenu::staticClassInfo, MakeVCLWrapper<kVCLPopupMenu>},
    {&kgui::TMainMenu::staticClassInfo, MakeVCLWrapper<kVCLMainMenu>},
    {&kgui::TForm::staticClassInfo, Make<TJVCLBaseForm>},
    {&kgui::TProgressBar::staticClassInfo, MakeVCLWrapper<kVCLProgressBar>},
    {&kgui::TImage::staticClassInfo, MakeVCLWrapper<kVCLImage>},
    {&kgui::TTreeNode::staticClassInfo, Make<TJVCLBaseTreeNode>},
    {&kgui::TTreeNodes::staticClassInfo, Make<TJVCLBaseTreeNodes>},
    {&kgui::TTreeView::staticClassInfo, Make<TJVCLBaseTreeView>},
    {&kgui::TListItem::staticClassInfo, Make<TJVCLBaseListItem>},
    {&kgui::TListItems::staticClassInfo, Make<TJVCLBaseListItems>},
    {&kgui::TListColumns::staticClassInfo, Make<TJVCLBaseListColumns>},
    {&kgui::TListView::staticClassInfo, Make<TJVCLBaseListView>},
    {&kgui::TFontDialog::staticClassInfo, MakeVCLWrapper<kVCLFontDialog>},
    {&kgui::TReplaceDialog::staticClassInfo, MakeVCLWrapper<kVCLReplaceDialog>},
    {&kgui::TFindDialog::staticClassInfo, MakeVCLWrapper<kVCLFindDialog>},
    {&kgui::TSaveDialog::staticClassInfo, MakeVCLWrapper<kVCLSaveDialog>},
    {&kgui::TOpenDialog::staticClassInfo, MakeVCLWrapper<kVCLOpenDialog>},
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

// In the order of kVCLClassNames.
const ObjectConstructor kConstructors[] = {
    CreateForm,
    Create<MakeVCLWrapper<kVCLEdit>, kgui::TEdit>,
    Create<MakeVCLWrapper<kVCLButton>, kgui::TButton>,
    Create<Make<TJVCLBaseMemo>, kgui::TMemo>,
    Create<MakeVCLWrapper<kVCLLabel>, kgui::TLabel>,
    Create<MakeVCLWrapper<kVCLTimer>, kgui::TTimer>,
    Create<MakeVCLWrapper<kVCLMenuItem>, kgui::TMenuItem>,
    Create<MakeVCLWrapper<kVCLMainMenu>, kgui::TMainMenu>,
    Create<MakeVCLWrapper<kVCLPopupMenu>, kgui::TPopupMenu>,
    Create<MakeVCLWrapper<kVCLCheckBox>, kgui::TCheckBox>,
    Create<MakeVCLWrapper<kVCLRadioButton>, kgui::TRadioButton>,
    Create<MakeVCLWrapper<kVCLListBox>, kgui::TListBox>,
    Create<MakeVCLWrapper<kVCLComboBox>, kgui::TComboBox>,
    Create<MakeVCLWrapper<kVCLGroupBox>, kgui::TGroupBox>,
    Create<MakeVCLWrapper<kVCLRadioGroup>, kgui::TRadioGroup>,
    Create<MakeVCLWrapper<kVCLPanel>, kgui::TPanel>,
    Create<MakeVCLWrapper<kVCLSplitter>, kgui::TSplitter>,
    Create<MakeVCLWrapper<kVCLCheckListBox>, kgui::TCheckListBox>,
    Create<MakeVCLWrapper<kVCLImage>, kgui::TImage>,
    Create<MakeVCLWrapper<kVCLTabControl>, kgui::TTabControl>,
    Create<MakeVCLWrapper<kVCLTabSheet>, kgui::TTabSheet>,
    Create<MakeVCLWrapper<kVCLPageControl>, kgui::TPageControl>,
    Create<MakeVCLWrapper<kVCLProgressBar>, kgui::TProgressBar>,
    Create<Make<TJVCLBaseTreeView>, kgui::TTreeView>,
    Create<Make<TJVCLListView>, kgui::TListView>,
    Create<MakeVCLWrapper<kVCLStatusBar>, kgui::TStatusBar>,
    Create<MakeVCLWrapper<kVCLToolButton>, kgui::TToolButton>,
    Create<MakeVCLWrapper<kVCLToolBar>, kgui::TToolBar>,
    Create<MakeVCLWrapper<kVCLCoolBar>, kgui::TCoolBar>,
    Create<MakeVCLWrapper<kVCLAction>, kgui::TAction>,
    Create<MakeVCLWrapper<kVCLOpenDialog>, kgui::TOpenDialog>,
    Create<MakeVCLWrapper<kVCLSaveDialog>, kgui::TSaveDialog>,
    Create<MakeVCLWrapper<kVCLFontDialog>, kgui::TFontDialog>,
    Create<MakeVCLWrapper<kVCLFindDialog>, kgui::TFindDialog>,
    Create<MakeVCLWrapper<kVCLReplaceDialog>, kgui::TReplaceDialog>,
    Create<MakeVCLWrapper<kVCLSpinEdit>, kgui::TSpinEdit>,
    Create<MakeVCLWrapper<kVCLUpDown>, kgui::TUpDown>,
};
static_assert(std::size(kConstructors) == kVCLClassNames.size());

}  // namespace

bool PumpVCLMessages(std::chrono::milliseconds wait) {
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

std::span<const VCLCastRow> DefaultVCLCastRows() { return kCastRows; }

std::span<const ObjectConstructor> VCLConstructors() { return kConstructors; }

void PrepareVCLObjects() {
  kgui::RegisterVCLStreamClasses();
  InstallVCLModalErrorListener();
}

void RegisterVCLObjects(TJEngine& engine) {
  PrepareVCLObjects();
  for (size_t i = 0; i < kVCLClassNames.size(); ++i) engine.RegisterObjectClass(kVCLClassNames[i], kConstructors[i]);
  engine.MessagePump = PumpVCLMessages;
}

void ImportHostLibrariesWithGui(TJEngine& engine) {
  ImportHostLibraries(engine);
  RegisterCheckListObjects(engine);
  RegisterVCLObjects(engine);
}

void FlushVCLDeferredFrees() { FlushDeferredNatives(); }

}  // namespace kestrin::script
