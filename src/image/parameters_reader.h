// The hook through which image code asks for the main window's parameter edits to be
// copied into integration_params (`read_parameters` of the analysis library, which the
// image library cannot depend on). The program and the harness install it at start.
#pragma once

#include <cstdint>

namespace kestrin {

using ParametersReaderFn = int32_t (*)();

// Installs the reader (null removes it).
void install_parameters_reader(ParametersReaderFn fn);
// Runs the installed reader; does nothing when none is installed. Its conversion errors
// propagate to the caller.
void run_parameters_reader();

}  // namespace kestrin
