// Base64: each method takes one text; without it the method's own "EBase64Error".
#include "script/objects/base64_object.h"

#include "base/base64.h"
#include "script/builtins/japanese_code.h"
#include "script/core/engine.h"
#include "script/objects/object_support.h"

namespace kestrin::script {
namespace {

std::string Need(const TJValueList& params, ScriptError kind) {
  if (params.GetCount() < 1) RaiseError(kind);
  return ArgText(params, 0);
}

void BEncode(TJObject&, TJValueList& params, Value& result) {
  result = Value::String(EncodeBase64(Need(params, ScriptError::Base64Encode)));
}

void BDecode(TJObject&, TJValueList& params, Value& result) {
  result = Value::String(DecodeBase64(Need(params, ScriptError::Base64Decode)));
}

void BEncodeHeader(TJObject&, TJValueList& params, Value& result) {
  result = Value::String(EncodeMimeHeader(Need(params, ScriptError::Base64EncodeHeader)));
}

// The decoded words are JIS: the whole result comes back as Shift-JIS.
void BDecodeHeader(TJObject&, TJValueList& params, Value& result) {
  result = Value::String(JISToSJIS(DecodeMimeHeader(Need(params, ScriptError::Base64DecodeHeader))));
}

}  // namespace

TJBase64Object::TJBase64Object(BaseEngine* engine) : TJObject(engine) { SetObjectName("Base64"); }

const ClassInfo& TJBase64Object::Class() const {
  static const ClassInfo info(&TJObject::BaseClass(), {{"encode", BEncode}, {"decode", BDecode}, {"encodeHeader", BEncodeHeader}, {"decodeHeader", BDecodeHeader}});
  return info;
}

void RegisterBase64(TJEngine& engine) {
  engine.RegisterObjectClass("Base64", [](BaseEngine* e, TJValueList*) -> TJObject* { return new TJBase64Object(e); }, true);
}

}  // namespace kestrin::script
