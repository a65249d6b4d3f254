// The installed parameter-edit reader.
#include "image/parameters_reader.h"

namespace kestrin {

namespace {
ParametersReaderFn installed = nullptr;
}

void install_parameters_reader(ParametersReaderFn fn) { installed = fn; }

void run_parameters_reader() {
  if (installed) installed();
}

}  // namespace kestrin
