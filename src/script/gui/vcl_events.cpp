// The event bridges: each builds the handler's arguments, calls it through the engine and
// copies the by-reference arguments back.
#include "script/gui/vcl_events.h"

#include <string>
#include <utility>

#include "base/cp932.h"
#include "platform/gui/drag_drop.h"
#include "script/builtins/number_object.h"
#include "script/builtins/string_object.h"
#include "script/core/value_list.h"
#include "script/objects/object_support.h"
#include "script/objects/strings_object.h"

namespace kestrin::script {
namespace {

void NoBack(TJValueList&) {}

WeakPtr<TJObject> WeakOf(TJVCLPersistent& w) { return WeakPtr<TJObject>(w.WeakHandle()); }

Value ShiftText(kgui::TShiftState shift) {
  return Value::String(StrRef(kgui::setToNames(kgui::shiftStateType(), shift)));
}

}  // namespace

kgui::TNotifyEvent NotifyBridge(TJVCLPersistent& w, const char* event) {
  return [weak = WeakOf(w), event](kgui::TComponent* sender) {
    FireVCLEvent(weak, event, sender, [](TJVCLPersistent&, TJValueList&) {}, NoBack);
  };
}

namespace {

kgui::TComponent* DropControl(kgui::TComponent* sender) {
  auto* target = dynamic_cast<kgui::TDragDropTarget*>(sender);
  return target ? target->target() : sender;
}

}  // namespace

std::function<void(kgui::TComponent*, int, int, const std::vector<std::string>&)> DropFilesBridge(
    TJVCLPersistent& w, const char* event) {
  return [weak = WeakOf(w), event](kgui::TComponent* sender, int x, int y, const std::vector<std::string>& files) {
    FireVCLEvent(weak, event, DropControl(sender), [&](TJVCLPersistent& self, TJValueList& p) {
      p.AddInteger(x);
      p.AddInteger(y);
      std::vector<std::string> names;
      for (const std::string& file : files) names.push_back(utf8_to_cp932(file));
      p.Add(NewStringList(self.Engine(), names), true);
    }, NoBack);
  };
}

std::function<void(kgui::TComponent*, int, int, const std::string&)> DropTextBridge(TJVCLPersistent& w,
                                                                                    const char* event) {
  return [weak = WeakOf(w), event](kgui::TComponent* sender, int x, int y, const std::string& text) {
    FireVCLEvent(weak, event, DropControl(sender), [&](TJVCLPersistent&, TJValueList& p) {
      p.AddInteger(x);
      p.AddInteger(y);
      p.Add(Value::String(StrRef(utf8_to_cp932(text))), true);
    }, NoBack);
  };
}

kgui::TMouseEvent MouseBridge(TJVCLPersistent& w, const char* event) {
  return [weak = WeakOf(w), event](kgui::TComponent* sender, kgui::TMouseButton button, kgui::TShiftState shift,
                                   int x, int y) {
    FireVCLEvent(weak, event, sender, [&](TJVCLPersistent&, TJValueList& p) {
      p.Add(Value::String(StrRef(kgui::enumToText(kgui::mouseButtonType(), button))), true);
      p.Add(ShiftText(shift), true);
      p.AddInteger(x);
      p.AddInteger(y);
    }, NoBack);
  };
}

kgui::TMouseMoveEvent MouseMoveBridge(TJVCLPersistent& w, const char* event) {
  return [weak = WeakOf(w), event](kgui::TComponent* sender, kgui::TShiftState shift, int x, int y) {
    FireVCLEvent(weak, event, sender, [&](TJVCLPersistent&, TJValueList& p) {
      p.Add(ShiftText(shift), true);
      p.AddInteger(x);
      p.AddInteger(y);
    }, NoBack);
  };
}

kgui::TKeyEvent KeyBridge(TJVCLPersistent& w, const char* event) {
  return [weak = WeakOf(w), event](kgui::TComponent* sender, int& key, kgui::TShiftState shift) {
    FireVCLEvent(weak, event, sender, [&](TJVCLPersistent& self, TJValueList& p) {
      p.Add(NewHostObject<TJNumberObject>(self.Engine(), Value::Integer(key)), true);
      p.Add(ShiftText(shift), true);
    }, [&](TJValueList& p) {
      if (auto* n = dynamic_cast<TJNumberObject*>(p.GetValue(1).object())) key = ValueToInteger(n->Held());
    });
  };
}

kgui::TKeyPressEvent KeyPressBridge(TJVCLPersistent& w, const char* event) {
  return [weak = WeakOf(w), event](kgui::TComponent* sender, char& key) {
    FireVCLEvent(weak, event, sender, [&](TJVCLPersistent& self, TJValueList& p) {
      p.Add(NewHostObject<TJStringObject>(self.Engine(), StrRef(std::string(1, key))), true);
    }, [&](TJValueList& p) {
      if (auto* s = dynamic_cast<TJStringObject*>(p.GetValue(1).object()))
        key = s->Text().empty() ? '\0' : s->Text().view()[0];
    });
  };
}

kgui::TCloseEvent CloseBridge(TJVCLPersistent& w, const char* event) {
  return [weak = WeakOf(w), event](kgui::TComponent* sender, int& action) {
    FireVCLEvent(weak, event, sender, [&](TJVCLPersistent& self, TJValueList& p) {
      p.Add(NewHostObject<TJStringObject>(self.Engine(), StrRef(kgui::enumToText(kgui::closeActionType(), action))),
            true);
    }, [&](TJValueList& p) {
      auto* s = dynamic_cast<TJStringObject*>(p.GetValue(1).object());
      if (!s) return;
      const std::string text(s->Text().view());
      if (auto ord = kgui::textToEnum(kgui::closeActionType(), text)) {
        action = static_cast<int>(*ord);
        return;
      }
      // A number names the action by its ordinal.
      if (!text.empty() && text.find_first_not_of("0123456789") == std::string::npos && text.size() < 3) {
        const int ord = std::stoi(text);
        if (ord <= kgui::caMinimize) action = ord;
      }
    });
  };
}

kgui::TCloseQueryEvent CloseQueryBridge(TJVCLPersistent& w, const char* event) {
  return [weak = WeakOf(w), event](kgui::TComponent* sender, bool& can_close) {
    FireVCLEvent(weak, event, sender, [&](TJVCLPersistent& self, TJValueList& p) {
      p.Add(NewHostObject<TJBooleanObject>(self.Engine(), can_close), true);
    }, [&](TJValueList& p) {
      if (auto* b = dynamic_cast<TJBooleanObject*>(p.GetValue(1).object())) can_close = b->Held();
    });
  };
}

kgui::TCanResizeEvent CanResizeBridge(TJVCLPersistent& w, const char* event) {
  return [weak = WeakOf(w), event](kgui::TComponent* sender, int& new_size, bool& accept) {
    FireVCLEvent(weak, event, sender, [&](TJVCLPersistent& self, TJValueList& p) {
      p.Add(NewHostObject<TJNumberObject>(self.Engine(), Value::Integer(new_size)), true);
      p.Add(NewHostObject<TJBooleanObject>(self.Engine(), accept), true);
    }, [&](TJValueList& p) {
      if (auto* n = dynamic_cast<TJNumberObject*>(p.GetValue(1).object())) new_size = ValueToInteger(n->Held());
      if (auto* b = dynamic_cast<TJBooleanObject*>(p.GetValue(2).object())) accept = b->Held();
    });
  };
}

kgui::TUDChangingExEvent ChangingExBridge(TJVCLPersistent& w, const char* event) {
  return [weak = WeakOf(w), event](kgui::TComponent* sender, bool& allow, int new_value, int direction) {
    FireVCLEvent(weak, event, sender, [&](TJVCLPersistent& self, TJValueList& p) {
      p.Add(NewHostObject<TJBooleanObject>(self.Engine(), allow), true);
      p.AddInteger(new_value);
      p.Add(Value::String(StrRef(kgui::enumToText(kgui::upDownDirectionType(), direction))), true);
    }, [&](TJValueList& p) {
      if (auto* b = dynamic_cast<TJBooleanObject*>(p.GetValue(1).object())) allow = b->Held();
    });
  };
}

kgui::TUDClickEvent UDClickBridge(TJVCLPersistent& w, const char* event) {
  return [weak = WeakOf(w), event](kgui::TComponent* sender, int button) {
    FireVCLEvent(weak, event, sender, [&](TJVCLPersistent&, TJValueList& p) {
      p.Add(Value::String(StrRef(kgui::enumToText(kgui::udBtnType(), button))), true);
    }, NoBack);
  };
}

kgui::TDrawPanelEvent DrawPanelBridge(TJVCLPersistent& w, const char* event) {
  return [weak = WeakOf(w), event](kgui::TComponent* sender, kgui::TStatusPanel* panel, const kgui::TRect& rect) {
    FireVCLEvent(weak, event, sender, [&](TJVCLPersistent& self, TJValueList& p) {
      p.Add(self.WrapNative(panel), true);
      p.Add(NewRectValue(self.Engine(), rect), true);
    }, NoBack);
  };
}

void HookControlEvents(TJVCLControl& w, uint32_t events) {
  kgui::TControl* c = w.Control();
  if (!c) return;
  // A linked action keeps its own click handling.
  if ((events & kEvClick) && !c->action()) c->OnClick = NotifyBridge(w, "onClick");
  if (events & kEvDblClick) c->OnDblClick = NotifyBridge(w, "onDblClick");
  if (events & kEvMouse) {
    c->OnMouseDown = MouseBridge(w, "onMouseDown");
    c->OnMouseMove = MouseMoveBridge(w, "onMouseMove");
    c->OnMouseUp = MouseBridge(w, "onMouseUp");
  }
  if (events & kEvResize) c->OnResize = NotifyBridge(w, "onResize");
  auto* win = dynamic_cast<kgui::TWinControl*>(c);
  if (!win) return;
  if (events & kEvKeyDown) win->OnKeyDown = KeyBridge(w, "onKeyDown");
  if (events & kEvKeyPress) win->OnKeyPress = KeyPressBridge(w, "onKeyPress");
  if (events & kEvKeyUp) win->OnKeyUp = KeyBridge(w, "onKeyUp");
  if (events & kEvFocus) {
    win->OnEnter = NotifyBridge(w, "onEnter");
    win->OnExit = NotifyBridge(w, "onExit");
  }
}

}  // namespace kestrin::script
