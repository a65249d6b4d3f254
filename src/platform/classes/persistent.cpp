// Class information, property lookup by name and the form-file text of property values.
#include "platform/classes/persistent.h"

#include <charconv>

#include "platform/classes/type_tables.h"

namespace kgui {

static char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

int compareText(std::string_view a, std::string_view b) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    auto ca = static_cast<unsigned char>(lowerAscii(a[i]));
    auto cb = static_cast<unsigned char>(lowerAscii(b[i]));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool sameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && compareText(a, b) == 0;
}

ClassInfo::ClassInfo(std::string name, const ClassInfo* parent, std::vector<PropertyInfo> own)
    : name_(std::move(name)), parent_(parent), own_(std::move(own)) {}

std::vector<const PropertyInfo*> ClassInfo::properties() const {
  std::vector<const PropertyInfo*> out = parent_ ? parent_->properties()
                                                 : std::vector<const PropertyInfo*>{};
  for (const auto& p : own_) {
    // A class may republish an ancestor's property with another default: it keeps its place.
    bool replaced = false;
    for (auto& q : out)
      if (sameText(q->name, p.name)) { q = &p; replaced = true; }
    if (!replaced) out.push_back(&p);
  }
  return out;
}

const PropertyInfo* ClassInfo::findProperty(std::string_view name) const {
  for (const ClassInfo* c = this; c; c = c->parent_)
    for (const auto& p : c->own_)
      if (sameText(p.name, name)) return &p;
  return nullptr;
}

bool ClassInfo::inheritsFrom(std::string_view class_name) const {
  for (const ClassInfo* c = this; c; c = c->parent_)
    if (sameText(c->name_, class_name)) return true;
  return false;
}

const ClassInfo& TPersistent::staticClassInfo() {
  static const ClassInfo info("TPersistent", nullptr);
  return info;
}

const ClassInfo& TCollection::staticClassInfo() {
  static const ClassInfo info("TCollection", &TPersistent::staticClassInfo());
  return info;
}

void TPersistent::assign(const TPersistent& source) {
  throw EPropertyError("Cannot assign a " + source.className() + " to a " + className());
}

static const PropertyInfo& requireProperty(const TPersistent& obj, std::string_view name) {
  const PropertyInfo* p = obj.classInfo().findProperty(name);
  if (!p) throw EPropertyError("Property " + std::string(name) + " does not exist");
  return *p;
}

PropValue getProperty(const TPersistent& obj, std::string_view name) {
  return requireProperty(obj, name).get(obj);
}

void setProperty(TPersistent& obj, std::string_view name, const PropValue& value) {
  const PropertyInfo& p = requireProperty(obj, name);
  if (p.readOnly()) throw EPropertyError("Property " + p.name + " is read-only");
  p.set(obj, value);
}

bool hasProperty(const TPersistent& obj, std::string_view name) {
  return obj.classInfo().findProperty(name) != nullptr;
}

static int64_t ordOf(const PropValue& v) {
  if (auto* i = std::get_if<int64_t>(&v)) return *i;
  return 0;
}

static std::string quoteString(const std::string& s) {
  std::string out = "'";
  for (char c : s) {
    if (c == '\'') out += '\'';
    out += c;
  }
  return out + "'";
}

std::string propertyText(const TPersistent& obj, const PropertyInfo& prop) {
  PropValue v = prop.get(obj);
  switch (prop.kind) {
    case PropKind::Integer:
      if (prop.ident_map)
        if (auto id = intToIdent(*prop.ident_map, ordOf(v))) return *id;
      return std::to_string(ordOf(v));
    case PropKind::Char: {
      int64_t c = ordOf(v);
      if (c > 32 && c < 127) return quoteString(std::string(1, static_cast<char>(c)));
      return "#" + std::to_string(c);
    }
    case PropKind::Enumeration: return enumToText(*prop.type, ordOf(v));
    case PropKind::Set: return setToText(*prop.type, static_cast<uint32_t>(ordOf(v)));
    case PropKind::Float: {
      char buf[32];
      double d = std::holds_alternative<double>(v) ? std::get<double>(v) : 0.0;
      auto res = std::to_chars(buf, buf + sizeof buf, d);
      return std::string(buf, res.ptr);
    }
    case PropKind::String:
      return quoteString(std::holds_alternative<std::string>(v) ? std::get<std::string>(v) : "");
    case PropKind::Class: {
      auto* p = std::get_if<TPersistent*>(&v);
      return (p && *p) ? (*p)->className() : "nil";
    }
    case PropKind::Method: return "";
  }
  return "";
}

static std::optional<int64_t> parseInt(std::string_view t) {
  int64_t v = 0;
  while (!t.empty() && t.front() == ' ') t.remove_prefix(1);
  while (!t.empty() && t.back() == ' ') t.remove_suffix(1);
  if (!t.empty() && t.front() == '+') t.remove_prefix(1);
  auto [ptr, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
  if (ec != std::errc() || ptr != t.data() + t.size() || t.empty()) return std::nullopt;
  return v;
}

static std::string unquote(std::string_view t) {
  if (t.size() < 2 || t.front() != '\'' || t.back() != '\'') return std::string(t);
  std::string out;
  for (size_t i = 1; i + 1 < t.size(); ++i) {
    out += t[i];
    if (t[i] == '\'' && i + 2 < t.size() && t[i + 1] == '\'') ++i;
  }
  return out;
}

static int64_t ordinalFromText(const PropertyInfo& prop, std::string_view text) {
  std::optional<int64_t> v;
  switch (prop.kind) {
    case PropKind::Integer:
      v = parseInt(text);
      if (!v && prop.ident_map) v = identToInt(*prop.ident_map, text);
      break;
    case PropKind::Char:
      if (text.size() > 1 && text[0] == '#') v = parseInt(text.substr(1));
      else if (std::string s = unquote(text); s.size() == 1) v = static_cast<unsigned char>(s[0]);
      break;
    case PropKind::Enumeration:
      v = textToEnum(*prop.type, text);
      if (!v) v = parseInt(text);
      break;
    case PropKind::Set: v = textToSet(*prop.type, text); break;
    default: break;
  }
  if (!v) throw EPropertyError("Invalid property value " + std::string(text) + " for " + prop.name);
  return *v;
}

void setPropertyText(TPersistent& obj, const PropertyInfo& prop, std::string_view text) {
  if (prop.readOnly()) throw EPropertyError("Property " + prop.name + " is read-only");
  switch (prop.kind) {
    case PropKind::Float: {
      double d = 0;
      auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), d);
      if (ec != std::errc() || ptr != text.data() + text.size())
        throw EPropertyError("Invalid property value " + std::string(text) + " for " + prop.name);
      prop.set(obj, d);
      return;
    }
    case PropKind::String: prop.set(obj, unquote(text)); return;
    case PropKind::Class:
    case PropKind::Method:
      throw EPropertyError("Property " + prop.name + " cannot be set from text");
    default: prop.set(obj, ordinalFromText(prop, text)); return;
  }
}

bool isStoredProperty(const TPersistent& obj, const PropertyInfo& prop) {
  if (prop.kind == PropKind::Method) return false;
  if (prop.stored && !prop.stored(obj)) return false;
  if (prop.default_ord) return ordOf(prop.get(obj)) != *prop.default_ord;
  return true;
}

}  // namespace kgui
