// "Cookie": "parse", the properties and the cookie names as members.
#include "script/objects/cookie_object.h"

#include <string>

#include "base/date_time.h"
#include "script/core/engine.h"
#include "script/core/factory.h"
#include "script/core/value_list.h"
#include "script/objects/object_support.h"

namespace kestrin::script {
namespace {

TJCookieObject& CookieOf(TJObject& self) { return static_cast<TJCookieObject&>(self); }

Value GetData(TJObject& self) { return Value::String(StrRef(CookieOf(self).Cookie().ToString())); }
void SetData(TJObject& self, const Value& v) {
  CookieOf(self).Cookie().Clear();
  CookieOf(self).Cookie().Parse(ValueToStdString(v));
}
Value GetDomain(TJObject& self) { return Value::String(StrRef(CookieOf(self).Cookie().Domain)); }
void SetDomain(TJObject& self, const Value& v) { CookieOf(self).Cookie().Domain = ValueToStdString(v); }
Value GetCookiePath(TJObject& self) { return Value::String(StrRef(CookieOf(self).Cookie().Path)); }
void SetCookiePath(TJObject& self, const Value& v) { CookieOf(self).Cookie().Path = ValueToStdString(v); }
Value GetCookieLength(TJObject& self) { return Value::Integer(CookieOf(self).Cookie().Count()); }

// A Date object of the expiry (kept as a UTC day count).
Value GetExpires(TJObject& self) {
  BaseEngine* engine = self.Engine();
  if (!engine) return Value();
  const double days = CookieOf(self).Cookie().Expires;
  TJValueList params{Value::Double((days - static_cast<double>(kUnixEpochDays)) * static_cast<double>(kMsPerDay))};
  return engine->Factory().Create("Date", &params);
}

constexpr PropDef kCookieProps[] = {{"data", GetData, SetData}, {"domain", GetDomain, SetDomain},
    {"path", GetCookiePath, SetCookiePath}, {"expires", GetExpires, nullptr}, {"length", GetCookieLength, nullptr}};

// parse(text) takes a cookie header text; parse(name, value) sets one pair.
void CParse(TJObject& self, TJValueList& params, Value& result) {
  result = Value::Object(&self);
  TCookie& cookie = CookieOf(self).Cookie();
  if (params.GetCount() >= 2) cookie.SetValue(ArgText(params, 0), ArgText(params, 1));
  else if (params.GetCount() == 1) cookie.Parse(ArgText(params, 0));
}

}  // namespace

TJCookieObject::TJCookieObject(BaseEngine* engine) : TJObject(engine), props_(*this, kCookieProps) {
  SetObjectName("Cookie");
}

const ClassInfo& TJCookieObject::Class() const {
  static const ClassInfo info(&BaseClass(), {{"parse", CParse}});
  return info;
}

bool TJCookieObject::GetValueImpl(const StrRef& name, Value& out, const Value* param) {
  if (TJObject::GetValueImpl(name, out, param)) return true;
  if (Dead() || !cookie_.HasValue(std::string(name.view()))) return false;
  out = Value::String(StrRef(cookie_.GetValue(std::string(name.view()))));
  return true;
}

bool TJCookieObject::SetValueImpl(const StrRef& name, const Value& v, const Value* param) {
  if (TJObject::SetValueImpl(name, v, param)) return true;  // properties and own members
  cookie_.SetValue(std::string(name.view()), ValueToStdString(v));
  return true;
}

bool TJCookieObject::HasKey(const StrRef& name) {
  return cookie_.HasValue(std::string(name.view())) || TJObject::HasKey(name);
}

bool TJCookieObject::RemoveKey(const StrRef& name) {
  if (cookie_.Values.Remove(name.view())) return true;
  return TJObject::RemoveKey(name);
}

void TJCookieObject::GetPropertyNames(std::vector<StrRef>& out) {
  for (const std::string& name : cookie_.GetNames()) out.emplace_back(name);
}

void RegisterCookieObject(TJEngine& engine) {
  engine.RegisterObjectClass("Cookie", [](BaseEngine* e, TJValueList*) -> TJObject* { return new TJCookieObject(e); });
}

}  // namespace kestrin::script
