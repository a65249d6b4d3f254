// Mutex: a named mutex shared with other processes of the user (the global instance, made
// without a name, is private to itself).
#pragma once

#include <string>

#include "platform/system/named_mutex.h"
#include "script/builtins/builtin_props.h"
#include "script/core/object.h"

namespace kestrin::script {

class TJEngine;

class TJMutexObject : public TJObject {
public:
  TJMutexObject(BaseEngine* engine, const std::string& name);
  const ClassInfo& Class() const override;
  PublishedProperties* Published() override { return &props_; }
  platform::TMutex& Mutex() { return mutex_; }

private:
  platform::TMutex mutex_;
  PropTable props_;
};

// Registers "Mutex".
void RegisterMutex(TJEngine& engine);

}  // namespace kestrin::script
