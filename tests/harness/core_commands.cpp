// Harness commands of the program as a whole (window flags, the macro recorder).
#include "base/convert.h"
#include "harness/harness.h"
#include "model/state.h"

namespace kestrin::harness {

void register_core_commands(Registry& r) {
  // SetWindowShow: 0 or 1; any other value, or none, leaves the flag unchanged.
  r.add("SetWindowShow", [](const Args& a) -> std::optional<std::string> {
    if (a.size() == 1)
      if (auto v = TryStrToInt(a[0]); v && (*v == 0 || *v == 1)) state().WindowShow = uint8_t(*v);
    return std::nullopt;
  });
}

}  // namespace kestrin::harness
