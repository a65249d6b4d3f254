// Set-up of the loader tests.
#include "support/reader_fixture.h"

#include "ports/names/main_form_names.h"

namespace kestrin::test {

void reset_for_reader_test() {
  reset_state();
  reset_headless_ports();
  the_log().clear_history();
  for (const ControlName& lock : {frmMain::chkLo, frmMain::chkwl, frmMain::chkpsx, frmMain::chkpsy}) headless_controls().set_checked(lock, false);
}

}  // namespace kestrin::test
