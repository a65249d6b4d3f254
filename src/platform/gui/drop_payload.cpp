#include "platform/gui/drop_payload.h"

#include <QSysInfo>
#include <QUrl>

namespace kgui {
namespace {

// The local name of a file URL on this machine (no host, "localhost" or this machine's
// name); empty for any other URL. Qt would turn another host's file into "//host/path",
// which is a local path here.
std::string localName(const QUrl& url) {
  if (!url.isLocalFile()) return {};
  const QString host = url.host();
  if (!host.isEmpty() && host.compare("localhost", Qt::CaseInsensitive) != 0 &&
      host.compare(QSysInfo::machineHostName(), Qt::CaseInsensitive) != 0)
    return {};
  return url.path(QUrl::FullyDecoded).toStdString();
}

}  // namespace

DropPayload readDropPayload(const QMimeData* data) {
  DropPayload payload;
  if (!data) return payload;
  if (data->hasUrls()) {
    for (const QUrl& url : data->urls()) {
      const std::string file = localName(url);
      if (!file.empty() && file.find('\0') == std::string::npos) payload.files.push_back(file);
    }
  }
  if (payload.files.empty()) payload.text = data->text().toStdString();
  return payload;
}

}  // namespace kgui
