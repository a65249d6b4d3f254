// One row per script class of the GUI wrappers: what a class adds to the level below it
// (script name, native class, methods, own properties, hooked events, collection access),
// and the one wrapper template that a row drives. A new script class is a new row.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "script/gui/vcl_wrapper.h"

namespace kestrin::script {

// The C++ wrapper a row's class extends; a row with a base row takes the base row's level.
enum class VCLLevel : uint8_t { Persistent, Component, Control, WinControl };

struct VCLClassDef {
  const char* script_name;                        // the object name scripts see ("VCLButton")
  const kgui::ClassInfo& (*native)();             // the native class it takes (descendants too)
  VCLLevel level = VCLLevel::WinControl;          // unused when base is set
  const VCLClassDef* base = nullptr;              // the script class it extends, or none
  std::span<const MethodDef> methods{};           // script methods added to the base's
  std::array<std::span<const PropDef>, 2> props{};  // own published properties, in order
  uint32_t events = 0;                            // the control events HookControlEvents hooks
  void (*hook)(TJVCLPersistent& w) = nullptr;     // the class's own bridges, after the events
  // A collection: obj[i], GetCount and GetItem; put makes obj[i] = v take a value.
  int32_t (*count)(TJVCLPersistent& w) = nullptr;
  void (*item)(TJVCLPersistent& w, int32_t index, Value& out) = nullptr;
  bool (*put)(TJVCLPersistent& w, int32_t index, const Value& v) = nullptr;
};

// The wrapper of a row, over the C++ level Base. The base rows' names, properties and
// hooks come first, as a class derived from them would have them.
template <class Base>
class TJVCLClass : public Base {
public:
  TJVCLClass(BaseEngine* engine, const VCLClassDef& def);
  const ClassInfo& Class() const override { return *class_; }
  const kgui::ClassInfo& VCLClass() const override { return def_.native(); }
  bool GetElement(const StrRef& key, Value& out) override;
  bool SetElement(const StrRef& key, const Value& v) override;
  bool IsCollection() override { return Collection() != nullptr; }
  int32_t GetCount() override;
  void GetItem(int32_t index, Value& out) override;

protected:
  void AfterAttach() override;

private:
  // The row of the chain that makes the class a collection, or null.
  const VCLClassDef* Collection() const;
  const VCLClassDef& def_;
  const ClassInfo* class_;
};

extern template class TJVCLClass<TJVCLPersistent>;
extern template class TJVCLClass<TJVCLComponent>;
extern template class TJVCLClass<TJVCLControl>;
extern template class TJVCLClass<TJVCLWinControl>;

// A new wrapper of the row's class, at its level.
TJVCLPersistent* NewVCLWrapper(BaseEngine* engine, const VCLClassDef& def);

template <const VCLClassDef& Def>
TJVCLPersistent* MakeVCLWrapper(BaseEngine* engine) {
  return NewVCLWrapper(engine, Def);
}

}  // namespace kestrin::script
