// TJObject: the base of every script object: members, native methods from a shared class
// table, published properties, events, reference counting and weak holders.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <span>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "script/core/function.h"
#include "script/core/property_map.h"
#include "script/core/value.h"
#include "script/core/variant.h"
#include "script/core/weak.h"

namespace kestrin::script {

class BaseEngine;
class TJObjectFactory;
class PublishedProperties;

// Class membership answered by TJObject::ClassFlags (descendants included).
enum ClassFlag : uint32_t {
  kStringObjectClass = 1u << 0,
  kStringBufferClass = 1u << 1,
  kNumberObjectClass = 1u << 2,
  kRegExpObjectClass = 1u << 3,
  kVCLObjectClass = 1u << 4,
  kActiveXObjectClass = 1u << 5,
  kDateObjectClass = 1u << 6,
  kBooleanObjectClass = 1u << 7,
  kArrayObjectClass = 1u << 8,
  kPrototypeClass = 1u << 9,
};

// A set of value kinds (bit i = TJValueType i).
using KindSet = uint32_t;
constexpr KindSet KindBit(TJValueType t) { return 1u << t; }

struct MethodDef {
  const char* name;
  NativeMethod fn;
};

// The native methods of a class, shared by all its objects; includes those of the base.
// Define each as a function-local static so bases are built first.
class ClassInfo {
public:
  ClassInfo(const ClassInfo* base, std::initializer_list<MethodDef> methods)
      : ClassInfo(base, std::span<const MethodDef>(methods.begin(), methods.size())) {}
  // A table made at run time (a class whose methods come from a list of its own).
  ClassInfo(const ClassInfo* base, std::span<const MethodDef> methods);
  NativeMethod FindMethod(std::string_view name) const;
  const std::vector<std::pair<StrRef, NativeMethod>>& methods() const { return methods_; }

private:
  std::vector<std::pair<StrRef, NativeMethod>> methods_;
  std::unordered_map<std::string_view, size_t> index_;
  uint64_t length_bits_ = 0;  // bit min(length, 63) of every method name
  uint64_t first_bits_ = 0;   // bit (first byte & 63) of every method name
};

class TJObject : public RcHeader {
public:
  explicit TJObject(BaseEngine* engine = nullptr);
  TJObject(const TJObject&) = delete;
  TJObject& operator=(const TJObject&) = delete;
  virtual ~TJObject();

  // The base script methods: hasKey, hasOwnProperty, removeKey, toString, getKeys,
  // getProperties, getMethods, valueOf, getEvents.
  static const ClassInfo& BaseClass();
  // Native methods of this object's class; descendants return their own table.
  virtual const ClassInfo& Class() const { return BaseClass(); }
  virtual uint32_t ClassFlags() const { return 0; }
  // Published properties of the object, or nil.
  virtual PublishedProperties* Published() { return nullptr; }
  // Stores the class's constant members; run at construction and by Clear.
  virtual void RegisterConstants() {}

  virtual bool GetValueImpl(const StrRef& name, Value& out, const Value* param);
  virtual bool SetValueImpl(const StrRef& name, const Value& v, const Value* param);
  // Removes every member, then the class's methods and constants are back.
  virtual void Clear();
  virtual bool HasKey(const StrRef& name);
  virtual bool RemoveKey(const StrRef& name);
  // Raises "ENameError" (or "EKeyError" when array_style) with the name for a missing member.
  void GetValue(const StrRef& name, bool array_style, Value& out, const Value* param = nullptr);
  Value GetValue(const StrRef& name, bool array_style = false);
  virtual void SetValue(const StrRef& name, const Value& v, const Value* param = nullptr);
  virtual StrRef ToString(const Value* arg);
  virtual Value ValueOf();
  virtual double ToNumber() { return 0; }
  virtual bool ToBool() { return true; }
  virtual char ToChar() { return '\0'; }
  virtual bool Equal(TJObject* other) { return other == this; }
  // The object as an automation variant (String, Number, Boolean, Date, ActiveX objects).
  virtual bool ToVariant(Variant& /*out*/) { return false; }
  // Takes another primitive value, for a wrapper that only its engine holds (method calls
  // on primitive strings reuse one); false when the object cannot.
  virtual bool Rewrap(const Value& /*primitive*/) { return false; }
  virtual void GetPropertyNames(std::vector<StrRef>& out);
  virtual void GetMethodNames(std::vector<StrRef>& out);
  virtual void GetEventNames(std::vector<StrRef>& out);
  virtual bool IsCollection() { return false; }
  virtual int32_t GetCount() { return 0; }
  virtual void GetItem(int32_t index, Value& out);
  // Stores an element of a list object; false (nothing stored) for other objects.
  virtual bool SetItem(int32_t /*index*/, const Value& /*v*/) { return false; }
  // Brackets with one index on objects whose brackets address elements rather than
  // members (a StringBuffer's bytes): true when handled. By default o[k] is the member k.
  virtual bool GetElement(const StrRef& /*key*/, Value& /*out*/) { return false; }
  virtual bool SetElement(const StrRef& /*key*/, const Value& /*v*/) { return false; }
  // The value list of an Array (and its descendants); nil for every other object.
  virtual TJValueList* ListItems() { return nullptr; }
  // Run by the factory's clear before anything is freed: close files and sockets, free
  // owned native objects, and drop the values held in the descendant's own fields.
  virtual void OnKill() {}

  // Counting. A new object has count 0; values that name it hold counts. The object is
  // freed (through the release queue) when the count drops below 1.
  uint32_t IncRef() { return ++refs; }
  uint32_t DecRef();
  uint32_t RefCount() const { return refs; }
  bool Dead() const { return rc_flags & kRcDead; }
  // A killed object hands out a cell that already reads nil.
  WeakCell* WeakHandle() { return weak_.Cell(Dead() ? nullptr : this); }

  const StrRef& ClassName() const { return class_name_; }
  void SetObjectName(StrRef name) { class_name_ = std::move(name); }
  BaseEngine* Engine() const { return engine_.get(); }

  // A native method of this object alone (class methods come from Class()).
  void DefineMethod(const StrRef& name, NativeMethod fn);
  void DefineEvent(const StrRef& name);
  void StoreMember(const StrRef& name, const Value& v);
  void ClearMembers();
  void ClearDataMembers();
  // Removes the members whose kind is in `remove` (all kinds when 0) and not in `keep`.
  void RemoveMembers(KindSet remove, KindSet keep);
  // Member names (kinds in `include`, all when 0, minus `exclude`) in member-table order.
  void GetMemberNames(std::vector<StrRef>& out, KindSet include, KindSet exclude);
  bool HasPublishedProp(const StrRef& name);
  bool HasEventHandler(const StrRef& name);
  void CallEvent(const StrRef& prefix, const StrRef& name, Value& result, TJValueList* params);

  // Member table order: bucket (name hash mod 23), then the table's name order.
  static void SortMemberNames(std::vector<StrRef>& names);
  static constexpr uint32_t kMemberBuckets = 23;

protected:
  // Own member lookup (data members and methods), without published properties and
  // prototypes. Materialises a class method on first read so that o.m === o.m.
  bool FindOwnMember(const StrRef& name, Value& out);
  PropertyMap& members() { return members_; }

private:
  friend class TJObjectFactory;
  void Kill();
  bool LookupPrototype(const StrRef& name, Value& out);

  bool HidesClassMethods() const { return rc_flags & kRcHideClassMethods; }

  // Every script object pays for these fields, so the rare ones (events) sit behind a
  // pointer and the flags share the count's word.
  StrRef class_name_;
  PropertyMap members_;
  std::unique_ptr<std::vector<StrRef>> events_;
  WeakPtr<BaseEngine> engine_;
  WeakAnchor weak_;
  TJObjectFactory* factory_ = nullptr;  // set while the factory keeps the object
  TJObject* prev_ = nullptr;
  TJObject* next_ = nullptr;
};

// Counted handle for C++ holders of an object (host code, engine singletons).
template <class T>
class Ref {
public:
  Ref() = default;
  Ref(T* p) : p_(p) { if (p_) p_->IncRef(); }  // NOLINT
  Ref(const Ref& o) : Ref(o.p_) {}
  Ref(Ref&& o) noexcept : p_(o.p_) { o.p_ = nullptr; }
  Ref& operator=(Ref o) noexcept { T* t = p_; p_ = o.p_; o.p_ = t; return *this; }
  ~Ref() { if (p_) p_->DecRef(); }
  T* get() const { return p_ && !p_->Dead() ? p_ : nullptr; }
  T* operator->() const { return p_; }
  T& operator*() const { return *p_; }
  explicit operator bool() const { return get() != nullptr; }

private:
  T* p_ = nullptr;
};

// Release queue: objects and function records whose count reached 0 are freed in a loop
// by the outermost releaser, so long chains cannot overflow the stack.
void ReleaseObject(TJObject* obj);
// Function records go through the same queue: closures can chain them too.
void ReleaseFunction(IJFunction* fn);

}  // namespace kestrin::script
