// Fuzz target: the tree-text reader. Any bytes give lines whose levels start at 0, step down
// freely and up by one, and stay under the depth limit; or an error and no lines. ASCII
// lines written back read as the same lines.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/gui/tree_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  constexpr int kDepth = 64;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const kgui::TreeTextRead read = kgui::ReadTreeText(input, kDepth);
  if (!read.error.empty() && !read.lines.empty()) std::abort();
  int previous = -1;
  bool plain = true;
  for (const kgui::TreeTextLine& line : read.lines) {
    if (line.level < 0 || line.level >= kDepth || line.level > previous + 1) std::abort();
    previous = line.level;
    if (line.text.empty()) plain = false;
    for (unsigned char c : line.text)
      if (c < 0x20 || c >= 0x7F) plain = false;
  }
  if (!plain) return 0;
  const kgui::TreeTextRead again = kgui::ReadTreeText(kgui::WriteTreeText(read.lines), kDepth);
  if (!again.error.empty() || again.lines.size() != read.lines.size()) std::abort();
  for (size_t i = 0; i < read.lines.size(); ++i)
    if (again.lines[i].level != read.lines[i].level || again.lines[i].text != read.lines[i].text) std::abort();
  return 0;
}
