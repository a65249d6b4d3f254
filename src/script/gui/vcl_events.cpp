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
      AddNumberRef(self, p, key);
      p.Add(ShiftText(shift), true);
    }, [&](TJValueList& p) { BackNumber(p, 1, key); });
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
    FireVCLEvent(weak, event, sender, [&](TJVCLPersistent& self, TJValueList& p) { AddBoolRef(self, p, can_close); },
         [&](TJValueList& p) { BackBool(p, 1, can_close); });
  };
}

kgui::TMenuChangeEvent MenuChangeBridge(TJVCLPersistent& w, const char* event) {
  return [weak = WeakOf(w), event](kgui::TComponent* sender, kgui::TMenuItem* source, bool rebuild) {
    FireVCLEvent(weak, event, sender, [&](TJVCLPersistent& self, TJValueList& p) {
      p.Add(CastVCL(source, self.Engine()), true);
      p.AddBool(rebuild);
    }, NoBack);
  };
}

std::function<void(kgui::TComponent*, uint32_t)> ApplyBridge(TJVCLPersistent& w, const char* event) {
  return [weak = WeakOf(w), event](kgui::TComponent* sender, uint32_t wnd) {
    FireVCLEvent(weak, event, sender, [&](TJVCLPersistent&, TJValueList& p) { p.AddInteger(static_cast<int64_t>(wnd)); },
                 NoBack);
  };
}

kgui::TControlCanResizeEvent ControlCanResizeBridge(TJVCLPersistent& w, const char* event) {
  return [weak = WeakOf(w), event](kgui::TComponent* sender, int& width, int& height, bool& resize) {
    FireVCLEvent(weak, event, sender, [&](TJVCLPersistent& self, TJValueList& p) {
      AddNumberRef(self, p, width);
      AddNumberRef(self, p, height);
      AddBoolRef(self, p, resize);
    }, [&](TJValueList& p) {
      BackNumber(p, 1, width);
      BackNumber(p, 2, height);
      BackBool(p, 3, resize);
    });
  };
}

kgui::TConstrainedResizeEvent ConstrainedResizeBridge(TJVCLPersistent& w, const char* event) {
  return [weak = WeakOf(w), event](kgui::TComponent* sender, int& min_w, int& min_h, int& max_w, int& max_h) {
    FireVCLEvent(weak, event, sender, [&](TJVCLPersistent& self, TJValueList& p) {
      for (int v : {min_w, min_h, max_w, max_h}) AddNumberRef(self, p, v);
    }, [&](TJValueList& p) {
      BackNumber(p, 1, min_w);
      BackNumber(p, 2, min_h);
      BackNumber(p, 3, max_w);
      BackNumber(p, 4, max_h);
    });
  };
}

kgui::TContextPopupEvent ContextPopupBridge(TJVCLPersistent& w, const char* event) {
  return [weak = WeakOf(w), event](kgui::TComponent* sender, kgui::TPoint pos, bool& handled) {
    FireVCLEvent(weak, event, sender, [&](TJVCLPersistent& self, TJValueList& p) {
      p.Add(NewPointValue(self.Engine(), pos), true);
      AddBoolRef(self, p, handled);
    }, [&](TJValueList& p) { BackBool(p, 2, handled); });
  };
}

kgui::TMouseWheelEvent MouseWheelBridge(TJVCLPersistent& w, const char* event) {
  return [weak = WeakOf(w), event](kgui::TComponent* sender, kgui::TShiftState shift, int delta, kgui::TPoint pos,
                                   bool& handled) {
    FireVCLEvent(weak, event, sender, [&](TJVCLPersistent& self, TJValueList& p) {
      p.Add(ShiftText(shift), true);
      p.AddInteger(delta);
      p.Add(NewPointValue(self.Engine(), pos), true);
      AddBoolRef(self, p, handled);
    }, [&](TJValueList& p) { BackBool(p, 4, handled); });
  };
}

kgui::TMouseWheelUpDownEvent MouseWheelUpDownBridge(TJVCLPersistent& w, const char* event) {
  return [weak = WeakOf(w), event](kgui::TComponent* sender, kgui::TShiftState shift, kgui::TPoint pos,
                                   bool& handled) {
    FireVCLEvent(weak, event, sender, [&](TJVCLPersistent& self, TJValueList& p) {
      p.Add(ShiftText(shift), true);
      p.Add(NewPointValue(self.Engine(), pos), true);
      AddBoolRef(self, p, handled);
    }, [&](TJValueList& p) { BackBool(p, 3, handled); });
  };
}

// The help event has no sender: the handler's arguments start with the command.
kgui::THelpEvent HelpBridge(TJVCLPersistent& w, const char* event) {
  return [weak = WeakOf(w), event](int command, int data, bool& call_help) {
    return CallVCLEvent(weak, event, [&](TJVCLPersistent& self, TJValueList& p) {
      p.AddInteger(command);
      p.AddInteger(data);
      AddBoolRef(self, p, call_help);
    }, [&](TJValueList& p) { BackBool(p, 2, call_help); });
  };
}

kgui::TDragDropEvent DragDropBridge(TJVCLPersistent& w, const char* event) {
  return [weak = WeakOf(w), event](kgui::TComponent* sender, kgui::TComponent* source, int x, int y) {
    FireVCLEvent(weak, event, sender, [&](TJVCLPersistent& self, TJValueList& p) {
      p.Add(CastVCL(source, self.Engine()), true);
      p.AddInteger(x);
      p.AddInteger(y);
    }, NoBack);
  };
}

kgui::TDragOverEvent DragOverBridge(TJVCLPersistent& w, const char* event) {
  return [weak = WeakOf(w), event](kgui::TComponent* sender, kgui::TComponent* source, int x, int y, int state,
                                   bool& accept) {
    FireVCLEvent(weak, event, sender, [&](TJVCLPersistent& self, TJValueList& p) {
      p.Add(CastVCL(source, self.Engine()), true);
      p.AddInteger(x);
      p.AddInteger(y);
      p.Add(Value::String(StrRef(kgui::enumToText(kgui::dragStateType(), state))), true);
      AddBoolRef(self, p, accept);
    }, [&](TJValueList& p) { BackBool(p, 5, accept); });
  };
}

kgui::TEndDragEvent EndDragBridge(TJVCLPersistent& w, const char* event) {
  return [weak = WeakOf(w), event](kgui::TComponent* sender, kgui::TComponent* target, int x, int y) {
    FireVCLEvent(weak, event, sender, [&](TJVCLPersistent& self, TJValueList& p) {
      p.Add(CastVCL(target, self.Engine()), true);
      p.AddInteger(x);
      p.AddInteger(y);
    }, NoBack);
  };
}

kgui::TCanResizeEvent CanResizeBridge(TJVCLPersistent& w, const char* event) {
  return [weak = WeakOf(w), event](kgui::TComponent* sender, int& new_size, bool& accept) {
    FireVCLEvent(weak, event, sender, [&](TJVCLPersistent& self, TJValueList& p) {
      AddNumberRef(self, p, new_size);
      AddBoolRef(self, p, accept);
    }, [&](TJValueList& p) {
      BackNumber(p, 1, new_size);
      BackBool(p, 2, accept);
    });
  };
}

kgui::TUDChangingExEvent ChangingExBridge(TJVCLPersistent& w, const char* event) {
  return [weak = WeakOf(w), event](kgui::TComponent* sender, bool& allow, int new_value, int direction) {
    FireVCLEvent(weak, event, sender, [&](TJVCLPersistent& self, TJValueList& p) {
      AddBoolRef(self, p, allow);
      p.AddInteger(new_value);
      p.Add(Value::String(StrRef(kgui::enumToText(kgui::upDownDirectionType(), direction))), true);
    }, [&](TJValueList& p) { BackBool(p, 1, allow); });
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

kgui::TProgressEvent ProgressBridge(TJVCLPersistent& w, const char* event) {
  return [weak = WeakOf(w), event](kgui::TComponent* sender, int stage, int percent_done, bool redraw_now,
                                   const kgui::TRect& rect, const std::string& msg) {
    FireVCLEvent(weak, event, sender, [&](TJVCLPersistent& self, TJValueList& p) {
      p.Add(Value::String(StrRef(kgui::enumToText(kgui::progressStageType(), stage))), true);
      p.AddInteger(percent_done);
      p.Add(Value::Bool(redraw_now), true);
      p.Add(NewRectValue(self.Engine(), rect), true);
      p.Add(Value::String(StrRef(utf8_to_cp932(msg))), true);
    }, NoBack);
  };
}

kgui::THintEvent HintBridge(TJVCLPersistent& w, const char* event) {
  return [weak = WeakOf(w), event](std::string& hint, bool& can_show) {
    CallVCLEvent(weak, event, [&](TJVCLPersistent& self, TJValueList& p) {
      p.Add(NewHostObject<TJStringObject>(self.Engine(), StrRef(utf8_to_cp932(hint))), true);
      AddBoolRef(self, p, can_show);
    }, [&](TJValueList& p) {
      if (auto* s = dynamic_cast<TJStringObject*>(p.GetValue(0).object())) hint = cp932_to_utf8(s->Text().view());
      BackBool(p, 1, can_show);
    });
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
  if (events & kEvContextPopup) c->OnContextPopup = ContextPopupBridge(w, "onContextPopup");
  if (events & kEvCanResize) {
    c->OnCanResize = ControlCanResizeBridge(w, "onCanResize");
    c->OnConstrainedResize = ConstrainedResizeBridge(w, "onConstrainedResize");
  }
  if (events & kEvDragTarget) {
    c->OnDragDrop = DragDropBridge(w, "onDragDrop");
    c->OnDragOver = DragOverBridge(w, "onDragOver");
  }
  if (events & kEvEndDrag) c->OnEndDrag = EndDragBridge(w, "onEndDrag");
  if (events & kEvWheel) {
    c->OnMouseWheel = MouseWheelBridge(w, "onMouseWheel");
    c->OnMouseWheelDown = MouseWheelUpDownBridge(w, "onMouseWheelDown");
    c->OnMouseWheelUp = MouseWheelUpDownBridge(w, "onMouseWheelUp");
  }
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
