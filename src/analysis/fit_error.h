// The last error of the Levenberg-Marquardt engine: one process-wide message that the
// engine's routines set when they meet a singular matrix or a bad parameter list. Nothing
// displays it; a fit's outcome is its return value.
#pragma once

#include <string>

namespace kestrin {

const std::string& fit_last_error();
void set_fit_last_error(std::string message);
void clear_fit_last_error();

}  // namespace kestrin
