// "Mail": properties, header members and the attachment list.
#include "script/objects/mail_object.h"

#include <string>
#include <vector>

#include "script/core/engine.h"
#include "script/core/value_list.h"
#include "script/objects/object_support.h"
#include "script/objects/strings_object.h"

namespace kestrin::script {
namespace {

TJMailObject& MailOf(TJObject& self) { return static_cast<TJMailObject&>(self); }

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

Value GetNumber(TJObject& self) { return Value::Integer(MailOf(self).Message().Number); }
Value GetMailLength(TJObject& self) { return NumberValue(MailOf(self).Message().Length); }
Value GetAttachments(TJObject& self) { return MailOf(self).Attachments(); }
Value GetHeader(TJObject& self) { return Value::String(StrRef(JoinLines(MailOf(self).Message().HeaderLines))); }
Value GetBody(TJObject& self) { return Value::String(StrRef(JoinLines(MailOf(self).Message().BodyLines))); }
Value GetMessage(TJObject& self) { return Value::String(StrRef(MailOf(self).Message().Body)); }
void SetMessage(TJObject& self, const Value& v) { MailOf(self).Message().Body = ValueToStdString(v); }

constexpr PropDef kMailProps[] = {{"number", GetNumber, nullptr}, {"length", GetMailLength, nullptr},
    {"attachments", GetAttachments, nullptr}, {"header", GetHeader, nullptr}, {"body", GetBody, nullptr},
    {"message", GetMessage, SetMessage}};

void MClear(TJObject& self, TJValueList&, Value& result) {
  MailOf(self).Clear();
  result = Value::Object(&self);
}

kgui::TStrings* StringsListOf(const Value& strings) {
  auto* object = dynamic_cast<TJBaseStringsObject*>(strings.object());
  return object ? object->Strings() : nullptr;
}

}  // namespace

TJMailObject::TJMailObject(BaseEngine* engine)
    : TJObject(engine), attachments_(NewStringList(engine)), props_(*this, kMailProps) {
  SetObjectName("Mail");
}

const ClassInfo& TJMailObject::Class() const {
  static const ClassInfo info(&BaseClass(), {{"clear", MClear}});
  return info;
}

bool TJMailObject::GetValueImpl(const StrRef& name, Value& out, const Value* param) {
  if (TJObject::GetValueImpl(name, out, param)) return true;
  if (Dead() || !message_.Headers.HasKey(name.view())) return false;
  out = Value::String(StrRef(message_.GetHeader(name.view())));
  return true;
}

bool TJMailObject::SetValueImpl(const StrRef& name, const Value& v, const Value* param) {
  if (TJObject::SetValueImpl(name, v, param)) return true;  // properties and own members
  message_.Headers.SetValue(std::string(name.view()), ValueToStdString(v));
  return true;
}

bool TJMailObject::HasKey(const StrRef& name) { return message_.Headers.HasKey(name.view()) || TJObject::HasKey(name); }

void TJMailObject::GetPropertyNames(std::vector<StrRef>& out) {
  for (const std::string& name : message_.Headers.Keys()) out.emplace_back(name);
}

void TJMailObject::CopyTo(TMailMessage& target) {
  target.Assign(message_);
  target.Attachments.clear();
  if (kgui::TStrings* list = StringsListOf(attachments_))
    for (int i = 0; i < list->count(); ++i) target.Attachments.push_back(list->get(i));
}

void TJMailObject::CopyFrom(const TMailMessage& source) {
  message_.Assign(source);
  if (kgui::TStrings* list = StringsListOf(attachments_)) {
    list->clear();
    for (const std::string& path : message_.Attachments) list->add(path);
  }
}

void TJMailObject::Clear() {
  message_.Reset();
  if (kgui::TStrings* list = StringsListOf(attachments_)) list->clear();
}

void RegisterMailObject(TJEngine& engine) {
  engine.RegisterObjectClass("Mail", [](BaseEngine* e, TJValueList*) -> TJObject* { return new TJMailObject(e); });
}

}  // namespace kestrin::script
