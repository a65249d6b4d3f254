// Strings: script views of string lists. TJBaseStringsObject shows a list owned elsewhere
// (a control's items); TJStringsObject ("new Strings(text)") owns a TStringList and adds
// sorting. Lines are CP932 script strings, stored as their bytes.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/classes/strings.h"
#include "script/builtins/builtin_props.h"
#include "script/core/object.h"

namespace kestrin::script {

class TJEngine;

class TJBaseStringsObject : public TJObject {
public:
  explicit TJBaseStringsObject(BaseEngine* engine);
  const ClassInfo& Class() const override;
  PublishedProperties* Published() override { return &props_; }
  // Attaches a list owned elsewhere (nil detaches); the object never frees it.
  void SetStrings(kgui::TStrings* list) { list_ = list; }
  kgui::TStrings* Strings() const { return list_; }
  // The attached list; "EStringsError" "strings is null" without one.
  kgui::TStrings& List() const;

  // list[i] reads and writes line i ("EIndexError" with the index outside the lines);
  // other names are members.
  bool GetValueImpl(const StrRef& name, Value& out, const Value* param) override;
  bool SetValueImpl(const StrRef& name, const Value& v, const Value* param) override;
  // The text form; with an argument every CR LF replaced by its text.
  StrRef ToString(const Value* arg) override;
  bool IsCollection() override { return true; }
  int32_t GetCount() override { return list_ ? list_->count() : 0; }
  void GetItem(int32_t index, Value& out) override;

protected:
  TJBaseStringsObject(BaseEngine* engine, std::span<const PropDef> props);

private:
  kgui::TStrings* list_ = nullptr;
  PropTable props_;
};

class TJStringsObject : public TJBaseStringsObject {
public:
  explicit TJStringsObject(BaseEngine* engine);
  const ClassInfo& Class() const override;
  kgui::TStringList& OwnList() { return *own_; }

private:
  std::unique_ptr<kgui::TStringList> own_;
};

// A new StringList object holding `lines`, kept by the engine's factory.
Value NewStringList(BaseEngine* engine, const std::vector<std::string>& lines = {});

// Registers "Strings".
void RegisterStrings(TJEngine& engine);

}  // namespace kestrin::script
