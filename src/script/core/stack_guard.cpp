// Stack bounds of the running thread through pthread_getattr_np, which also answers for the
// main thread (its bottom is derived from the stack's mapping and RLIMIT_STACK).
#include "script/core/stack_guard.h"

#include <pthread.h>

#include <algorithm>

#include "script/core/error_table.h"

namespace kestrin::script {
namespace {

struct Limits {
  const char* stack;
  const char* call;
};

Limits LimitsFromBounds() {
  pthread_attr_t attr;
  void* low = nullptr;
  size_t size = 0;
  bool known = pthread_getattr_np(pthread_self(), &attr) == 0;
  if (known) {
    known = pthread_attr_getstack(&attr, &low, &size) == 0 && low && size > 0;
    pthread_attr_destroy(&attr);
  }
  const char* here = static_cast<const char*>(__builtin_frame_address(0));
  if (!known || here < static_cast<const char*>(low)) {
    // Bounds unknown: allow a conservative 512 KiB below the first frame that asks.
    low = const_cast<char*>(here - (size_t{512} << 10));
    size = size_t{512} << 10;
  }
  const char* stack = static_cast<const char*>(low) + std::min(kMaxStackMargin, size / 4);
  return {stack, stack + std::min(kMaxCallReserve, size / 8)};
}

}  // namespace

namespace detail {

thread_local constinit const char* t_stack_limit = nullptr;
thread_local constinit const char* t_call_limit = nullptr;

void ComputeThreadStackLimits() {
  Limits limits = LimitsFromBounds();
  t_stack_limit = limits.stack;
  t_call_limit = limits.call;
}

}  // namespace detail

void CheckStack() {
  if (StackExhausted()) RaiseError(ScriptError::StackOverflow);
}

}  // namespace kestrin::script
