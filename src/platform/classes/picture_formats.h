// The picture formats that pictures load by file extension or take from the clipboard: the
// extension, its description, the clipboard format number and the graphic class that reads
// them, as the platform's picture class registers them.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kgui {

// What a picture format makes: a graphic that reads and writes itself through files and
// through clipboard data.
class TGraphic {
public:
  virtual ~TGraphic() = default;
  virtual void LoadFromFile(const std::string& path) = 0;
  virtual void SaveToFile(const std::string& path) const = 0;
  // `data` holds the clipboard's content in `format`, or is null when there is none.
  virtual void LoadFromClipboardFormat(uint16_t format, const std::vector<uint8_t>* data) = 0;
  // The content to put on the clipboard, and its format number.
  virtual std::vector<uint8_t> SaveToClipboardFormat(uint16_t& format) const = 0;
};

struct PictureFormat {
  std::string extension;          // without the dot; compared without case
  std::string description;        // "Device Independent Bitmap"
  uint16_t clipboard_format = 0;  // 0: none
  std::function<std::unique_ptr<TGraphic>()> create;
};

class PictureFormats {
public:
  // The latest registration of an extension or a clipboard format is the one found.
  void registerFormat(PictureFormat format);
  void unregisterFormat(std::string_view extension);
  const PictureFormat* findExtension(std::string_view extension) const;
  const PictureFormat* findClipboardFormat(uint16_t format) const;
  const std::vector<PictureFormat>& formats() const { return formats_; }

  // A new graphic of the class registered for the file's extension, loaded from the file.
  // An extension nobody registered raises EInvalidGraphic "Unknown picture file extension (.x)".
  std::unique_ptr<TGraphic> loadFromFile(const std::string& path) const;

private:
  std::vector<PictureFormat> formats_;
};

// The program's one table.
PictureFormats& picture_formats();

}  // namespace kgui
