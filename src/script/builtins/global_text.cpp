// The Global object's percent coding (escape, unescape and the URI functions) and its
// formatting (format, sprintf, printf, printfln, formatFloat) through base's Format.
#include <string>
#include <vector>

#include "base/convert.h"
#include "base/url_coding.h"
#include "script/builtins/global_natives.h"
#include "script/builtins/number_object.h"
#include "script/core/error_table.h"
#include "script/core/value_list.h"

namespace kestrin::script {
namespace {

using Coding = std::string (*)(std::string_view);

template <Coding coding>
void Code(TJValueList& params, Value& result) {
  if (params.GetCount() > 0) result = Value::String(coding(ValueToString(params.GetValue(0)).view()));
}

// The script's arguments from `first` on as Format entries: integers and doubles as
// themselves, every other kind as its text. The caller's list is left as it is.
std::vector<FormatArg> FormatArgs(const TJValueList& params, int32_t first) {
  std::vector<FormatArg> args;
  for (int32_t i = first; i < params.GetCount(); ++i) {
    const Value v = params.GetValue(i);
    if (v.type() == vtInteger) args.emplace_back(v.integer());
    else if (v.type() == vtDouble) args.emplace_back(v.dbl());
    else args.emplace_back(ValueToStdString(v));
  }
  return args;
}

// Format(fmt, args...); a formatting failure raises "EConvertError" with its message.
bool Formatted(TJValueList& params, std::string& out) {
  if (params.GetCount() == 0) return false;
  const StrRef fmt = ValueToString(params.GetValue(0));
  try {
    out = Format(fmt.view(), FormatArgs(params, 1));
  } catch (const ConversionError& e) {
    RaiseError(ScriptError::Convert, {e.what()});
  }
  return true;
}

void PrintFormatted(TJObject& self, TJValueList& params, Value& result, bool line) {
  std::string out;
  if (!Formatted(params, out)) return;
  result = Value::String(out);
  if (line) out += "\r\n";
  WriteOutput(self, out);
}

}  // namespace

void GEscape(TJObject&, TJValueList& params, Value& result) { Code<EscapeString>(params, result); }
void GUnescape(TJObject&, TJValueList& params, Value& result) { Code<UnescapeString>(params, result); }
void GDecodeURI(TJObject&, TJValueList& params, Value& result) { Code<DecodeURI>(params, result); }
void GDecodeURIComponent(TJObject&, TJValueList& params, Value& result) { Code<DecodeURIComponent>(params, result); }
void GEncodeURI(TJObject&, TJValueList& params, Value& result) { Code<EncodeURI>(params, result); }
void GEncodeURIComponent(TJObject&, TJValueList& params, Value& result) { Code<EncodeURIComponent>(params, result); }

void GFormat(TJObject&, TJValueList& params, Value& result) {
  std::string out;
  if (Formatted(params, out)) result = Value::String(out);
}

void GPrintf(TJObject& self, TJValueList& params, Value& result) { PrintFormatted(self, params, result, false); }
void GPrintfln(TJObject& self, TJValueList& params, Value& result) { PrintFormatted(self, params, result, true); }

void GFormatFloat(TJObject&, TJValueList& params, Value& result) {
  if (params.GetCount() < 2) return;
  const StrRef picture = ValueToString(params.GetValue(0));
  try {
    result = Value::String(FormatFloat(picture.view(), NumberOf(params.GetValue(1))));
  } catch (const ConversionError& e) {
    RaiseError(ScriptError::Convert, {e.what()});
  }
}

}  // namespace kestrin::script
