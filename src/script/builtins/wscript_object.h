// WScript: the host-environment object of a Windows script host: the run's arguments split
// into named (/name:value) and unnamed ones, the three standard streams, Echo, object
// creation, Quit and Sleep. The engine reaches it as its WScriptSingleton.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "script/builtins/array_object.h"
#include "script/builtins/builtin_props.h"
#include "script/core/object.h"
#include "script/core/singletons.h"

namespace kestrin::script {

class TJEngine;

// The array's own properties (`length`) followed by those of a descendant.
class ArrayPropTable : public PublishedProperties {
public:
  ArrayPropTable(TJObject& self, std::span<const PropDef> defs, PublishedProperties& base)
      : own_(self, defs), base_(base) {}
  void ListNames(std::vector<StrRef>& out, bool events) override;
  bool Has(std::string_view name) override { return own_.Has(name) || base_.Has(name); }
  bool Get(std::string_view name, Value& out) override { return own_.Get(name, out) || base_.Get(name, out); }
  bool Set(std::string_view name, const Value& v) override { return own_.Set(name, v) || base_.Set(name, v); }

private:
  PropTable own_;
  PublishedProperties& base_;
};

// The named arguments as string members; only those count and are listed as properties.
class TJWshNamedObject : public TJObject {
public:
  explicit TJWshNamedObject(BaseEngine* engine);
  const ClassInfo& Class() const override;
  PublishedProperties* Published() override { return &props_; }
  void GetPropertyNames(std::vector<StrRef>& out) override;
  int32_t StringCount();

private:
  PropTable props_;
};

// The unnamed arguments.
class TJWshUnnamedObject : public TJArrayObject {
public:
  explicit TJWshUnnamedObject(BaseEngine* engine);
  const ClassInfo& Class() const override;
  PublishedProperties* Published() override { return &props_; }

private:
  ArrayPropTable props_;
};

// All arguments, with the Named and Unnamed collections.
class TJWshArgumentsObject : public TJArrayObject {
public:
  explicit TJWshArgumentsObject(BaseEngine* engine);
  const ClassInfo& Class() const override;
  PublishedProperties* Published() override { return &props_; }
  // Replaces every argument: `items`, or the process's parameters after the first when
  // there are none; strings holding /name:value become named, the rest unnamed.
  void Fill(const TJValueList& items);
  // No arguments at all.
  void Empty();
  TJWshNamedObject& Named() { return *named_; }
  TJWshUnnamedObject& Unnamed() { return *unnamed_; }

private:
  Ref<TJWshNamedObject> named_;
  Ref<TJWshUnnamedObject> unnamed_;
  ArrayPropTable props_;
};

class TJWshBaseStreamObject : public TJObject {
public:
  explicit TJWshBaseStreamObject(BaseEngine* engine);
  const ClassInfo& Class() const override;
  PublishedProperties* Published() override { return &props_; }

protected:
  TJWshBaseStreamObject(BaseEngine* engine, std::span<const PropDef> props);

private:
  PropTable props_;
};

// Reads through its input handler: (text, count or -1, line mode) -> whether it answered.
class TJWshReadStreamObject : public TJWshBaseStreamObject {
public:
  using InputHandler = std::function<bool(std::string& text, int32_t count, bool line)>;
  explicit TJWshReadStreamObject(BaseEngine* engine);
  const ClassInfo& Class() const override;
  // Raises "EFileError" ("read error: STDIN") without a handler or when it fails.
  std::string Read(int32_t count, bool line);
  InputHandler OnInput;
};

// Writes through its output handler; nothing without one.
class TJWshWriteStreamObject : public TJWshBaseStreamObject {
public:
  using OutputHandler = std::function<void(std::string_view text)>;
  explicit TJWshWriteStreamObject(BaseEngine* engine);
  const ClassInfo& Class() const override;
  void Write(std::string_view text) {
    if (OnOutput && !text.empty()) OnOutput(text);
  }
  OutputHandler OnOutput;
};

class TJWScriptObject : public TJObject, public WScriptSingleton {
public:
  // Wires StdOut and StdIn to the engine's output and input, StdErr to its error output.
  explicit TJWScriptObject(TJEngine* engine);
  const ClassInfo& Class() const override;
  PublishedProperties* Published() override { return &props_; }

  // WScriptSingleton.
  TJObject& Object() override { return *this; }
  void BeginRun(const Value& arguments) override;
  void Reset() override;

  // The engine that made it; nil once that engine is gone.
  TJEngine* Owner() const;
  TJWshArgumentsObject& Arguments() { return *arguments_; }
  TJWshReadStreamObject& StdIn() { return *stdin_; }
  TJWshWriteStreamObject& StdOut() { return *stdout_; }
  TJWshWriteStreamObject& StdErr() { return *stderr_; }
  bool interactive = false;

private:
  Ref<TJWshArgumentsObject> arguments_;
  Ref<TJWshReadStreamObject> stdin_;
  Ref<TJWshWriteStreamObject> stdout_;
  Ref<TJWshWriteStreamObject> stderr_;
  PropTable props_;
};

// The process's parameters after the first, from its command line (CP932).
std::vector<std::string> ProcessParameters();

// Creates the engine's WScript object.
void RegisterWScript(TJEngine& engine);

}  // namespace kestrin::script
