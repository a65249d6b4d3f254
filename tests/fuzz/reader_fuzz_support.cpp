// Reader fuzz set-up.
#include "fuzz/reader_fuzz_support.h"

#include "model/state.h"
#include "ports/log.h"

namespace kestrin::fuzz {

void begin_run(std::span<const uint8_t> data) {
  static bool once = [] {
    the_log().set_listener([](const std::string&) {});
    return true;
  }();
  (void)once;
  the_log().clear_history();
  state().options.VerticalReverse = !data.empty() && (data[0] & 1) ? 1 : 0;
}

}  // namespace kestrin::fuzz
