// "POP3": login, fetches into the "Mail" object, deletions and their outcome events.
#include "script/objects/pop3_object.h"

#include <string>
#include <vector>

#include "script/core/engine.h"
#include "script/core/value_list.h"
#include "script/objects/mail_object.h"

namespace kestrin::script {
namespace {

TJPOP3Object& Pop3Of(TJObject& self) { return static_cast<TJPOP3Object&>(self); }

Value GetAttachPath(TJObject& self) { return Value::String(StrRef(Pop3Of(self).Client().AttachPath)); }
void SetAttachPath(TJObject& self, const Value& v) { Pop3Of(self).Client().AttachPath = ValueToStdString(v); }
Value GetDeleteOnRead(TJObject& self) { return Value::Bool(Pop3Of(self).Client().DeleteOnRead); }
void SetDeleteOnRead(TJObject& self, const Value& v) { Pop3Of(self).Client().DeleteOnRead = ValueToBool(v); }
Value GetMailCount(TJObject& self) { return Value::Integer(Pop3Of(self).Client().MailCount); }
Value GetPassword(TJObject& self) { return Value::String(StrRef(Pop3Of(self).Client().Password)); }
void SetPassword(TJObject& self, const Value& v) { Pop3Of(self).Client().Password = ValueToStdString(v); }
Value GetUserId(TJObject& self) { return Value::String(StrRef(Pop3Of(self).Client().UserName)); }
void SetUserId(TJObject& self, const Value& v) { Pop3Of(self).Client().UserName = ValueToStdString(v); }
Value GetMail(TJObject& self) { return Pop3Of(self).Mail(); }

const std::vector<PropDef>& Pop3Props() {
  static const std::vector<PropDef> props = TJBaseSocketObject::WithBaseProps({
      {"attachPath", GetAttachPath, SetAttachPath}, {"deleteOnRead", GetDeleteOnRead, SetDeleteOnRead},
      {"mailCount", GetMailCount, nullptr}, {"length", GetMailCount, nullptr},
      {"password", GetPassword, SetPassword}, {"userid", GetUserId, SetUserId}, {"mail", GetMail, nullptr},
      {"host", GetSocketHost, SetSocketHost}, {"port", GetSocketPort, SetSocketPort}});
  return props;
}

void PConnect(TJObject& self, TJValueList&, Value& result) {
  result = Value::Object(&self);
  TJBaseSocketObject::Guard("POP3.connect error", [&] { Pop3Of(self).Client().Connect(); });
}

void PDisconnect(TJObject& self, TJValueList&, Value& result) {
  result = Value::Object(&self);
  TJBaseSocketObject::Guard("POP3.disconnect error", [&] { Pop3Of(self).Client().Disconnect(); });
}

// getMail(index) and getSummary(index): the fetched message becomes the mail object's.
void Fetch(TJObject& self, TJValueList& params, Value& result, bool summary) {
  TJPOP3Object& pop3 = Pop3Of(self);
  const char* message = summary ? "POP3.getSummary" : "POP3.getMail";
  if (params.GetCount() < 1) TJBaseSocketObject::RaiseSocketError(message);
  const int index = ValueToInteger(params.GetValue(0));
  TJBaseSocketObject::Guard(message, [&] {
    if (summary) pop3.Client().GetSummary(index);
    else pop3.Client().GetMail(index);
  });
  if (auto* mail = static_cast<TJMailObject*>(pop3.Mail().object())) mail->CopyFrom(pop3.Client().Mail);
  result = pop3.Mail();
}
void PGetMail(TJObject& self, TJValueList& params, Value& result) { Fetch(self, params, result, false); }
void PGetSummary(TJObject& self, TJValueList& params, Value& result) { Fetch(self, params, result, true); }

void PDelete(TJObject& self, TJValueList& params, Value& result) {
  result = Value::Object(&self);
  if (params.GetCount() < 1) TJBaseSocketObject::RaiseSocketError("POP3.delete");
  const int index = ValueToInteger(params.GetValue(0));
  TJBaseSocketObject::Guard("POP3.delete", [&] { Pop3Of(self).Client().Delete(index); });
}

}  // namespace

TJPOP3Object::TJPOP3Object(BaseEngine* engine, const TJValueList* params)
    : TJBaseSocketObject(engine, Pop3Props()), mail_(NewHostObject<TJMailObject>(engine)) {
  SetObjectName("POP3");
  auto client = std::make_unique<TnPOP3>(kObjectSocketBufferSize);
  TakeHostAndPort(*client, params);
  client->OnSuccess = [this](TnPOP3&) { Fire("onSuccess"); };
  client->OnFailure = [this](TnPOP3&) { Fire("onFailure"); };
  TnPOP3* c = client.get();
  SetSocket(std::move(client), [c] {
    c->OnSuccess = nullptr;
    c->OnFailure = nullptr;
  });
  DefineEvents({"onStatus", "onConnect", "onDisconnect", "onError", "onFailure", "onRead", "onWrite", "onSuccess"});
}

const ClassInfo& TJPOP3Object::Class() const {
  static const ClassInfo info(&BaseClass(), {{"connect", PConnect}, {"open", PConnect},
      {"disconnect", PDisconnect}, {"close", PDisconnect}, {"getMail", PGetMail},
      {"getSummary", PGetSummary}, {"delete", PDelete}});
  return info;
}

void TJPOP3Object::OnKill() {
  TJBaseSocketObject::OnKill();
  mail_ = Value();
}

void RegisterPOP3Object(TJEngine& engine) {
  engine.RegisterObjectClass("POP3", [](BaseEngine* e, TJValueList* p) -> TJObject* { return new TJPOP3Object(e, p); });
}

}  // namespace kestrin::script
