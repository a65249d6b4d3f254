// TJScriptHost / TJHost: the component through which a program embeds one script engine:
// class imports, compile, run, clear, and the ten events with the error texts.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "script/core/engine.h"
#include "script/core/var_rec.h"

namespace kestrin::script {

// Marks the family of host components.
class TJBaseScriptHost {
public:
  virtual ~TJBaseScriptHost() = default;
};

class TJScriptHost : public TJBaseScriptHost {
public:
  using TStringEvent = std::function<void(TJScriptHost& sender, const std::string& s)>;
  using TReadStringEvent =
      std::function<void(TJScriptHost& sender, std::string& s, bool& success, int32_t count, bool line)>;
  using TStepEvent = std::function<void(TJScriptHost& sender, bool& abort)>;
  using TNewObjectEvent = std::function<void(TJScriptHost& sender, TJObject& obj)>;
  using TErrorEvent = std::function<void(TJScriptHost& sender, int32_t line, const std::string& msg)>;
  using TNotifyEvent = std::function<void(TJScriptHost& sender)>;

  // The engine gets `builtins` (the language's own objects); then each host library is
  // registered in the order given.
  explicit TJScriptHost(TJLibrary builtins, std::initializer_list<TJLibrary> libraries = {});
  ~TJScriptHost() override;
  TJScriptHost(const TJScriptHost&) = delete;
  TJScriptHost& operator=(const TJScriptHost&) = delete;

  // Registers a class under `name`; with a global instance, each run binds one object of
  // it under that name, so scripts call its methods without making one first.
  void ImportObject(std::string_view name, ObjectConstructor create, bool has_global_instance = false) {
    engine_->RegisterObjectClass(name, create, has_global_instance);
  }
  // Compiles UTF-8 (or CP932) program text; false, after the error events, when it has
  // errors; false while a run is active.
  bool Compile(std::string_view source);
  // Runs the compiled program; the exit code, the top-level return value as an integer,
  // else 0. Errors are reported through the events, never thrown. 0 while a run is active.
  int32_t Run();
  int32_t Run(const TVarRecArray& args);
  int32_t Run(const TJValueList& params);
  // Frees every object and variable of the last run; refused (false) while a run is active.
  bool Clear();

  std::vector<std::string> LibraryPath() const { return engine_->Parser().LibraryPath; }
  void SetLibraryPath(std::vector<std::string> folders) { engine_->Parser().LibraryPath = std::move(folders); }
  bool CompiledBinary = false;  // stored with the component; nothing reads it

  // Events; assign an empty function to stop delivery.
  TStringEvent OnStdout;
  TStringEvent OnDebugout;
  TNewObjectEvent OnNewObject;
  TStringEvent OnStderr;
  TNotifyEvent OnRun;
  TNotifyEvent OnDone;
  TStepEvent OnStep;
  TReadStringEvent OnStdin;
  TErrorEvent OnError;
  TStepEvent OnDoEvents;

  TJEngine& Engine() { return *engine_; }
  const std::string& LastErrorOutput() const { return last_error_; }
  int64_t CompileMilliseconds() const { return compile_ms_; }
  int64_t RunMilliseconds() const { return run_ms_; }
  // Processes the application's messages for DoEvents (the GUI installs one); see
  // TJEngine::MessagePump for the wait it is given.
  void SetMessagePump(std::function<bool(std::chrono::milliseconds)> pump) { engine_->MessagePump = std::move(pump); }
  // Asked now and then while a program runs, so that the windows stay responsive; see
  // TJEngine::OnPoll.
  void SetPoll(std::function<void(bool& abort)> poll) { engine_->OnPoll = std::move(poll); }
  // The dialogs and application facts that scripts reach (not owned; nil restores the
  // window-less default, in which every dialog answers as closed).
  void SetUi(ScriptUi* ui) { engine_->SetUi(ui); }
  // The file the compiled program came from (UTF-8, as the system names it), for
  // WScript.ScriptName and ScriptFullName; empty for text from memory.
  void SetScriptFileName(const std::string& name);
  ScriptUi& Ui() const { return engine_->Ui(); }

private:
  void Bridge();

  std::unique_ptr<TJEngine> engine_;
  std::string last_error_;
  int64_t compile_ms_ = 0;
  int64_t run_ms_ = 0;
};

// The same component under its shorter name.
class TJHost : public TJScriptHost {
public:
  using TJScriptHost::TJScriptHost;
};

}  // namespace kestrin::script
