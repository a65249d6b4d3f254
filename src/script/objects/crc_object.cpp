// CRC: each call starts afresh; CRC32 reads as a signed 32-bit number.
#include "script/objects/crc_object.h"

#include "script/builtins/crc.h"
#include "script/builtins/script_path.h"
#include "script/core/engine.h"
#include "script/objects/object_support.h"

namespace kestrin::script {
namespace {

TJCRCObject& CrcOf(TJObject& self) { return static_cast<TJCRCObject&>(self); }

void CCalc(TJObject& self, TJValueList& params, Value& result) {
  if (params.GetCount() < 1) RaiseError(ScriptError::CrcCalc);
  TJCRCObject& crc = CrcOf(self);
  CalcStringCRC(crc.crc16, crc.crc32, ValueToString(params.GetValue(0)).view());
  result = Value::Object(&self);
}

void CCalcFile(TJObject& self, TJValueList& params, Value& result) {
  TJCRCObject& crc = CrcOf(self);
  if (params.GetCount() < 1 || !CalcFileCRC(ScriptPathToOs(ArgText(params, 0)), crc.crc16, crc.crc32))
    RaiseError(ScriptError::CrcCalcFile);
  result = Value::Object(&self);
}

Value GetCrc16(TJObject& self) { return Value::Integer(CrcOf(self).crc16); }
Value GetCrc32(TJObject& self) { return Value::Integer(static_cast<int32_t>(CrcOf(self).crc32)); }

constexpr PropDef kCrcProps[] = {{"CRC16", GetCrc16, nullptr}, {"CRC32", GetCrc32, nullptr}};

}  // namespace

TJCRCObject::TJCRCObject(BaseEngine* engine) : TJObject(engine), props_(*this, kCrcProps) { SetObjectName("CRC"); }

const ClassInfo& TJCRCObject::Class() const {
  static const ClassInfo info(&TJObject::BaseClass(), {{"calc", CCalc}, {"calcFile", CCalcFile}});
  return info;
}

void RegisterCRC(TJEngine& engine) {
  engine.RegisterObjectClass("CRC", [](BaseEngine* e, TJValueList*) -> TJObject* { return new TJCRCObject(e); }, true);
}

}  // namespace kestrin::script
