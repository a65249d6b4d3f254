// The host libraries of script objects, registered with an engine in their fixed order.
#pragma once

namespace kestrin::script {

class TJEngine;

void ImportHostLibraries(TJEngine& engine);

}  // namespace kestrin::script
