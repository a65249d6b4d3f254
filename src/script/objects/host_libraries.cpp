// The one list of host libraries, in registration order.
#include "script/objects/host_libraries.h"

#include "script/core/engine.h"
#include "script/objects/activex_object.h"
#include "script/objects/dyna_call_object.h"

namespace kestrin::script {
namespace {

constexpr TJLibrary kHostLibraries[] = {
    RegisterActiveXObjects,
    RegisterDynaCallObjects,
};

}  // namespace

void ImportHostLibraries(TJEngine& engine) {
  for (TJLibrary library : kHostLibraries) library(engine);
}

}  // namespace kestrin::script
