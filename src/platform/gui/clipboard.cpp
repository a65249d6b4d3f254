// Clipboard text through Qt's clipboard of the running application.
#include "platform/gui/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "platform/gui/qt_convert.h"

namespace kgui {

bool clipboardHasText() {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  return data && data->hasText();
}

std::string clipboardText() { return ss(QGuiApplication::clipboard()->text()); }

void setClipboardText(const std::string& text) { QGuiApplication::clipboard()->setText(qs(text)); }

}  // namespace kgui
