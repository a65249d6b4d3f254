// The one list of host libraries, in registration order: the system objects, then the
// network objects, the automation objects and the native-call objects.
#include "script/objects/host_libraries.h"

#include "script/core/engine.h"
#include "script/objects/activex_object.h"
#include "script/objects/dyna_call_object.h"
#include "script/objects/socket_objects.h"
#include "script/objects/system_objects.h"

namespace kestrin::script {
namespace {

constexpr TJLibrary kHostLibraries[] = {
    RegisterSystemObjects,
    RegisterSocketObjects,
    RegisterActiveXObjects,
    RegisterDynaCallObjects,
};

}  // namespace

void ImportHostLibraries(TJEngine& engine) {
  for (TJLibrary library : kHostLibraries) library(engine);
}

}  // namespace kestrin::script
