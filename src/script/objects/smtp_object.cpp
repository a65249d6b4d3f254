// "SMTP": login and sending the "Mail" object's message.
#include "script/objects/smtp_object.h"

#include <vector>

#include "script/core/engine.h"
#include "script/core/value_list.h"
#include "script/objects/mail_object.h"

namespace kestrin::script {
namespace {

TJSMTPObject& SmtpOf(TJObject& self) { return static_cast<TJSMTPObject&>(self); }

Value GetSmtpMail(TJObject& self) { return SmtpOf(self).Mail(); }

const std::vector<PropDef>& SmtpProps() {
  static const std::vector<PropDef> props = TJBaseSocketObject::WithBaseProps({{"mail", GetSmtpMail, nullptr},
      {"host", GetSocketHost, SetSocketHost}, {"port", GetSocketPort, SetSocketPort}});
  return props;
}

void SConnect(TJObject& self, TJValueList&, Value& result) {
  result = Value::Object(&self);
  TJBaseSocketObject::Guard("SMTP.connect error", [&] { SmtpOf(self).Client().Connect(); });
}

void SDisconnect(TJObject& self, TJValueList&, Value& result) {
  result = Value::Object(&self);
  TJBaseSocketObject::Guard("SMTP.disconnect error", [&] { SmtpOf(self).Client().Disconnect(); });
}

// sendMail(): the mail object's message, attachments included, goes out as the client's.
void SSendMail(TJObject& self, TJValueList&, Value& result) {
  result = Value::Object(&self);
  TJSMTPObject& smtp = SmtpOf(self);
  TJBaseSocketObject::Guard("SMTP.sendMail error", [&] {
    if (auto* mail = static_cast<TJMailObject*>(smtp.Mail().object())) mail->CopyTo(smtp.Client().Mail);
    smtp.Client().SendMail();
  });
}

}  // namespace

TJSMTPObject::TJSMTPObject(BaseEngine* engine, const TJValueList* params)
    : TJBaseSocketObject(engine, SmtpProps()), mail_(NewHostObject<TJMailObject>(engine)) {
  SetObjectName("SMTP");
  auto client = std::make_unique<TnSMTP>(kObjectSocketBufferSize);
  TakeHostAndPort(*client, params);
  SetSocket(std::move(client));
  DefineEvents({"onStatus", "onConnect", "onDisconnect", "onError", "onRead", "onWrite"});
}

const ClassInfo& TJSMTPObject::Class() const {
  static const ClassInfo info(&BaseClass(), {{"connect", SConnect}, {"open", SConnect},
      {"disconnect", SDisconnect}, {"close", SDisconnect}, {"sendMail", SSendMail}});
  return info;
}

void TJSMTPObject::OnKill() {
  TJBaseSocketObject::OnKill();
  mail_ = Value();
}

void RegisterSMTPObject(TJEngine& engine) {
  engine.RegisterObjectClass("SMTP", [](BaseEngine* e, TJValueList* p) -> TJObject* { return new TJSMTPObject(e, p); });
}

}  // namespace kestrin::script
