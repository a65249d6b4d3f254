// Text messages of the window-message table converted between CP932 and the windows' UTF-8.
#include "platform/gui/window_text_messages.h"

#include <algorithm>
#include <cstring>

#include "base/cp932.h"

namespace kgui {

namespace wm = kestrin::platform;

wm::LResult AnsiMessageTarget::Message(uint32_t msg, wm::WParam wparam, wm::LParam lparam) {
  switch (msg) {
    case wm::kWmSetText: {
      const std::string text = kestrin::cp932_to_utf8(lparam ? reinterpret_cast<const char*>(lparam) : "");
      return perform_(msg, 0, reinterpret_cast<intptr_t>(text.c_str()));
    }
    case wm::kWmGetTextLength: return static_cast<wm::LResult>(kestrin::utf8_to_cp932(text_()).size());
    case wm::kWmGetText: {
      if (wparam == 0 || lparam == 0) return 0;
      const std::string text = kestrin::utf8_to_cp932(text_());
      const size_t n = std::min<size_t>(text.size(), wparam - 1);
      auto* buffer = reinterpret_cast<char*>(lparam);
      std::memcpy(buffer, text.data(), n);
      buffer[n] = '\0';
      return static_cast<wm::LResult>(n);
    }
    default: return perform_(msg, static_cast<uintptr_t>(wparam), static_cast<intptr_t>(lparam));
  }
}

}  // namespace kgui
