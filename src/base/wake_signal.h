// WakeSignal: a wait that ends when its time is up or when another thread wakes it.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace kestrin {

class WakeSignal {
public:
  // Ends the current or the next wait (a wake is remembered until a wait takes it).
  void Wake() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      woken_ = true;
    }
    ready_.notify_all();
  }
  // True when woken, false when `timeout` passed first.
  bool WaitFor(std::chrono::milliseconds timeout) {
    std::unique_lock<std::mutex> lock(mutex_);
    bool woken = ready_.wait_for(lock, timeout, [this] { return woken_; });
    woken_ = false;
    return woken;
  }

private:
  std::mutex mutex_;
  std::condition_variable ready_;
  bool woken_ = false;
};

}  // namespace kestrin
