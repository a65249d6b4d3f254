// Struct: definitions from "name:type" member texts, member reads and writes by kind, index access
// from either end, and the description text.
#include "script/objects/struct_object.h"

#include <cstring>
#include <string_view>

#include "base/convert.h"
#include "script/core/error_table.h"
#include "script/core/hash_table.h"
#include "script/core/number_text.h"
#include "script/core/value_list.h"

namespace kestrin::script {
namespace {

struct KindRow {
  char letter;
  StructKind kind;
  size_t size;
  const char* type_name;
};

// The member types on x86-64: pointers ("h", "p", "s", "w") take 8 bytes.
constexpr KindRow kKinds[] = {
    {'c', StructKind::Char, 1, "char"},      {'t', StructKind::Short, 2, "short"},
    {'h', StructKind::Long, 8, "long"},      {'l', StructKind::Long, 4, "long"},
    {'p', StructKind::Long, 8, "long"},      {'u', StructKind::Long, 4, "long"},
    {'i', StructKind::Int64, 8, "int64"},    {'b', StructKind::Bool, 4, "bool"},
    {'s', StructKind::String, 8, "string"},  {'w', StructKind::WideString, 8, "widestring"},
    {'f', StructKind::Float, 4, "float"},    {'d', StructKind::Double, 8, "double"},
};

std::string_view Trim(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
  return s;
}

// A decimal index, negative ones counting from the end.
bool MemberIndex(std::string_view name, int32_t count, int32_t& index) {
  bool negative = !name.empty() && name.front() == '-';
  if (negative) name.remove_prefix(1);
  if (name.empty() || name.size() > 9) return false;
  int32_t n = 0;
  for (char c : name) {
    if (c < '0' || c > '9') return false;
    n = n * 10 + (c - '0');
  }
  index = negative ? count - n : n;
  return index >= 0 && index < count;
}

template <class T>
T Load(const char* at) {
  T v;
  std::memcpy(&v, at, sizeof v);
  return v;
}

template <class T>
void Store(char* at, T v) {
  std::memcpy(at, &v, sizeof v);
}

TJStruct& StructOf(TJObject& self) { return static_cast<TJStruct&>(self); }

void SDefine(TJObject& self, TJValueList& params, Value& result) {
  StructOf(self).Define(params);
  result = Value::Object(&self);
}

void SClearStruct(TJObject& self, TJValueList&, Value& result) {
  StructOf(self).ClearStruct();
  result = Value::Object(&self);
}

void SSizeOf(TJObject& self, TJValueList&, Value& result) {
  result = Value::Integer(static_cast<int32_t>(StructOf(self).RecordSize()));
}

void SToString(TJObject& self, TJValueList&, Value& result) {
  result = Value::String(StructOf(self).Description());
}

}  // namespace

TJStruct::TJStruct(BaseEngine* engine) : TJObject(engine) { SetObjectName("Struct"); }

const ClassInfo& TJStruct::Class() const {
  static const ClassInfo info(&BaseClass(), {{"define", SDefine}, {"clear", SClearStruct}, {"sizeOf", SSizeOf},
                                             {"toString", SToString}});
  return info;
}

void TJStruct::Define(const TJValueList& member_texts) {
  if (member_texts.GetCount() == 0) RaiseError(ScriptError::StructNeedType);
  ClearStruct();
  std::vector<Member> defined;
  size_t total = 0;
  for (int32_t i = 0; i < member_texts.GetCount(); ++i) {
    std::string text = ValueToStdString(member_texts.GetValue(i));
    std::string_view whole(text);
    size_t colon = whole.find(':');
    bool named = colon != std::string_view::npos;
    std::string name(named ? Trim(whole.substr(0, colon)) : std::string_view());
    if (name.empty()) name = "__" + std::to_string(i);
    std::string type = LocaleLower(Trim(named ? whole.substr(colon + 1) : whole));
    if (type.empty()) RaiseError(ScriptError::StructNeedType);
    Member m{StrRef(name), StructKind::Chars, 0, total + 1, {}, {}};
    std::optional<int32_t> chars = ParseIntegerText(type);
    if (chars && *chars >= 1) {
      m.size = static_cast<size_t>(*chars);
    } else {
      const KindRow* row = nullptr;
      for (const KindRow& r : kKinds)
        if (r.letter == type[0]) row = &r;
      if (!row) RaiseError(ScriptError::StructMemberType);
      m.kind = row->kind;
      m.size = row->size;
    }
    total += m.size;
    if (total > kMaxStructBytes) RaiseError(ScriptError::StructTooLarge);
    defined.push_back(std::move(m));
  }
  // Committed whole: a bad member text leaves the Struct empty, never half defined.
  members_ = std::move(defined);
  for (const Member& m : members_) StoreMember(m.name, Value());
  buffer_.assign(total, '\0');
}

void TJStruct::ClearStruct() {
  for (const Member& m : members_) RemoveKey(m.name);
  members_.clear();
  buffer_.clear();
}

void TJStruct::OnKill() {
  members_.clear();
  buffer_.clear();
}

std::string TJStruct::Description() {
  std::string text;
  for (Member& m : members_) {
    std::string type;
    if (m.kind == StructKind::Chars) type = "char[" + std::to_string(m.size) + "]";
    else if (m.kind == StructKind::String && NativeRecordOf(StoredValue(m))) type = "struct";
    else
      for (const KindRow& r : kKinds)
        if (r.kind == m.kind) {
          type = r.type_name;
          break;
        }
    text += Format("%s : %s (%d)\r\n", {m.name.str(), type, static_cast<long>(m.size)});
  }
  text += std::string(24, '-') + "\r\n";
  text += Format("%dmembers / %dbytes", {static_cast<long>(members_.size()), static_cast<long>(buffer_.size())});
  return text;
}

StrRef TJStruct::ToString(const Value*) { return StrRef(std::string_view(buffer_)); }

TJStruct::Member* TJStruct::FindMember(const StrRef& name) {
  for (Member& m : members_)
    if (m.name == name) return &m;
  int32_t index;
  if (MemberIndex(name.view(), GetCount(), index)) return &members_[static_cast<size_t>(index)];
  return nullptr;
}

Value TJStruct::StoredValue(const Member& m) {
  Value v;
  return FindOwnMember(m.name, v) ? v : Value();
}

Value TJStruct::ReadMember(Member& m) {
  const char* at = buffer_.data() + m.offset - 1;
  switch (m.kind) {
    case StructKind::Chars: return Value::String(std::string_view(at, ::strnlen(at, m.size)));
    case StructKind::Char: return Value::Integer(Load<uint8_t>(at));
    case StructKind::Short: return Value::Integer(Load<int16_t>(at));
    case StructKind::Long: return m.size == 8 ? Int64ToValue(Load<int64_t>(at)) : Value::Integer(Load<int32_t>(at));
    case StructKind::Int64: return Value::Double(static_cast<double>(Load<int64_t>(at)));
    case StructKind::Bool: return Value::Bool(Load<int32_t>(at) != 0);
    case StructKind::String: {
      Value stored = StoredValue(m);
      if (NativeRecordOf(stored)) return stored;  // a nested record comes back as its object
      auto* text = Load<const char*>(at);
      return Value::String(text ? std::string_view(text) : std::string_view());
    }
    case StructKind::WideString: return Value::String(WideToCp932(Load<const wchar_t*>(at)));
    case StructKind::Float: return Value::Double(Load<float>(at));
    case StructKind::Double: return Value::Double(Load<double>(at));
  }
  return Value();
}

void TJStruct::WriteMember(Member& m, const Value& v) {
  char* at = buffer_.data() + m.offset - 1;
  switch (m.kind) {
    case StructKind::Chars: {
      // The text cut to size - 1 bytes and a NUL; the bytes after the NUL stay.
      std::string text = ValueToStdString(v);
      size_t n = std::min(text.size(), m.size - 1);
      std::memcpy(at, text.data(), n);
      at[n] = '\0';
      return;
    }
    case StructKind::Char: Store(at, static_cast<uint8_t>(ValueToIntegerArgument(v))); return;
    case StructKind::Short: Store(at, static_cast<int16_t>(ValueToIntegerArgument(v))); return;
    case StructKind::Long:
      if (m.size == 8) Store(at, ValueToInt64(v));
      else Store(at, static_cast<int32_t>(ValueToIntegerArgument(v)));
      return;
    case StructKind::Int64: Store(at, ValueToInt64(v)); return;
    case StructKind::Bool: Store(at, ValueToInteger(v)); return;
    case StructKind::String:
      m.kept = ValueToStdString(v);
      Store<const char*>(at, ValueIsNullOrUndefined(v) ? nullptr : m.kept.c_str());
      return;
    case StructKind::WideString:
      m.wide = Cp932ToWide(ValueToStdString(v));
      Store<const wchar_t*>(at, ValueIsNullOrUndefined(v) ? nullptr : m.wide.c_str());
      return;
    case StructKind::Float: Store(at, ValueToSingle(v)); return;
    case StructKind::Double: Store(at, ValueToNumber(v)); return;
  }
}

bool TJStruct::GetValueImpl(const StrRef& name, Value& out, const Value* param) {
  if (Member* m = FindMember(name)) {
    out = ReadMember(*m);
    return true;
  }
  return TJObject::GetValueImpl(name, out, param);
}

bool TJStruct::SetValueImpl(const StrRef& name, const Value& v, const Value* param) {
  Member* m = FindMember(name);
  if (!m) return TJObject::SetValueImpl(name, v, param);
  // The member's property goes with it: a script that removed it cannot write the member.
  Value ignored;
  if (!FindOwnMember(m->name, ignored)) RaiseError(ScriptError::StructMemberNotFound);
  WriteMember(*m, v);
  StoreMember(m->name, v);
  return true;
}

void TJStruct::GetItem(int32_t index, Value& out) {
  out = index >= 0 && index < GetCount() ? ReadMember(members_[static_cast<size_t>(index)]) : Value();
}

}  // namespace kestrin::script
