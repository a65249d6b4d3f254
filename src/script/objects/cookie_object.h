// "Cookie": the cookies of one response (or made by a script) with their domain, path and
// expiry; each cookie name is also a member of the object.
#pragma once

#include "script/builtins/builtin_props.h"
#include "script/core/object.h"
#include "script/objects/net/cookie.h"

namespace kestrin::script {

class TJCookieObject : public TJObject {
public:
  explicit TJCookieObject(BaseEngine* engine);
  const ClassInfo& Class() const override;
  PublishedProperties* Published() override { return &props_; }
  // Own members and properties first ("path", "parse"), then the cookie names.
  bool GetValueImpl(const StrRef& name, Value& out, const Value* param) override;
  bool SetValueImpl(const StrRef& name, const Value& v, const Value* param) override;
  bool HasKey(const StrRef& name) override;
  bool RemoveKey(const StrRef& name) override;
  void GetPropertyNames(std::vector<StrRef>& out) override;
  StrRef ToString(const Value*) override { return StrRef(cookie_.ToString()); }

  TCookie& Cookie() { return cookie_; }

private:
  TCookie cookie_;
  PropTable props_;
};

void RegisterCookieObject(class TJEngine& engine);

}  // namespace kestrin::script
