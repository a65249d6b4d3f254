// "Mail": one mail message for scripts: its headers as members, its text body, its raw
// header and body lines, and the list of attachment files.
#pragma once

#include "script/builtins/builtin_props.h"
#include "script/core/object.h"
#include "script/objects/net/mail_message.h"

namespace kestrin::script {

class TJMailObject : public TJObject {
public:
  explicit TJMailObject(BaseEngine* engine);
  const ClassInfo& Class() const override;
  PublishedProperties* Published() override { return &props_; }
  void OnKill() override { attachments_ = Value(); }
  // Own members and properties first, then the headers; assigning to a name that is not
  // an own member sets that header.
  bool GetValueImpl(const StrRef& name, Value& out, const Value* param) override;
  bool SetValueImpl(const StrRef& name, const Value& v, const Value* param) override;
  bool HasKey(const StrRef& name) override;
  void GetPropertyNames(std::vector<StrRef>& out) override;

  // The attachment list is the script's "Strings" object; these copy it into a message
  // about to go out, and take a fetched message's files into it.
  void CopyTo(TMailMessage& target);
  void CopyFrom(const TMailMessage& source);
  void Clear();

  TMailMessage& Message() { return message_; }
  const Value& Attachments() const { return attachments_; }

private:
  TMailMessage message_;
  Value attachments_;
  PropTable props_;
};

void RegisterMailObject(class TJEngine& engine);

}  // namespace kestrin::script
