// "SMTP": sends the message a script composed in its "Mail" object.
#pragma once

#include "script/objects/net/smtp_client.h"
#include "script/objects/socket_object.h"

namespace kestrin::script {

class TJSMTPObject : public TJBaseSocketObject {
public:
  // new SMTP([host [, port]]).
  TJSMTPObject(BaseEngine* engine, const TJValueList* params);
  const ClassInfo& Class() const override;
  void OnKill() override;

  TnSMTP& Client() const { return static_cast<TnSMTP&>(Socket()); }
  const Value& Mail() const { return mail_; }

private:
  Value mail_;
};

void RegisterSMTPObject(class TJEngine& engine);

}  // namespace kestrin::script
