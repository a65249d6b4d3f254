// What a drop hands on: the local file names a drag carries, else its text. Qt Core only,
// so that the reading can run without a window.
#pragma once

#include <QMimeData>
#include <string>
#include <vector>

namespace kgui {

struct DropPayload {
  // Local file names (UTF-8) in the order the source lists them; a drop of files when
  // not empty.
  std::vector<std::string> files;
  // The drag's text (UTF-8) when it carries no file name.
  std::string text;
};

// Reads `data`: URLs that name no file on this machine are passed over, and so are names
// holding a NUL (no file has one, and the name would be cut short there when opened).
DropPayload readDropPayload(const QMimeData* data);

}  // namespace kgui
