// The process-wide last-error string of the Levenberg-Marquardt engine.
#include "analysis/fit_error.h"

#include <utility>

namespace kestrin {
namespace {

std::string& last_error() {
  static std::string message;
  return message;
}

}  // namespace

const std::string& fit_last_error() { return last_error(); }
void set_fit_last_error(std::string message) { last_error() = std::move(message); }
void clear_fit_last_error() { last_error().clear(); }

}  // namespace kestrin
