// Win32: sleep on the script's thread, the boot clock as the tick count, winExec and the
// "open" verb of shellExecute over detached program starts and the desktop's document
// opener.
#include "script/objects/win32_object.h"

#include <ctime>
#include <thread>

#include "platform/system/program_start.h"
#include "script/builtins/script_path.h"
#include "script/core/engine.h"
#include "script/core/hash_table.h"
#include "script/objects/object_support.h"

namespace kestrin::script {
namespace {

void WSleep(TJObject& self, TJValueList& params, Value& result) {
  const int32_t ms = params.GetCount() > 0 ? ValueToInteger(params.GetValue(0)) : 0;
  if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
  result = Value::Object(&self);
}

void WWinExec(TJObject&, TJValueList& params, Value& result) {
  if (params.GetCount() < 1) RaiseError(ScriptError::WinExec);
  std::vector<std::string> argv = platform::SplitCommandLine(ArgText(params, 0));
  if (!argv.empty()) argv[0] = ScriptPathToOs(argv[0]);
  result = Value::Bool(platform::StartDetached(argv));
}

// "open" (or no verb): a program is started with the parameters in the folder; anything
// else (a document, a folder, a URL) goes to the desktop. Other verbs are not supported.
void WShellExecute(TJObject& self, TJValueList& params, Value& result) {
  if (params.GetCount() < 2) RaiseError(ScriptError::ShellExecute);
  const std::string verb = ArgText(params, 0), file = ArgText(params, 1);
  if (!verb.empty() && LocaleCompareText(verb, "open") != 0) return void(result = Value::Bool(false));
  const std::string program = platform::FindProgram(ScriptPathToOs(file));
  if (program.empty()) return void(result = Value::Bool(UiOf(self).OpenDocument(file)));
  std::vector<std::string> argv{program};
  for (std::string& arg : platform::SplitCommandLine(ArgText(params, 2))) argv.push_back(std::move(arg));
  result = Value::Bool(platform::StartDetached(argv, ScriptPathToOs(ArgText(params, 3))));
}

void WGetTickCount(TJObject&, TJValueList&, Value& result) { result = NumberValue(TickCount()); }

}  // namespace

uint32_t TickCount() {
  timespec t{};
  clock_gettime(CLOCK_BOOTTIME, &t);
  const uint64_t ms = static_cast<uint64_t>(t.tv_sec) * 1000 + static_cast<uint64_t>(t.tv_nsec) / 1000000;
  return static_cast<uint32_t>(ms);
}

TJWin32Object::TJWin32Object(BaseEngine* engine) : TJObject(engine) { SetObjectName("Win32"); }

const ClassInfo& TJWin32Object::Class() const {
  static const ClassInfo info(&TJObject::BaseClass(),
      {{"sleep", WSleep}, {"winExec", WWinExec}, {"shellExecute", WShellExecute}, {"getTickCount", WGetTickCount}});
  return info;
}

void RegisterWin32(TJEngine& engine) {
  engine.RegisterObjectClass("Win32", [](BaseEngine* e, TJValueList*) -> TJObject* { return new TJWin32Object(e); }, true);
}

}  // namespace kestrin::script
