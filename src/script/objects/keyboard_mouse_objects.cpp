// Keyboard and Mouse: virtual-key codes for the UI services' key test.
#include "script/objects/keyboard_mouse_objects.h"

#include "script/core/engine.h"
#include "script/objects/object_support.h"

namespace kestrin::script {
namespace {

Value KeyState(TJObject& self, int32_t vk) { return Value::Bool(UiOf(self).KeyDown(vk)); }

void KIsDown(TJObject& self, TJValueList& params, Value& result) {
  const int32_t vk = params.GetCount() > 0 ? VirtualKeyOf(params.GetValue(0)) : 0;
  if (vk != 0) result = KeyState(self, vk);
}

Value GetShift(TJObject& self) { return KeyState(self, kVkShift); }
Value GetCtrl(TJObject& self) { return KeyState(self, kVkControl); }
Value GetAlt(TJObject& self) { return KeyState(self, kVkMenu); }

constexpr PropDef kKeyboardProps[] = {{"shift", GetShift, nullptr}, {"ctrl", GetCtrl, nullptr}, {"alt", GetAlt, nullptr}};

Value GetLButton(TJObject& self) { return KeyState(self, kVkLButton); }
Value GetMButton(TJObject& self) { return KeyState(self, kVkMButton); }
Value GetRButton(TJObject& self) { return KeyState(self, kVkRButton); }

// The cursor's coordinate, 0 where the platform does not tell.
Value Cursor(TJObject& self, bool y_axis) {
  int32_t x = 0, y = 0;
  if (!UiOf(self).CursorPos(x, y)) x = y = 0;
  return Value::Integer(y_axis ? y : x);
}
Value GetX(TJObject& self) { return Cursor(self, false); }
Value GetY(TJObject& self) { return Cursor(self, true); }

constexpr PropDef kMouseProps[] = {{"lbutton", GetLButton, nullptr}, {"mbutton", GetMButton, nullptr},
                                   {"rbutton", GetRButton, nullptr}, {"x", GetX, nullptr},
                                   {"y", GetY, nullptr}};

}  // namespace

int32_t VirtualKeyOf(const Value& key) {
  if (!ValueIsString(key)) return ValueToInteger(key);
  const StrRef text = ValueToString(key);
  if (text.empty()) return 0;
  const auto c = static_cast<unsigned char>(text.data()[0]);
  return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c;
}

TJKeyboard::TJKeyboard(BaseEngine* engine) : TJObject(engine), props_(*this, kKeyboardProps) { SetObjectName("Keyboard"); }

const ClassInfo& TJKeyboard::Class() const {
  static const ClassInfo info(&TJObject::BaseClass(), {{"isDown", KIsDown}});
  return info;
}

TJMouse::TJMouse(BaseEngine* engine) : TJObject(engine), props_(*this, kMouseProps) { SetObjectName("Mouse"); }

void RegisterKeyboard(TJEngine& engine) {
  engine.RegisterObjectClass("Keyboard", [](BaseEngine* e, TJValueList*) -> TJObject* { return new TJKeyboard(e); }, true);
}

void RegisterMouse(TJEngine& engine) {
  engine.RegisterObjectClass("Mouse", [](BaseEngine* e, TJValueList*) -> TJObject* { return new TJMouse(e); }, true);
}

}  // namespace kestrin::script
