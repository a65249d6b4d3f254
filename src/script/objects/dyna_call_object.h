// DynaCall: declares exported functions of shared libraries as script methods, sends and
// posts window messages to Kestrin's own windows, and copies and fills raw memory.
#pragma once

#include "platform/system/dynamic_library.h"
#include "script/core/hash_table.h"
#include "script/core/object.h"

namespace kestrin::script {

class TJEngine;

class TJDynaCall : public TJObject {
public:
  explicit TJDynaCall(BaseEngine* engine);
  const ClassInfo& Class() const override;
  void OnKill() override { modules_.Clear(); }

  // register(library, function [, options...]): the declared function becomes a member.
  void Register(const TJValueList& params);

private:
  // Libraries loaded by this object, by the name the script gave (without case).
  HashTable<platform::LibraryHandle> modules_{13, true};
};

// Registers "DynaCall" (with a global instance) and "Struct".
void RegisterDynaCallObjects(TJEngine& engine);

}  // namespace kestrin::script
