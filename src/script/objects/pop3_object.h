// "POP3": fetches and deletes messages of a mailbox; each fetch fills its "Mail" object.
#pragma once

#include "script/objects/net/pop3_client.h"
#include "script/objects/socket_object.h"

namespace kestrin::script {

class TJPOP3Object : public TJBaseSocketObject {
public:
  // new POP3([host [, port]]).
  TJPOP3Object(BaseEngine* engine, const TJValueList* params);
  const ClassInfo& Class() const override;
  void OnKill() override;

  TnPOP3& Client() const { return static_cast<TnPOP3&>(Socket()); }
  const Value& Mail() const { return mail_; }

private:
  Value mail_;
};

void RegisterPOP3Object(class TJEngine& engine);

}  // namespace kestrin::script
