// The sector count, the header locks and the script getters' values.
#include "model/parameters.h"

#include <cmath>

#include "base/convert.h"

namespace kestrin {

namespace {

uint64_t bit_of(const Parameter& p) { return uint64_t(1) << row_index(p); }

}  // namespace

double sector_count_of(double division_angle) { return std::ceil(360.0 / division_angle); }

std::string smallest_division_angle_line() {
  return Format("The division angle must be at least %s degree (%d sectors at most).",
                {FloatToStr(360.0 / kMaxSectorCount), kMaxSectorCount});
}

bool lock_checked(const Parameter& lock) { return (state().header_locks.checked & bit_of(lock)) != 0; }

void set_header_lock(const Parameter& lock, bool checked) {
  uint64_t& bits = state().header_locks.checked;
  bits = checked ? bits | bit_of(lock) : bits & ~bit_of(lock);
}

bool header_locked(double IntegrationParams::*field) {
  for (const Parameter& p : parameter_table())
    if (p.real == field && !p.header_lock.empty()) return lock_checked(*parameter_named(p.header_lock));
  return false;
}

ParameterValue parameter_value(const Parameter& p) {
  const IntegrationParams& ip = state().integration_params;
  if (p.kind == ParameterKind::kReal) return ip.*p.real;
  return p.integer ? ip.*p.integer : 0;
}

}  // namespace kestrin
