// The GUI wrappers' common machinery: a script object bound to one object of the GUI class
// library, its published properties seen through the native descriptors, the caster that
// finds or makes the one wrapper of a native object, and the errors every wrapper raises.
#pragma once

#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "platform/classes/component.h"
#include "script/builtins/builtin_props.h"
#include "script/core/object.h"
#include "script/core/published.h"

namespace kgui {
struct TPoint;
struct TRect;
class TControl;
class TWinControl;
class TStrings;
}  // namespace kgui

namespace kestrin::script {

class TJVCLPersistent;

// The native object's published properties (events excepted), converted for scripts:
// ordinals as numbers, enumerations as identifiers ("True"/"False" as booleans), sets as
// "a,b", text as CP932, sub-objects and references as wrappers. Names match without case.
class VCLNativeProps : public PublishedProperties {
public:
  explicit VCLNativeProps(TJVCLPersistent& owner) : owner_(owner) {}
  void ListNames(std::vector<StrRef>& out, bool events) override;
  bool Has(std::string_view name) override;
  bool Get(std::string_view name, Value& out) override;
  // Raises "EVCLError" for a read-only property or a value the property cannot take.
  bool Set(std::string_view name, const Value& v) override;
  void ClearEvents() override;

private:
  TJVCLPersistent& owner_;
};

// The wrapper's own published properties: the tables of each class level, searched from
// the most derived. Writing a read-only one raises "EVCLError".
class VCLOwnProps : public PublishedProperties {
public:
  explicit VCLOwnProps(TJVCLPersistent& owner) : owner_(owner) {}
  void Add(std::span<const PropDef> defs) { tables_.push_back(defs); }
  void ListNames(std::vector<StrRef>& out, bool events) override;
  bool Has(std::string_view name) override { return Find(name) != nullptr; }
  bool Get(std::string_view name, Value& out) override;
  bool Set(std::string_view name, const Value& v) override;

private:
  const PropDef* Find(std::string_view name) const;
  TJVCLPersistent& owner_;
  std::vector<std::span<const PropDef>> tables_;
};

class TJVCLPersistent : public TJObject {
public:
  explicit TJVCLPersistent(BaseEngine* engine);
  ~TJVCLPersistent() override;
  const ClassInfo& Class() const override;
  uint32_t ClassFlags() const override { return kVCLObjectClass; }
  PublishedProperties* Published() override { return &own_; }
  // Own published properties, members and the class prototype first, then the native
  // published properties.
  bool GetValueImpl(const StrRef& name, Value& out, const Value* param) override;
  bool SetValueImpl(const StrRef& name, const Value& v, const Value* param) override;
  bool HasKey(const StrRef& name) override;
  // The native published properties, then the wrapper's own.
  void GetPropertyNames(std::vector<StrRef>& out) override;
  void OnKill() override { DetachVCL(); }

  // The native class the wrapper takes (descendants included).
  virtual const kgui::ClassInfo& VCLClass() const;
  // Binds obj (freed with the wrapper when owns); false, with nothing bound, for nil or an
  // object of another class.
  virtual bool AttachVCL(kgui::TPersistent* obj, bool owns);
  // Forgets the native object, freeing it when owned.
  virtual void DetachVCL();
  bool HasVCL() const { return vcl_ != nullptr; }
  kgui::TPersistent* VCL() const { return vcl_; }
  bool Owns() const { return owns_; }
  // "VCL is null" without a native object; "arguments error" with fewer than min_count.
  void CheckVCL(const TJValueList& params, int32_t min_count = 0);
  [[noreturn]] void RaiseVCLError(std::string_view message);
  [[noreturn]] void RaiseArgumentsError() { RaiseVCLError("arguments error"); }
  // A native object as a script value: a component's one wrapper; another object (a
  // font, a string list) gets a wrapper kept for it while this wrapper is bound.
  Value WrapNative(kgui::TPersistent* obj);

protected:
  // The wrapper's own published properties of one class level.
  void AddOwnProps(std::span<const PropDef> defs) { own_.Add(defs); }
  // Hooks the native events to the script handlers, after every attach.
  virtual void AfterAttach() {}
  kgui::TPersistent* vcl_ = nullptr;
  bool owns_ = false;
  VCLNativeProps native_;

private:
  struct Kept;
  void ReleaseKept();
  VCLOwnProps own_;
  std::vector<std::unique_ptr<Kept>> kept_;  // never consulted by look-up
};

class TJVCLComponent;

// Told when the bound component is destroyed.
class TJVCLNotify : public kgui::TComponent {
public:
  explicit TJVCLNotify(TJVCLComponent& wrapper) : kgui::TComponent(nullptr), wrapper_(wrapper) {}

protected:
  void notification(kgui::TComponent* c, kgui::Operation op) override;

private:
  TJVCLComponent& wrapper_;
};

class TJVCLComponent : public TJVCLPersistent {
public:
  explicit TJVCLComponent(BaseEngine* engine);
  ~TJVCLComponent() override;
  const ClassInfo& Class() const override;
  const kgui::ClassInfo& VCLClass() const override;
  // A wrapper made for an existing component holds a count from its link, so every
  // reference reaches the same wrapper (and its handlers) while the component lives.
  bool AttachVCL(kgui::TPersistent* obj, bool owns) override;
  void DetachVCL() override;
  // The named components owned by the native component come after the inherited look-up.
  bool GetValueImpl(const StrRef& name, Value& out, const Value* param) override;
  bool HasKey(const StrRef& name) override;
  void GetPropertyNames(std::vector<StrRef>& out) override;
  // The published native events, "On" made "on".
  void GetEventNames(std::vector<StrRef>& out) override;
  kgui::TComponent* Component() const { return static_cast<kgui::TComponent*>(vcl_); }
  // Fills the child table: name to wrapper of each named owned component.
  void RegisterChildren();
  // The native component was destroyed elsewhere.
  void NativeFreed();

private:
  TJVCLNotify notify_{*this};
  std::vector<std::pair<StrRef, Value>> children_;
  bool link_counted_ = false;
};

class TJVCLControl : public TJVCLComponent {
public:
  explicit TJVCLControl(BaseEngine* engine);
  const ClassInfo& Class() const override;
  const kgui::ClassInfo& VCLClass() const override;
  kgui::TControl* Control() const;
};

class TJVCLWinControl : public TJVCLControl {
public:
  explicit TJVCLWinControl(BaseEngine* engine);
  const ClassInfo& Class() const override;
  const kgui::ClassInfo& VCLClass() const override;
  void GetEventNames(std::vector<StrRef>& out) override;
  kgui::TWinControl* WinControl() const;
};

// ---- The caster ----

// Makes a wrapper for a native object, or nil when the function does not know its class.
using VCLCasterFn = TJVCLPersistent* (*)(kgui::TPersistent* obj, BaseEngine* engine);

// One row of the default caster: the native class (descendants included) and the wrapper.
struct VCLCastRow {
  const kgui::ClassInfo& (*native)();
  TJVCLPersistent* (*make)(BaseEngine* engine);
};

// The rows of the default caster, every descendant before its ancestor.
std::span<const VCLCastRow> DefaultVCLCastRows();
TJVCLPersistent* DefaultVCLCaster(kgui::TPersistent* obj, BaseEngine* engine);

// The caster list, tried from the last added to the first; the default caster first.
int32_t AddVCLCaster(VCLCasterFn fn);
// A component's bound wrapper when it has one; else a new wrapper (bound without
// ownership) from the caster functions; null for nil or a class no caster knows.
Value CastVCL(kgui::TPersistent* obj, BaseEngine* engine);

// The wrapper of a script value, when it is a bound wrapper whose native object is of
// class T (descendants included); nil otherwise.
template <class T>
T* NativeOf(const Value& v) {
  auto* w = dynamic_cast<TJVCLPersistent*>(v.object());
  return w ? dynamic_cast<T*>(w->VCL()) : nullptr;
}

// The wrapper a script method runs on, as its class.
template <class T>
T& Self(TJObject& self) {
  return static_cast<T&>(self);
}

// The bound native object of a method's wrapper, after CheckVCL.
template <class N>
N& NativeOfSelf(TJVCLPersistent& w, const TJValueList& params, int32_t min_count = 0) {
  w.CheckVCL(params, min_count);
  return *static_cast<N*>(w.VCL());
}

// obj[i] of a wrapper that is a collection: its item i; false for a key that is no index.
bool GetIndexedElement(TJObject& obj, const StrRef& key, Value& out);

// A new Point object holding p.
Value NewPointValue(BaseEngine* engine, const kgui::TPoint& p);
// A new Rect object holding r.
Value NewRectValue(BaseEngine* engine, const kgui::TRect& r);

// A 32-bit handle (window handle, menu command) as a script number: an integer while it fits.
Value HandleValue(uint32_t h);
// An enumeration argument: its identifier (without case) or its ordinal; nullopt for neither.
std::optional<int> EnumArg(const kgui::EnumInfo& type, const Value& v);

// Frees the native objects whose freeing waited for a running handler to return.
void FlushDeferredNatives();

// ---- Errors of handlers run by Qt ----

// Keeps the first error of a script handler run from a native event (nothing may cross
// Qt's dispatch); the loops that run events raise it.
void KeepVCLPendingError(std::exception_ptr error);
bool HasVCLPendingError();
// Raises the kept error, unchanged, and forgets it; nothing when there is none.
void RaiseVCLPendingError();
// Called when an error is kept: ends a modal loop that is waiting for the form.
void SetVCLPendingErrorListener(void (*listener)());

// Runs f, the work of a script method, after CheckVCL: a native exception, a script error
// (of a handler the call ran) becomes "EVCLError" "<class> - <message>"; exit, abort and
// the other control-flow signals pass unchanged.
void VCLGuardImpl(TJVCLPersistent& w, void (*call)(void*), void* data);
template <class F>
void VCLGuard(TJVCLPersistent& w, F&& f) {
  VCLGuardImpl(w, [](void* d) { (*static_cast<std::remove_reference_t<F>*>(d))(); }, &f);
}

}  // namespace kestrin::script
