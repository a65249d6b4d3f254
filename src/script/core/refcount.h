// The counted header shared by every heap payload a script value can point at.
#pragma once

#include <cstdint>

namespace kestrin::script {

// Non-atomic: the engine, its values and objects belong to one thread.
struct RcHeader {
  uint32_t refs = 0;
  uint32_t rc_flags = 0;  // kRcDead on objects killed by the factory's clear
};

inline constexpr uint32_t kRcDead = 1;
// Objects only: waiting in the release queue, and class methods hidden by a clear.
inline constexpr uint32_t kRcQueued = 2;
inline constexpr uint32_t kRcHideClassMethods = 4;

}  // namespace kestrin::script
