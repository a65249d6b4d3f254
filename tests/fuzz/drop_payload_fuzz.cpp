// Fuzz target: the reading of a drop's data into the names or the text a script receives.
// The first byte says which formats the drag offers (bit 0 a URI list, bit 1 plain text),
// the second where the rest splits into the URI list's bytes and the text's. Any bytes give
// either file names (not empty, UTF-8, no NUL, no text beside them) or text in UTF-8; their
// code-page form holds no NUL either. The second half of the input, read as a local name,
// comes back unchanged through a URI list when it names no host.
#include <QByteArray>
#include <QList>
#include <QMimeData>
#include <QUrl>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "base/cp932.h"
#include "platform/gui/drop_payload.h"

namespace {

void CheckScriptText(std::string_view utf8) {
  if (!kestrin::is_valid_utf8(utf8)) std::abort();
  const std::string cp932 = kestrin::utf8_to_cp932(utf8);
  if (cp932.find('\0') != std::string::npos && utf8.find('\0') == std::string_view::npos) std::abort();
  if (!kestrin::is_valid_utf8(kestrin::cp932_to_utf8(cp932))) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const unsigned flags = data[0];
  const size_t rest = size - 2;
  const size_t cut = rest * data[1] / 255;
  const char* bytes = reinterpret_cast<const char*>(data + 2);
  const QByteArray uris(bytes, static_cast<qsizetype>(cut));
  const QByteArray text(bytes + cut, static_cast<qsizetype>(rest - cut));

  QMimeData mime;
  if (flags & 1) mime.setData("text/uri-list", uris);
  if (flags & 2) mime.setData("text/plain", text);
  const kgui::DropPayload payload = kgui::readDropPayload(&mime);
  if (!(flags & 1) && !payload.files.empty()) std::abort();
  if (!payload.files.empty() && !payload.text.empty()) std::abort();
  for (const std::string& file : payload.files) {
    if (file.empty() || file.find('\0') != std::string::npos) std::abort();
    CheckScriptText(file);
  }
  CheckScriptText(payload.text);

  // A local name that a file could have: absolute, UTF-8, no NUL; "//" starts a host name.
  const std::string_view name(text.constData(), static_cast<size_t>(text.size()));
  if (name.size() < 2 || name[0] != '/' || name[1] == '/' || name.find('\0') != std::string_view::npos ||
      !kestrin::is_valid_utf8(name))
    return 0;
  QMimeData files;
  files.setUrls(QList<QUrl>{QUrl::fromLocalFile(QString::fromUtf8(text))});
  const kgui::DropPayload back = kgui::readDropPayload(&files);
  if (back.files.size() != 1 || back.files[0] != name) std::abort();
  return 0;
}
