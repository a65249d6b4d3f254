// Set-up of the loader tests.
#include "support/reader_fixture.h"

namespace kestrin::test {

void reset_for_reader_test() {
  reset_state();
  reset_headless_ports();
  the_log().clear_history();
  for (const char* lock : {"chkLo", "chkwl", "chkpsx", "chkpsy"}) headless_controls().set_checked(lock, false);
}

}  // namespace kestrin::test
