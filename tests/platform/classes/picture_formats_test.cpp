// The picture-format table: lookups without case, the latest registration first, and the
// platform's refusal of an extension nobody registered.
#include <gtest/gtest.h>

#include "base/runtime_errors.h"
#include "platform/classes/picture_formats.h"

namespace kgui {
namespace {

// A graphic that remembers the file it was loaded from.
class NamedGraphic : public TGraphic {
public:
  explicit NamedGraphic(std::string kind) : kind_(std::move(kind)) {}
  void LoadFromFile(const std::string& path) override { loaded_ = kind_ + ":" + path; }
  void SaveToFile(const std::string&) const override {}
  void LoadFromClipboardFormat(uint16_t, const std::vector<uint8_t>*) override {}
  std::vector<uint8_t> SaveToClipboardFormat(uint16_t& format) const override {
    format = 0;
    return {};
  }
  std::string loaded_;

private:
  std::string kind_;
};

PictureFormat format(const char* ext, const char* kind, uint16_t clipboard) {
  return {ext, std::string(kind) + " pictures", clipboard, [kind] { return std::make_unique<NamedGraphic>(kind); }};
}

TEST(PictureFormats, FindsByExtensionAndClipboardFormatLatestFirst) {
  PictureFormats formats;
  formats.registerFormat(format("dib", "first", 8));
  formats.registerFormat(format("bmp", "bitmap", 0));
  formats.registerFormat(format("DIB", "second", 8));
  EXPECT_EQ(formats.findExtension("dib")->description, "second pictures");
  EXPECT_EQ(formats.findClipboardFormat(8)->description, "second pictures");
  EXPECT_EQ(formats.findClipboardFormat(0), nullptr);
  auto g = formats.loadFromFile("/data/Pic.Bmp");
  EXPECT_EQ(static_cast<NamedGraphic&>(*g).loaded_, "bitmap:/data/Pic.Bmp");
  formats.unregisterFormat("Dib");
  EXPECT_EQ(formats.findExtension("dib"), nullptr);
  for (const char* path : {"/data/a.xyz", "/data/noext"}) {
    try {
      formats.loadFromFile(path);
      ADD_FAILURE() << path;
    } catch (const kestrin::EInvalidGraphic& e) {
      EXPECT_EQ(std::string(e.what()), std::string("Unknown picture file extension (") +
                                           (std::string(path) == "/data/a.xyz" ? ".xyz" : "") + ")");
    }
  }
}

}  // namespace
}  // namespace kgui
