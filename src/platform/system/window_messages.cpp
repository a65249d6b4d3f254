// The window-message table and the queue of posted messages. Everything runs on the GUI
// thread; the lock only keeps a stray caller from corrupting the table.
#include "platform/system/window_messages.h"

#include <deque>
#include <mutex>
#include <unordered_map>

namespace kestrin::platform {
namespace {

struct Posted {
  WindowHandle handle;
  uint32_t msg;
  WParam wparam;
  LParam lparam;
};

struct WindowTable {
  std::mutex lock;
  std::unordered_map<WindowHandle, WindowMessageTarget*> targets;
  std::deque<Posted> queue;
  WindowHandle next = 0x10002;
};

WindowTable& TheWindowTable() {
  static WindowTable table;
  return table;
}

WindowMessageTarget* FindTarget(WindowTable& t, WindowHandle handle) {
  std::lock_guard<std::mutex> guard(t.lock);
  auto it = t.targets.find(handle);
  return it == t.targets.end() ? nullptr : it->second;
}

}  // namespace

WindowHandle RegisterWindow(WindowMessageTarget& target) {
  WindowTable& t = TheWindowTable();
  std::lock_guard<std::mutex> guard(t.lock);
  WindowHandle handle = t.next;
  while (t.targets.count(handle)) handle += 4;
  t.next = handle + 4;  // handles look like the platform's: small, even, never 0
  t.targets.emplace(handle, &target);
  return handle;
}

bool RegisterWindowAt(WindowHandle handle, WindowMessageTarget& target) {
  WindowTable& t = TheWindowTable();
  std::lock_guard<std::mutex> guard(t.lock);
  return handle != 0 && t.targets.emplace(handle, &target).second;
}

void UnregisterWindow(WindowHandle handle) {
  WindowTable& t = TheWindowTable();
  std::lock_guard<std::mutex> guard(t.lock);
  t.targets.erase(handle);
}

LResult SendWindowMessage(WindowHandle handle, uint32_t msg, WParam wparam, LParam lparam) {
  WindowMessageTarget* target = FindTarget(TheWindowTable(), handle);
  return target ? target->Message(msg, wparam, lparam) : 0;
}

bool PostWindowMessage(WindowHandle handle, uint32_t msg, WParam wparam, LParam lparam) {
  WindowTable& t = TheWindowTable();
  std::lock_guard<std::mutex> guard(t.lock);
  if (!t.targets.count(handle)) return false;
  t.queue.push_back(Posted{handle, msg, wparam, lparam});
  return true;
}

int DeliverPostedMessages() {
  WindowTable& t = TheWindowTable();
  std::deque<Posted> batch;
  {
    std::lock_guard<std::mutex> guard(t.lock);
    batch.swap(t.queue);
  }
  int delivered = 0;
  for (const Posted& p : batch) {
    // A target may unregister itself or another while handling a message.
    if (WindowMessageTarget* target = FindTarget(t, p.handle)) {
      target->Message(p.msg, p.wparam, p.lparam);
      ++delivered;
    }
  }
  return delivered;
}

bool HasPostedMessages() {
  WindowTable& t = TheWindowTable();
  std::lock_guard<std::mutex> guard(t.lock);
  return !t.queue.empty();
}

}  // namespace kestrin::platform
