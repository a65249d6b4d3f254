// The bridge between the window-message table and a window of the GUI library: the table
// carries the text messages in the platform's ANSI code page (CP932, as SendMessageA
// does), the windows hold UTF-8; every other message goes to the window as it is.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/system/window_messages.h"

namespace kgui {

// perform answers the messages as TControl::perform does (UTF-8 text); text gives the
// window text that WM_GETTEXT and WM_GETTEXTLENGTH read.
class AnsiMessageTarget : public kestrin::platform::WindowMessageTarget {
public:
  using Perform = std::function<intptr_t(unsigned msg, uintptr_t wparam, intptr_t lparam)>;
  AnsiMessageTarget(Perform perform, std::function<std::string()> text)
      : perform_(std::move(perform)), text_(std::move(text)) {}
  kestrin::platform::LResult Message(uint32_t msg, kestrin::platform::WParam wparam,
                                     kestrin::platform::LParam lparam) override;

private:
  Perform perform_;
  std::function<std::string()> text_;
};

}  // namespace kgui
