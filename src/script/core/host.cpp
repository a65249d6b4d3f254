// TJScriptHost: forwards the engine's events (script text converted from CP932 to UTF-8
// at this edge), times compile and run, and keeps every exception inside Run.
#include "script/core/host.h"


#include <chrono>

#include "base/cp932.h"
#include "script/core/source_text.h"

namespace kestrin::script {
namespace {

using kestrin::cp932_to_utf8;
using kestrin::utf8_to_cp932;

int64_t MillisecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

TJScriptHost::TJScriptHost(TJLibrary builtins, std::initializer_list<TJLibrary> libraries)
    : engine_(std::make_unique<TJEngine>(builtins, this)) {
  Bridge();
  for (TJLibrary library : libraries) library(*engine_);
}

TJScriptHost::~TJScriptHost() {
  engine_->OnStdout = nullptr;
  engine_->OnStderr = nullptr;
  engine_->OnError = nullptr;
  Clear();
}

// Each engine hook calls the component's handler when one is assigned at that moment.
void TJScriptHost::Bridge() {
  TJEngine& e = *engine_;
  e.OnStdout = [this](std::string_view s) {
    if (OnStdout) OnStdout(*this, cp932_to_utf8(s));
  };
  e.OnStderr = [this](std::string_view s) {
    last_error_ = cp932_to_utf8(s);
    if (OnStderr) OnStderr(*this, last_error_);
  };
  e.OnNewObject = nullptr;  // installed by Compile/Run when a handler is assigned
  e.OnRun = [this] {
    if (OnRun) OnRun(*this);
  };
  e.OnDone = [this] {
    if (OnDone) OnDone(*this);
  };
  e.OnStdin = [this](std::string& s, bool& success, int32_t count, bool line) {
    if (!OnStdin) return;
    std::string text;
    OnStdin(*this, text, success, count, line);
    s = utf8_to_cp932(text);
  };
  e.OnError = [this](int32_t line, std::string_view msg) {
    if (OnError) OnError(*this, line, cp932_to_utf8(msg));
  };
}

bool TJScriptHost::Compile(std::string_view source) {
  if (engine_->Running()) return false;
  auto start = std::chrono::steady_clock::now();
  TJEngine& e = *engine_;
  if (OnDebugout) {
    e.SetLexerTrace([this](const std::string& s) {
      if (OnDebugout) OnDebugout(*this, cp932_to_utf8(s));
    });
  } else {
    e.SetLexerTrace(nullptr);
  }
  bool ok = false;
  try {
    // UTF-8 is read in place; CP932 is decoded first.
    ok = IsStrictUtf8(source) ? e.CompileUtf8(source) : e.Compile(DecodeCp932(source));
  } catch (const std::exception& ex) {
    e.ReportError(std::string("Exception: ESystemError => ") + ex.what());
  }
  compile_ms_ = MillisecondsSince(start);
  return ok;
}

int32_t TJScriptHost::Run() { return Run(TJValueList()); }

int32_t TJScriptHost::Run(const TVarRecArray& args) {
  TJValueList params;
  for (const VarRec& rec : args) params.Add(VarRecToValue(rec));
  return Run(params);
}

int32_t TJScriptHost::Run(const TJValueList& params) {
  if (engine_->Running()) return 0;
  TJEngine& e = *engine_;
  // Events that cost per statement or per object are installed only when assigned.
  e.OnStep = OnStep ? std::function<void(bool&)>([this](bool& abort) {
    if (OnStep) OnStep(*this, abort);
  }) : nullptr;
  e.OnDoEvents = OnDoEvents ? std::function<void(bool&)>([this](bool& abort) {
    if (OnDoEvents) OnDoEvents(*this, abort);
  }) : nullptr;
  e.OnNewObject = OnNewObject ? std::function<void(TJObject&)>([this](TJObject& obj) {
    if (OnNewObject) OnNewObject(*this, obj);
  }) : nullptr;
  auto start = std::chrono::steady_clock::now();
  int32_t result = 0;
  try {
    result = e.Run(nullptr, &params);
  } catch (...) {
    result = 0;  // Run reports everything itself; nothing may reach the caller
  }
  run_ms_ = MillisecondsSince(start);
  return result;
}

void TJScriptHost::SetScriptFileName(const std::string& name) {
  engine_->SetScriptFileName(kestrin::is_valid_utf8(name) ? utf8_to_cp932(name) : name);
}

bool TJScriptHost::Clear() {
  if (engine_->Running()) return false;
  engine_->ResetRun();
  return true;
}

}  // namespace kestrin::script
