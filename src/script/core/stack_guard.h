// The C++ stack budget of script code: every recursion that a script drives (calls, nested
// expressions and statements, parsing, natives that recurse into values) checks it.
#pragma once

#include <cstddef>

namespace kestrin::script {

namespace detail {
// Initialised constantly (constinit), so a read needs no call of a thread-local
// initialiser first.
extern thread_local constinit const char* t_stack_limit;
extern thread_local constinit const char* t_call_limit;
void ComputeThreadStackLimits();
}  // namespace detail

// The lowest address that the stack of this thread may reach before script work stops:
// the thread's real stack bottom plus a safety margin for the frames run between two
// checks, raising the error and unwinding. Read from the thread's bounds once per thread,
// so a script started deep in a host's call chain gets the stack that is left.
inline const char* ThreadStackLimit() {
  const char* limit = detail::t_stack_limit;
  if (limit) [[likely]] return limit;
  detail::ComputeThreadStackLimits();
  return detail::t_stack_limit;
}

// The limit for script calls lies a reserve above ThreadStackLimit: a recursion through
// calls always stops at a call, never at a statement or expression inside one (whose line
// would then depend on where the stack happened to end), since one call's own frames stay
// far below the reserve.
inline const char* CallStackLimit() {
  const char* limit = detail::t_call_limit;
  if (limit) [[likely]] return limit;
  detail::ComputeThreadStackLimits();
  return detail::t_call_limit;
}

// The margin kept free below the limit: a quarter of the stack, at most kMaxStackMargin;
// the call reserve: an eighth of the stack, at most kMaxCallReserve.
inline constexpr size_t kMaxStackMargin = size_t{256} << 10;
inline constexpr size_t kMaxCallReserve = size_t{64} << 10;

// True when the caller's frame is below this thread's limit, or its call limit.
inline bool StackExhausted() {
  return static_cast<const char*>(__builtin_frame_address(0)) < ThreadStackLimit();
}
inline bool CallStackExhausted() {
  return static_cast<const char*>(__builtin_frame_address(0)) < CallStackLimit();
}

// Raises "ECallError" "stack overflow" when this thread's stack is nearly used up; for
// natives that recurse (printing nested lists, join, sort comparators).
void CheckStack();

}  // namespace kestrin::script
