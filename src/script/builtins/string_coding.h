// String methods of Japanese code conversion and Unix crypt, joined into the String
// object's method table: toJIS, toSJIS and toEUC from the detected code, the six pairwise
// conversions, and crypt.
#pragma once

#include "script/core/object.h"

namespace kestrin::script {

void SToJIS(TJObject& self, TJValueList& params, Value& result);
void SToSJIS(TJObject& self, TJValueList& params, Value& result);
void SToEUC(TJObject& self, TJValueList& params, Value& result);
void SFromJISToSJIS(TJObject& self, TJValueList& params, Value& result);
void SFromJISToEUC(TJObject& self, TJValueList& params, Value& result);
void SFromEUCToSJIS(TJObject& self, TJValueList& params, Value& result);
void SFromEUCToJIS(TJObject& self, TJValueList& params, Value& result);
void SFromSJISToEUC(TJObject& self, TJValueList& params, Value& result);
void SFromSJISToJIS(TJObject& self, TJValueList& params, Value& result);
// The crypt(3) hash of the string with the salt S(salt), "" without one.
void SCrypt(TJObject& self, TJValueList& params, Value& result);

}  // namespace kestrin::script
