// The table of classes that form descriptions may name, in the library's registration order.
#include "platform/gui/stream_classes.h"

#include "platform/classes/class_registry.h"
#include "platform/gui/actions.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/find_dialog.h"
#include "platform/gui/form.h"
#include "platform/gui/image.h"
#include "platform/gui/list_controls.h"
#include "platform/gui/list_view.h"
#include "platform/gui/menus.h"
#include "platform/gui/splitter.h"
#include "platform/gui/status_bar.h"
#include "platform/gui/std_controls.h"
#include "platform/gui/tab_controls.h"
#include "platform/gui/timer.h"
#include "platform/gui/tool_bars.h"
#include "platform/gui/tree_view.h"
#include "platform/gui/up_down.h"

namespace kgui {

void RegisterVCLStreamClasses() {
  ClassRegistry& r = stream_classes();
  registerStreamClass<TForm>(r);
  registerStreamClass<TEdit>(r);
  registerStreamClass<TButton>(r);
  registerStreamClass<TMemo>(r);
  registerStreamClass<TLabel>(r);
  registerStreamClass<TTimer>(r);
  registerStreamClass<TMenuItem>(r);
  registerStreamClass<TMainMenu>(r);
  registerStreamClass<TPopupMenu>(r);
  registerStreamClass<TCheckBox>(r);
  registerStreamClass<TRadioButton>(r);
  registerStreamClass<TListBox>(r);
  registerStreamClass<TComboBox>(r);
  registerStreamClass<TGroupBox>(r);
  registerStreamClass<TRadioGroup>(r);
  registerStreamClass<TPanel>(r);
  registerStreamClass<TSplitter>(r);
  registerStreamClass<TCheckListBox>(r);
  registerStreamClass<TImage>(r);
  registerStreamClass<TTabControl>(r);
  registerStreamClass<TTabSheet>(r);
  registerStreamClass<TPageControl>(r);
  registerStreamClass<TProgressBar>(r);
  registerStreamClass<TTreeView>(r);
  registerStreamClass<TListView>(r);
  registerStreamClass<TStatusBar>(r);
  registerStreamClass<TToolButton>(r);
  registerStreamClass<TToolBar>(r);
  registerStreamClass<TCoolBar>(r);
  registerStreamClass<TAction>(r);
  registerStreamClass<TActionList>(r);
  registerStreamClass<TOpenDialog>(r);
  registerStreamClass<TSaveDialog>(r);
  registerStreamClass<TFontDialog>(r);
  registerStreamClass<TFindDialog>(r);
  registerStreamClass<TReplaceDialog>(r);
  registerStreamClass<TSpinEdit>(r);
  registerStreamClass<TUpDown>(r);
}

}  // namespace kgui
