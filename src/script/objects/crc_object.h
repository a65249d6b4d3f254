// CRC: the CRC-16 and CRC-32 of a text or a file, kept in the object.
#pragma once

#include <cstdint>

#include "script/builtins/builtin_props.h"
#include "script/core/object.h"

namespace kestrin::script {

class TJEngine;

class TJCRCObject : public TJObject {
public:
  explicit TJCRCObject(BaseEngine* engine);
  const ClassInfo& Class() const override;
  PublishedProperties* Published() override { return &props_; }

  uint16_t crc16 = 0xFFFF;
  uint32_t crc32 = 0xFFFFFFFF;

private:
  PropTable props_;
};

// Registers "CRC".
void RegisterCRC(TJEngine& engine);

}  // namespace kestrin::script
