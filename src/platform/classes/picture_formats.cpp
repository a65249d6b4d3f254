// The picture-format table: registration and lookup by extension or clipboard format.
#include "platform/classes/picture_formats.h"

#include <algorithm>

#include "base/paths.h"
#include "base/runtime_errors.h"

namespace kgui {

void PictureFormats::registerFormat(PictureFormat format) { formats_.push_back(std::move(format)); }

void PictureFormats::unregisterFormat(std::string_view extension) {
  std::erase_if(formats_, [&](const PictureFormat& f) { return kestrin::iequals(f.extension, extension); });
}

const PictureFormat* PictureFormats::findExtension(std::string_view extension) const {
  for (auto f = formats_.rbegin(); f != formats_.rend(); ++f)
    if (kestrin::iequals(f->extension, extension)) return &*f;
  return nullptr;
}

const PictureFormat* PictureFormats::findClipboardFormat(uint16_t format) const {
  for (auto f = formats_.rbegin(); f != formats_.rend(); ++f)
    if (format != 0 && f->clipboard_format == format) return &*f;
  return nullptr;
}

std::unique_ptr<TGraphic> PictureFormats::loadFromFile(const std::string& path) const {
  const std::string ext = kestrin::extension_of(path);
  const PictureFormat* f = findExtension(ext.empty() ? ext : ext.substr(1));
  if (!f) throw kestrin::EInvalidGraphic("Unknown picture file extension (" + ext + ")");
  std::unique_ptr<TGraphic> graphic = f->create();
  graphic->LoadFromFile(path);
  return graphic;
}

PictureFormats& picture_formats() {
  static PictureFormats table;
  return table;
}

}  // namespace kgui
