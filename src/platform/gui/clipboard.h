// TClipboard: the system clipboard with the platform's calls: plain text, a picture and data
// of any format by its name. Between open() and close() every set adds to one content, so a
// picture can go in several formats at once; outside them each set replaces the content.
#pragma once

#include <QImage>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QMimeData;

namespace kgui {

class TClipboard {
public:
  TClipboard();
  ~TClipboard();

  void open();
  void close();
  void clear();

  // The text on the clipboard ("" when it holds none).
  std::string asText() const;
  void setAsText(const std::string& text);
  // The picture on the clipboard (null when it holds none).
  QImage image() const;
  void setImage(const QImage& image);
  // Data of a format by its name ("image/bmp"); empty when the clipboard does not hold it.
  bool hasFormat(const std::string& format) const;
  std::vector<uint8_t> data(const std::string& format) const;
  void setData(const std::string& format, const std::vector<uint8_t>& bytes);

private:
  // The content the next set adds to: the open one, or a fresh one.
  QMimeData& target();
  // Hands a fresh content to the system clipboard unless one is open.
  void commit();

  int open_count_ = 0;
  std::unique_ptr<QMimeData> pending_;
};

// The application's clipboard.
TClipboard& Clipboard();

// The clipboard's text, as the platform's Clipboard.AsText has it (UTF-8 here).
bool clipboardHasText();
// "" when the clipboard holds no text.
std::string clipboardText();
// Replaces the clipboard's contents by the text.
void setClipboardText(const std::string& text);

}  // namespace kgui
