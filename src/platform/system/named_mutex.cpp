// TMutex over flock(2) on lock files. The lock file carries the exclusive lock; a second
// "presence" file on which every open object keeps a shared lock answers whether the
// mutex existed. Ownership is per thread and recursive, tracked per name in-process.
#include "platform/system/named_mutex.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <map>
#include <mutex>
#include <thread>

namespace kestrin::platform {

struct MutexOwnership {
  std::thread::id owner;
  int count = 0;
  int fd = -1;  // the descriptor that holds the exclusive lock
};

namespace {

std::mutex g_table_lock;

std::map<std::string, std::weak_ptr<MutexOwnership>>& MutexTable() {
  static std::map<std::string, std::weak_ptr<MutexOwnership>> table;
  return table;
}

// Hex of the name's bytes: any name becomes a safe file name.
std::string FileStem(const std::string& name) {
  static const char* hex = "0123456789abcdef";
  std::string stem = "kestrin-mutex-";
  for (unsigned char c : name) {
    stem += hex[c >> 4];
    stem += hex[c & 15];
  }
  return stem;
}

int OpenFile(const std::string& path) { return ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600); }

}  // namespace

std::string TMutex::LockFolder() {
  const char* dir = std::getenv("XDG_RUNTIME_DIR");
  return dir && *dir ? std::string(dir) + "/" : std::string("/tmp/");
}

TMutex::TMutex(const std::string& name) : name_(name) {
  std::lock_guard<std::mutex> guard(g_table_lock);
  if (!name.empty()) {
    std::string base = LockFolder() + FileStem(name);
    presence_fd_ = OpenFile(base + ".presence");
    lock_fd_ = OpenFile(base + ".lock");
    if (presence_fd_ >= 0) {
      existed_ = ::flock(presence_fd_, LOCK_EX | LOCK_NB) != 0;
      ::flock(presence_fd_, LOCK_SH);
    }
    std::weak_ptr<MutexOwnership>& slot = MutexTable()[name];
    owner_ = slot.lock();
    if (!owner_) slot = owner_ = std::make_shared<MutexOwnership>();
  } else {
    owner_ = std::make_shared<MutexOwnership>();
  }
}

TMutex::~TMutex() {
  {
    std::lock_guard<std::mutex> guard(g_table_lock);
    if (owner_->fd == lock_fd_ && owner_->count > 0) {
      owner_->count = 0;
      owner_->owner = std::thread::id();
      owner_->fd = -1;
    }
  }
  if (lock_fd_ >= 0) ::close(lock_fd_);
  if (presence_fd_ >= 0) ::close(presence_fd_);
}

bool TMutex::Acquire(int32_t wait_ms) {
  std::thread::id me = std::this_thread::get_id();
  {
    std::lock_guard<std::mutex> guard(g_table_lock);
    if (owner_->count > 0 && owner_->owner == me) {
      ++owner_->count;
      return true;
    }
  }
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(wait_ms < 0 ? 0 : wait_ms);
  // flock(2) has no timed wait, and a release by another process sends no event that a
  // wait could take: polling with a back-off that grows to kMaxBackOff is what remains.
  constexpr auto kMaxBackOff = std::chrono::milliseconds(20);
  auto back_off = std::chrono::milliseconds(1);
  for (;;) {
    {
      std::lock_guard<std::mutex> guard(g_table_lock);
      bool free_here = owner_->count == 0;
      if (free_here && (lock_fd_ < 0 || ::flock(lock_fd_, LOCK_EX | LOCK_NB) == 0)) {
        owner_->owner = me;
        owner_->count = 1;
        owner_->fd = lock_fd_;
        return true;
      }
    }
    auto now = std::chrono::steady_clock::now();
    if (wait_ms >= 0 && now >= deadline) return false;
    auto pause = wait_ms >= 0 ? std::min<std::chrono::steady_clock::duration>(back_off, deadline - now) : back_off;
    std::this_thread::sleep_for(pause);
    back_off = std::min(back_off * 2, kMaxBackOff);
  }
}

void TMutex::Lock() { Acquire(-1); }

bool TMutex::TryLock() { return Acquire(timeout); }

void TMutex::Unlock() {
  std::lock_guard<std::mutex> guard(g_table_lock);
  if (owner_->count == 0 || owner_->owner != std::this_thread::get_id()) return;
  if (--owner_->count > 0) return;
  if (owner_->fd >= 0) ::flock(owner_->fd, LOCK_UN);
  owner_->owner = std::thread::id();
  owner_->fd = -1;
}

}  // namespace kestrin::platform
