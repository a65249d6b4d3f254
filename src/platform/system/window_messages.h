// The window-message table: handle ids of Kestrin's own windows and the targets that
// answer the messages sent or posted to them. Handles are shared with the GUI wrappers'
// handles; an unknown handle behaves as an invalid window handle does.
#pragma once

#include <cstdint>

namespace kestrin::platform {

using WindowHandle = int64_t;
using WParam = uint64_t;
using LParam = int64_t;
using LResult = int64_t;

// The messages that Kestrin's windows answer.
inline constexpr uint32_t kWmSetText = 0x0C;
inline constexpr uint32_t kWmGetText = 0x0D;
inline constexpr uint32_t kWmGetTextLength = 0x0E;
inline constexpr uint32_t kWmClose = 0x10;

// A window that answers messages. Pointer parameters (text, cells) are valid only while
// Message runs.
class WindowMessageTarget {
public:
  virtual ~WindowMessageTarget() = default;
  virtual LResult Message(uint32_t msg, WParam wparam, LParam lparam) = 0;
};

// Gives the target a new handle (never 0); the target stays registered until
// UnregisterWindow. These handles are even but never multiples of 4, so they meet none of
// the window handles that the GUI library numbers itself.
WindowHandle RegisterWindow(WindowMessageTarget& target);
// Registers the target under a handle numbered elsewhere (a window of the GUI library);
// false, and nothing changed, when the handle is 0 or taken.
bool RegisterWindowAt(WindowHandle handle, WindowMessageTarget& target);
// Forgets the handle; messages still queued for it are dropped.
void UnregisterWindow(WindowHandle handle);

// Delivers at once; 0 for an unknown handle.
LResult SendWindowMessage(WindowHandle handle, uint32_t msg, WParam wparam, LParam lparam);
// Queues the message for the next DeliverPostedMessages; false for an unknown handle.
bool PostWindowMessage(WindowHandle handle, uint32_t msg, WParam wparam, LParam lparam);
// Delivers the messages queued so far, in order (the event pump calls it on each pass);
// messages posted meanwhile wait for the next call. The number delivered.
int DeliverPostedMessages();
bool HasPostedMessages();

}  // namespace kestrin::platform
