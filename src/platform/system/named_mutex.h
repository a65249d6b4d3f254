// TMutex: a system-wide named mutex shared between processes, recursive for the thread
// that owns it (as the platform's mutexes are).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace kestrin::platform {

class TMutex {
public:
  // Opens the mutex of that name, or creates it (not owned); `Existed` tells which. An
  // empty name makes a mutex private to this object.
  explicit TMutex(const std::string& name);
  TMutex(const TMutex&) = delete;
  TMutex& operator=(const TMutex&) = delete;
  ~TMutex();

  void Lock();
  // Waits at most `timeout` milliseconds; false on a timeout or a failed wait.
  bool TryLock();
  void Unlock();

  const std::string& Name() const { return name_; }
  bool Existed() const { return existed_; }
  int32_t timeout = 10000;

  // Folder of the lock files: $XDG_RUNTIME_DIR, else /tmp.
  static std::string LockFolder();

private:
  bool Acquire(int32_t wait_ms);
  std::string name_;
  bool existed_ = false;
  int presence_fd_ = -1;  // every holder keeps a shared lock on it
  int lock_fd_ = -1;
  std::shared_ptr<struct MutexOwnership> owner_;
};

}  // namespace kestrin::platform
