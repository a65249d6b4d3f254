// Enumeration and set conversions of published properties.
#include "script/core/published.h"

#include "script/core/hash_table.h"

namespace kestrin::script {

namespace {
bool SameText(std::string_view a, std::string_view b) { return LocaleLower(a) == LocaleLower(b); }
}  // namespace

Value EnumOrdToValue(const std::vector<std::string>& names, int32_t ord) {
  if (ord < 0 || static_cast<size_t>(ord) >= names.size()) return Value::Integer(ord);
  const std::string& n = names[static_cast<size_t>(ord)];
  if (SameText(n, "true")) return Value::Bool(true);
  if (SameText(n, "false")) return Value::Bool(false);
  return Value::String(n);
}

std::optional<int32_t> ValueToEnumOrd(const std::vector<std::string>& names, const Value& v) {
  TJValueType t = v.type();
  if (t == vtInteger || t == vtDouble || t == vtBool) {
    int32_t ord = ValueToInteger(v);
    if (ord >= 0 && static_cast<size_t>(ord) < names.size()) return ord;
    return std::nullopt;
  }
  std::string text = ValueToStdString(v);
  for (size_t i = 0; i < names.size(); ++i)
    if (SameText(names[i], text)) return static_cast<int32_t>(i);
  return std::nullopt;
}

std::string SetOrdToNames(const std::vector<std::string>& names, uint32_t bits) {
  std::string out;
  for (size_t i = 0; i < names.size() && i < 32; ++i) {
    if (!(bits & (1u << i))) continue;
    if (!out.empty()) out += ",";
    out += names[i];
  }
  return out;
}

uint32_t NamesToSetOrd(const std::vector<std::string>& names, std::string_view text, int set_size) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '[')) ++i;
  uint32_t bits = 0;
  while (i < text.size()) {
    size_t j = i;
    while (j < text.size() && text[j] != ' ' && text[j] != ',' && text[j] != ']') ++j;
    std::string_view word = text.substr(i, j - i);
    for (size_t k = 0; k < names.size() && k < 32; ++k)
      if (!word.empty() && SameText(names[k], word)) bits |= 1u << k;
    i = j + 1;
  }
  if (set_size == 1) return bits & 0xFFu;
  if (set_size == 2) return bits & 0xFFFFu;
  return bits;
}

}  // namespace kestrin::script
