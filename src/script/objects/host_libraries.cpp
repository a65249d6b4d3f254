// The one list of host libraries, in registration order: the system objects first, then
// the network, automation and native-call objects as they join.
#include "script/objects/host_libraries.h"

#include "script/core/engine.h"
#include "script/objects/system_objects.h"

namespace kestrin::script {
namespace {

constexpr TJLibrary kHostLibraries[] = {
    RegisterSystemObjects,
};

}  // namespace

void ImportHostLibraries(TJEngine& engine) {
  for (TJLibrary library : kHostLibraries) library(engine);
}

}  // namespace kestrin::script
