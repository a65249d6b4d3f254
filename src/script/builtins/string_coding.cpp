// The String object's code conversions and crypt, over its held CP932 bytes.
#include "script/builtins/string_coding.h"

#include <string>
#include <string_view>

#include "script/builtins/crypt3.h"
#include "script/builtins/japanese_code.h"
#include "script/builtins/string_object.h"
#include "script/core/value_list.h"

namespace kestrin::script {
namespace {

std::string_view TextViewOf(TJObject& self) { return static_cast<TJStringObject&>(self).Text().view(); }

template <std::string (*Convert)(std::string_view)>
void Converted(TJObject& self, Value& result) {
  result = Value::String(StrRef(Convert(TextViewOf(self))));
}

void ToCode(TJObject& self, Value& result, int code) {
  result = Value::String(StrRef(ConvertJapanese(TextViewOf(self), code)));
}

}  // namespace

void SToJIS(TJObject& self, TJValueList&, Value& result) { ToCode(self, result, jcJIS); }
void SToSJIS(TJObject& self, TJValueList&, Value& result) { ToCode(self, result, jcSJIS); }
void SToEUC(TJObject& self, TJValueList&, Value& result) { ToCode(self, result, jcEUC); }
void SFromJISToSJIS(TJObject& self, TJValueList&, Value& result) { Converted<JISToSJIS>(self, result); }
void SFromJISToEUC(TJObject& self, TJValueList&, Value& result) { Converted<JISToEUC>(self, result); }
void SFromEUCToSJIS(TJObject& self, TJValueList&, Value& result) { Converted<EUCToSJIS>(self, result); }
void SFromEUCToJIS(TJObject& self, TJValueList&, Value& result) { Converted<EUCToJIS>(self, result); }
void SFromSJISToEUC(TJObject& self, TJValueList&, Value& result) { Converted<SJISToEUC>(self, result); }
void SFromSJISToJIS(TJObject& self, TJValueList&, Value& result) { Converted<SJISToJIS>(self, result); }

void SCrypt(TJObject& self, TJValueList& params, Value& result) {
  const StrRef salt = params.GetCount() > 0 ? ValueToString(params.GetValue(0)) : StrRef();
  result = Value::String(StrRef(TCrypt3().Crypt(TextViewOf(self), salt.view())));
}

}  // namespace kestrin::script
