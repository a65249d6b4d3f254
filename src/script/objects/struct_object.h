// Struct: a native record laid out in a byte buffer, members in declaration order without
// padding, read and written by name or index, handed to native code in place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "script/core/object.h"
#include "script/objects/native_call.h"

namespace kestrin::script {

class TJEngine;

// Largest record a definition may make.
inline constexpr size_t kMaxStructBytes = size_t{16} << 20;

enum class StructKind : uint8_t {
  Chars, Char, Short, Long, Int64, Bool, String, WideString, Float, Double
};

class TJStruct : public TJObject, public NativeRecord {
public:
  explicit TJStruct(BaseEngine* engine);
  const ClassInfo& Class() const override;
  bool GetValueImpl(const StrRef& name, Value& out, const Value* param) override;
  bool SetValueImpl(const StrRef& name, const Value& v, const Value* param) override;
  // Converted to a string, a Struct is its buffer.
  StrRef ToString(const Value* arg) override;
  bool IsCollection() override { return true; }
  int32_t GetCount() override { return static_cast<int32_t>(members_.size()); }
  void GetItem(int32_t index, Value& out) override;
  void OnKill() override;

  char* RecordData() override { return buffer_.data(); }
  size_t RecordSize() const override { return buffer_.size(); }

  // Replaces every member by the member texts "name:type"; raises "EStructError".
  void Define(const TJValueList& member_texts);
  // Removes the members and empties the buffer.
  void ClearStruct();
  // One line per member, a rule, and the totals.
  std::string Description();

private:
  struct Member {
    StrRef name;
    StructKind kind;
    size_t size;
    size_t offset;      // 1-based position in the buffer
    std::string kept;   // the text an "s" member points at
    std::wstring wide;  // the text a "w" member points at
  };
  Member* FindMember(const StrRef& name);
  Value ReadMember(Member& m);
  void WriteMember(Member& m, const Value& v);
  Value StoredValue(const Member& m);

  std::vector<Member> members_;
  std::string buffer_;
};

}  // namespace kestrin::script
