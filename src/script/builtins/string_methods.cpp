// The String methods: positions and searches by character, the HTML wrappers, Shift-JIS
// character codes, case, width and kana mapping, code-page conversions and trimming.
// Each native leaves its result undefined when a required argument is missing, unless its
// comment gives another default.
#include <algorithm>
#include <string>
#include <vector>

#include "base/cp932.h"
#include "script/builtins/cp932_chars.h"
#include "script/builtins/lcmap.h"
#include "script/builtins/mbcs.h"
#include "script/builtins/regexp_object.h"
#include "script/builtins/string_coding.h"
#include "script/builtins/string_object.h"
#include "script/core/error_table.h"
#include "script/core/value_list.h"

namespace kestrin::script {
namespace {

const StrRef& TextOf(TJObject& self) { return static_cast<TJStringObject&>(self).Text(); }

bool Has(const TJValueList& params, int32_t n) { return params.GetCount() >= n; }
int64_t IntArg(const TJValueList& params, int32_t i) { return ValueToInteger(params.GetValue(i)); }
StrRef TextArg(const TJValueList& params, int32_t i) { return ValueToString(params.GetValue(i)); }

Value Str(std::string_view s) { return Value::String(StrRef(s)); }

// ---- HTML wrappers ----

Value Wrapped(TJObject& self, std::string_view open, std::string_view close) {
  std::string out;
  out.append(open).append(TextOf(self).view()).append(close);
  return Str(out);
}

Value WrappedWith(TJObject& self, std::string_view tag, std::string_view attribute, const StrRef& value,
                  std::string_view close) {
  std::string open = "<";
  open.append(tag).append(" ").append(attribute).append("=\"").append(value.view()).append("\">");
  return Wrapped(self, open, close);
}

void SBig(TJObject& self, TJValueList&, Value& result) { result = Wrapped(self, "<BIG>", "</BIG>"); }
void SBlink(TJObject& self, TJValueList&, Value& result) { result = Wrapped(self, "<BLINK>", "</BLINK>"); }
void SBold(TJObject& self, TJValueList&, Value& result) { result = Wrapped(self, "<B>", "</B>"); }
void SFixed(TJObject& self, TJValueList&, Value& result) { result = Wrapped(self, "<TT>", "</TT>"); }
void SItalics(TJObject& self, TJValueList&, Value& result) { result = Wrapped(self, "<I>", "</I>"); }
void SSmall(TJObject& self, TJValueList&, Value& result) { result = Wrapped(self, "<SMALL>", "</SMALL>"); }
void SStrike(TJObject& self, TJValueList&, Value& result) { result = Wrapped(self, "<STRIKE>", "</STRIKE>"); }
void SSub(TJObject& self, TJValueList&, Value& result) { result = Wrapped(self, "<SUB>", "</SUB>"); }
void SSup(TJObject& self, TJValueList&, Value& result) { result = Wrapped(self, "<SUP>", "</SUP>"); }

void SAnchor(TJObject& self, TJValueList& params, Value& result) {
  if (Has(params, 1)) result = WrappedWith(self, "A", "NAME", TextArg(params, 0), "</A>");
}
void SLink(TJObject& self, TJValueList& params, Value& result) {
  if (Has(params, 1)) result = WrappedWith(self, "A", "HREF", TextArg(params, 0), "</A>");
}
void SFontColor(TJObject& self, TJValueList& params, Value& result) {
  if (Has(params, 1)) result = WrappedWith(self, "FONT", "COLOR", TextArg(params, 0), "</FONT>");
}
void SFontSize(TJObject& self, TJValueList& params, Value& result) {
  if (Has(params, 1)) result = WrappedWith(self, "FONT", "SIZE", TextArg(params, 0), "</FONT>");
}

// ---- characters and positions ----

// The character at index; "" out of range or without an argument.
void SCharAt(TJObject& self, TJValueList& params, Value& result) {
  result = Value::String(Has(params, 1) ? MbcsCharAt(TextOf(self), IntArg(params, 0) + 1) : StrRef());
}

// The Shift-JIS code of the character at index (lead byte * 256 + trail byte); NaN out
// of range or without an argument.
void SCharCodeAt(TJObject& self, TJValueList& params, Value& result) {
  result = Value::NaN();
  if (!Has(params, 1)) return;
  const StrRef c = MbcsCharAt(TextOf(self), IntArg(params, 0) + 1);
  if (c.empty()) return;
  size_t size = 0;
  result = Value::Integer(static_cast<int32_t>(Cp932CodeAt(c.view(), 0, size)));
}

void SFromCharCode(TJObject&, TJValueList& params, Value& result) {
  if (!Has(params, 1)) return;
  std::string out;
  for (int32_t i = 0; i < params.GetCount(); ++i) AppendCp932(out, static_cast<uint32_t>(IntArg(params, i)) & 0xFFFF);
  result = Str(out);
}

void SConcat(TJObject& self, TJValueList& params, Value& result) {
  if (!Has(params, 1)) return;
  StrRef out = TextOf(self);
  for (int32_t i = 0; i < params.GetCount(); ++i) out.Append(TextArg(params, i).view());
  result = Value::String(out);
}

void SIndexOf(TJObject& self, TJValueList& params, Value& result) {
  if (!Has(params, 1)) return;
  const int64_t from = Has(params, 2) ? IntArg(params, 1) + 1 : 1;
  result = Value::Integer(static_cast<int32_t>(MbcsPos(TextArg(params, 0), TextOf(self), from) - 1));
}

void SLastIndexOf(TJObject& self, TJValueList& params, Value& result) {
  if (!Has(params, 1)) return;
  const int64_t from = Has(params, 2) ? IntArg(params, 1) + 1 : 0;
  result = Value::Integer(static_cast<int32_t>(MbcsLastPos(TextArg(params, 0), TextOf(self), from) - 1));
}

// Negative positions count from the end; "" without an argument.
void SSlice(TJObject& self, TJValueList& params, Value& result) {
  if (!Has(params, 1)) {
    result = Str("");
    return;
  }
  const int64_t end = Has(params, 2) ? IntArg(params, 1) + 1 : kMbcsMax;
  result = Value::String(MbcsSlice(TextOf(self), IntArg(params, 0) + 1, end));
}

// A start below 0 counts as 0 (not from the end); "" without an argument.
void SSubstr(TJObject& self, TJValueList& params, Value& result) {
  if (!Has(params, 1)) {
    result = Str("");
    return;
  }
  const int64_t count = Has(params, 2) ? IntArg(params, 1) : kMbcsMax;
  result = Value::String(MbcsCopy(TextOf(self), IntArg(params, 0) + 1, count));
}

// The two positions in either order, each at least 0; "" without an argument.
void SSubstring(TJObject& self, TJValueList& params, Value& result) {
  if (!Has(params, 1)) {
    result = Str("");
    return;
  }
  const int64_t a = std::max<int64_t>(IntArg(params, 0) + 1, 1);
  const int64_t b = Has(params, 2) ? std::max<int64_t>(IntArg(params, 1) + 1, 1) : kMbcsMax;
  result = Value::String(MbcsCopy(TextOf(self), std::min(a, b), std::max(a, b) - std::min(a, b)));
}

void SReverse(TJObject& self, TJValueList&, Value& result) { result = Value::String(MbcsReverse(TextOf(self))); }

// The text n times; "" when it is empty, n is below 1 or missing.
void SMultiply(TJObject& self, TJValueList& params, Value& result) {
  const std::string_view text = TextOf(self).view();
  const int64_t n = Has(params, 1) ? IntArg(params, 0) : 0;
  if (text.empty() || n < 1) {
    result = Str("");
    return;
  }
  if (static_cast<uint64_t>(n) > kMaxStringBytes / text.size()) RaiseError(ScriptError::StringTooLong);
  std::string out;
  out.reserve(text.size() * static_cast<size_t>(n));
  for (int64_t i = 0; i < n; ++i) out.append(text);
  result = Str(out);
}

void SSizeOf(TJObject& self, TJValueList&, Value& result) {
  result = Value::Integer(static_cast<int32_t>(TextOf(self).size()));
}

// ---- comparison ----

// The characters of CP932 text as code points; bytes without one sort after every
// character, by their code.
std::vector<uint32_t> CodePoints(std::string_view s) {
  std::vector<uint32_t> out;
  ForEachCp932Char(s, [&](const Cp932Char& c) { out.push_back(c.mapped() ? c.code_point : 0x110000 + c.code); });
  return out;
}

// Letters without case first ("a" < "B"), lower case before upper case on a tie, other
// characters by code point.
int CompareText(std::string_view a, std::string_view b) {
  const std::vector<uint32_t> x = CodePoints(a), y = CodePoints(b);
  const size_t n = std::min(x.size(), y.size());
  for (size_t i = 0; i < n; ++i) {
    const uint32_t fx = LowerCodePoint(x[i]), fy = LowerCodePoint(y[i]);
    if (fx != fy) return fx < fy ? -1 : 1;
  }
  if (x.size() != y.size()) return x.size() < y.size() ? -1 : 1;
  for (size_t i = 0; i < n; ++i)
    if (x[i] != y[i]) return LowerCodePoint(x[i]) == x[i] ? -1 : 1;
  return 0;
}

void SLocaleCompare(TJObject& self, TJValueList& params, Value& result) {
  if (Has(params, 1)) result = Value::Integer(CompareText(TextOf(self).view(), TextArg(params, 0).view()));
}

// ---- case, width, kana and code pages ----

void SToLowerCase(TJObject& self, TJValueList&, Value& result) { result = Str(ToLowerText(TextOf(self).view())); }
void SToUpperCase(TJObject& self, TJValueList&, Value& result) { result = Str(ToUpperText(TextOf(self).view())); }
void SToZenkaku(TJObject& self, TJValueList&, Value& result) { result = Str(ToZenkaku(TextOf(self).view())); }
void SToHankaku(TJObject& self, TJValueList&, Value& result) { result = Str(ToHankaku(TextOf(self).view())); }
void SToHiragana(TJObject& self, TJValueList&, Value& result) { result = Str(ToHiragana(TextOf(self).view())); }
void SToKatakana(TJObject& self, TJValueList&, Value& result) { result = Str(ToKatakana(TextOf(self).view())); }
void SToUtf8(TJObject& self, TJValueList&, Value& result) { result = Str(kestrin::cp932_to_utf8(TextOf(self).view())); }
void SFromUtf8ToSjis(TJObject& self, TJValueList&, Value& result) {
  result = Str(kestrin::utf8_to_cp932(TextOf(self).view()));
}

// The UTF-16LE bytes of the whole text, without a terminator ("ab" gives 61 00 62 00);
// characters without a code point give "?".
void SToWide(TJObject& self, TJValueList&, Value& result) {
  const std::string_view s = TextOf(self).view();
  std::string out;
  out.reserve(s.size() * 2);
  ForEachCp932Char(s, [&](const Cp932Char& c) {
    const uint32_t unit = c.mapped() ? c.code_point : '?';
    out.push_back(static_cast<char>(unit & 0xFF));
    out.push_back(static_cast<char>(unit >> 8));
  });
  result = Str(out);
}

// ---- trimming: bytes up to and including the blank ----

bool IsBlankByte(char c) { return static_cast<unsigned char>(c) <= 32; }

std::string_view TrimLeft(std::string_view s) {
  while (!s.empty() && IsBlankByte(s.front())) s.remove_prefix(1);
  return s;
}

std::string_view TrimRight(std::string_view s) {
  while (!s.empty() && IsBlankByte(s.back())) s.remove_suffix(1);
  return s;
}

void STrim(TJObject& self, TJValueList&, Value& result) { result = Str(TrimRight(TrimLeft(TextOf(self).view()))); }
void STrimLeft(TJObject& self, TJValueList&, Value& result) { result = Str(TrimLeft(TextOf(self).view())); }
void STrimRight(TJObject& self, TJValueList&, Value& result) { result = Str(TrimRight(TextOf(self).view())); }

}  // namespace

// The regular-expression methods (match, replace, search, split) are in string_regexp.cpp;
// search gives the byte offset of its match, as the RegExp object's index does; every other
// position here counts characters. The code conversions and crypt are in string_coding.cpp.
const ClassInfo& TJStringObject::Class() const {
  static const ClassInfo info(&TJObject::BaseClass(),
      {{"charAt", SCharAt}, {"anchor", SAnchor}, {"big", SBig}, {"blink", SBlink}, {"bold", SBold},
       {"charCodeAt", SCharCodeAt}, {"concat", SConcat}, {"fixed", SFixed}, {"fontcolor", SFontColor},
       {"fontsize", SFontSize}, {"fromCharCode", SFromCharCode}, {"indexOf", SIndexOf},
       {"italics", SItalics}, {"lastIndexOf", SLastIndexOf}, {"link", SLink},
       {"match", StringMatch}, {"replace", StringReplace}, {"search", StringSearch}, {"slice", SSlice},
       {"small", SSmall}, {"split", StringSplit}, {"strike", SStrike}, {"sub", SSub}, {"substr", SSubstr},
       {"substring", SSubstring}, {"sup", SSup}, {"localeCompare", SLocaleCompare},
       {"reverse", SReverse}, {"multiply", SMultiply}, {"toLowerCase", SToLowerCase},
       {"toUpperCase", SToUpperCase}, {"toJIS", SToJIS}, {"toSJIS", SToSJIS}, {"toEUC", SToEUC},
       {"toWide", SToWide}, {"toUTF8", SToUtf8},
       {"toZenkaku", SToZenkaku}, {"toHankaku", SToHankaku}, {"toHiragana", SToHiragana},
       {"toKatakana", SToKatakana}, {"fromJIStoSJIS", SFromJISToSJIS}, {"fromJIStoEUC", SFromJISToEUC},
       {"fromEUCtoSJIS", SFromEUCToSJIS}, {"fromEUCtoJIS", SFromEUCToJIS},
       {"fromSJIStoEUC", SFromSJISToEUC}, {"fromSJIStoJIS", SFromSJISToJIS},
       {"fromUTF8toSJIS", SFromUtf8ToSjis}, {"crypt", SCrypt}, {"trim", STrim},
       {"trimLeft", STrimLeft}, {"trimRight", STrimRight}, {"sizeOf", SSizeOf}});
  return info;
}

}  // namespace kestrin::script
