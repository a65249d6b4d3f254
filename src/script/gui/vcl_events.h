// Event bridges: native events of the GUI class library forwarded to the script handlers
// of a wrapper ("onClick", ...), one marshaller per argument signature. A bridge runs only
// while the engine runs and the wrapper (or its class prototype) has the handler. The
// sender comes first, through the caster; by-reference arguments travel as Boolean,
// Number and String objects and are copied back after the handler; enumerations cross
// as identifiers and sets as "ssShift,ssCtrl". An error of the handler is kept pending
// (nothing crosses Qt's dispatch) for the loop or the method that ran the event.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/gui/actions.h"
#include "platform/gui/control.h"
#include "platform/gui/form.h"
#include "platform/gui/image.h"
#include "platform/gui/menus.h"
#include "platform/gui/splitter.h"
#include "platform/gui/status_bar.h"
#include "platform/gui/up_down.h"
#include "script/builtins/number_object.h"
#include "script/core/value_list.h"
#include "script/core/weak.h"
#include "script/objects/object_support.h"
#include "script/gui/vcl_wrapper.h"

namespace kestrin::script {

// Calls handler `event` of the wrapper that `weak` names, when it is there; fill makes the
// arguments, back copies the by-reference ones back. An error of the handler is kept pending.
// True when the handler was there.
template <class Fill, class Back>
bool CallVCLEvent(const WeakPtr<TJObject>& weak, const char* event, Fill&& fill, Back&& back) {
  auto* w = static_cast<TJVCLPersistent*>(weak.get());
  const StrRef name(event);
  // A wrapper without references is being freed, and the native object with it ("onDestroy"
  // of a form the script dropped): nothing may call into it any more.
  if (!w || w->RefCount() == 0 || !w->HasEventHandler(name)) return false;
  Ref<TJObject> hold(w);  // the handler may drop the script's last reference
  try {
    TJValueList params;
    fill(*w, params);
    Value result;
    w->CallEvent(StrRef(), name, result, &params);
    back(params);
  } catch (...) {
    KeepVCLPendingError(std::current_exception());
  }
  return true;
}

// The same with the sender first, through the caster; fill adds the arguments after it.
template <class Fill, class Back>
void FireVCLEvent(const WeakPtr<TJObject>& weak, const char* event, kgui::TComponent* sender, Fill&& fill,
                  Back&& back) {
  CallVCLEvent(weak, event, [&](TJVCLPersistent& w, TJValueList& params) {
    params.Add(CastVCL(sender, w.Engine()), true);
    fill(w, params);
  }, back);
}

// By-reference arguments: a holder object added to the list, and the copy back of its value
// after the handler (a holder the handler replaced leaves the value as it was).
inline void NoBack(TJValueList&) {}
inline void AddNumberRef(TJVCLPersistent& self, TJValueList& p, int value) {
  p.Add(NewHostObject<TJNumberObject>(self.Engine(), Value::Integer(value)), true);
}
inline void BackNumber(TJValueList& p, int32_t index, int& value) {
  if (auto* n = dynamic_cast<TJNumberObject*>(p.GetValue(index).object())) value = ValueToInteger(n->Held());
}
inline void AddBoolRef(TJVCLPersistent& self, TJValueList& p, bool value) {
  p.Add(NewHostObject<TJBooleanObject>(self.Engine(), value), true);
}
inline void BackBool(TJValueList& p, int32_t index, bool& value) {
  if (auto* b = dynamic_cast<TJBooleanObject*>(p.GetValue(index).object())) value = b->Held();
}

inline WeakPtr<TJObject> WeakOf(TJVCLPersistent& w) { return WeakPtr<TJObject>(w.WeakHandle()); }

kgui::TNotifyEvent NotifyBridge(TJVCLPersistent& w, const char* event);
// The drops of a drop target, sent as its control's: x and y, then a new Strings object of
// the names or the text.
std::function<void(kgui::TComponent*, int, int, const std::vector<std::string>&)> DropFilesBridge(
    TJVCLPersistent& w, const char* event);
std::function<void(kgui::TComponent*, int, int, const std::string&)> DropTextBridge(TJVCLPersistent& w,
                                                                                    const char* event);
kgui::TMouseEvent MouseBridge(TJVCLPersistent& w, const char* event);
kgui::TMouseMoveEvent MouseMoveBridge(TJVCLPersistent& w, const char* event);
// key* is a Number object; 0 stops the control's own use of the key.
kgui::TKeyEvent KeyBridge(TJVCLPersistent& w, const char* event);
// key* is a String object of one character; empty keeps the character out.
kgui::TKeyPressEvent KeyPressBridge(TJVCLPersistent& w, const char* event);
// action* is a String object holding the close action's identifier ("caHide").
kgui::TCloseEvent CloseBridge(TJVCLPersistent& w, const char* event);
// canClose* is a Boolean object.
kgui::TCloseQueryEvent CloseQueryBridge(TJVCLPersistent& w, const char* event);
// source: the changed item's wrapper (null for the menu's own list), rebuild a Boolean.
kgui::TMenuChangeEvent MenuChangeBridge(TJVCLPersistent& w, const char* event);
// The font dialog's Apply: the dialog's window handle as a number.
std::function<void(kgui::TComponent*, uint32_t)> ApplyBridge(TJVCLPersistent& w, const char* event);

// newWidth*, newHeight* Number objects, resize* a Boolean object.
kgui::TControlCanResizeEvent ControlCanResizeBridge(TJVCLPersistent& w, const char* event);
// minWidth*, minHeight*, maxWidth*, maxHeight*: Number objects.
kgui::TConstrainedResizeEvent ConstrainedResizeBridge(TJVCLPersistent& w, const char* event);
// mousePos a new Point, handled* a Boolean object.
kgui::TContextPopupEvent ContextPopupBridge(TJVCLPersistent& w, const char* event);
// shift, wheelDelta, mousePos (a new Point), handled*.
kgui::TMouseWheelEvent MouseWheelBridge(TJVCLPersistent& w, const char* event);
// shift, mousePos (a new Point), handled*.
kgui::TMouseWheelUpDownEvent MouseWheelUpDownBridge(TJVCLPersistent& w, const char* event);
// No sender: command, data, callHelp* (a Boolean object); taken when a handler exists.
kgui::THelpEvent HelpBridge(TJVCLPersistent& w, const char* event);

// source: the dragged control's wrapper, then x, y.
kgui::TDragDropEvent DragDropBridge(TJVCLPersistent& w, const char* event);
// source, x, y, state (identifier, "dsDragEnter"), accept* (a Boolean object).
kgui::TDragOverEvent DragOverBridge(TJVCLPersistent& w, const char* event);
// target: the wrapper of the control dropped on, or null; x, y.
kgui::TEndDragEvent EndDragBridge(TJVCLPersistent& w, const char* event);

// newSize* is a Number object, accept* a Boolean object.
kgui::TCanResizeEvent CanResizeBridge(TJVCLPersistent& w, const char* event);
// allowChange* a Boolean object, newValue an integer, direction an identifier ("updUp").
kgui::TUDChangingExEvent ChangingExBridge(TJVCLPersistent& w, const char* event);
// button: "btNext" or "btPrev".
kgui::TUDClickEvent UDClickBridge(TJVCLPersistent& w, const char* event);
// panel: the panel's wrapper; rect: a new Rect.
kgui::TDrawPanelEvent DrawPanelBridge(TJVCLPersistent& w, const char* event);
// stage an identifier ("psStarting"), percentDone, redrawNow, rect a new Rect, msg.
kgui::TProgressEvent ProgressBridge(TJVCLPersistent& w, const char* event);
// No sender: hint* a String object, canShow* a Boolean object.
kgui::THintEvent HintBridge(TJVCLPersistent& w, const char* event);

// The handlers of the standard control events: what the flags name is hooked.
enum VCLEventSet : uint32_t {
  kEvClick = 1u << 0,
  kEvDblClick = 1u << 1,
  kEvMouse = 1u << 2,   // onMouseDown, onMouseMove, onMouseUp
  kEvKeyDown = 1u << 3,
  kEvKeyPress = 1u << 4,
  kEvKeyUp = 1u << 5,
  kEvFocus = 1u << 6,   // onEnter, onExit
  kEvResize = 1u << 7,
  kEvContextPopup = 1u << 8,
  kEvCanResize = 1u << 9,          // onCanResize, onConstrainedResize
  kEvWheel = 1u << 10,             // onMouseWheel, onMouseWheelDown, onMouseWheelUp
  kEvDragTarget = 1u << 11,        // onDragDrop, onDragOver
  kEvEndDrag = 1u << 12,
  kEvDrag = kEvDragTarget | kEvEndDrag,
  kEvKeys = kEvKeyDown | kEvKeyPress | kEvKeyUp,
};
void HookControlEvents(TJVCLControl& w, uint32_t events);

}  // namespace kestrin::script
