// Fuji header parser, pixel reader and writer. The kind tests on header lines are
// substring tests, so "1000" also counts as "100".
#include "image/formats/fuji.h"

#include <stdexcept>
#include <vector>

#include "base/byte_reader.h"
#include "base/convert.h"
#include "base/file_budget.h"
#include "base/paths.h"
#include "base/text_file.h"
#include "image/formats/copy_target.h"
#include "image/formats/pixel_rows.h"

namespace kestrin {
namespace {

bool contains(std::string_view s, std::string_view part) { return s.find(part) != std::string_view::npos; }

// Header lines numbered from 1; lines past the end are empty.
class Lines {
public:
  explicit Lines(std::string_view text) : lines_(split_lines(text)) {}
  const std::string& operator[](size_t n) const { return n >= 1 && n <= lines_.size() ? lines_[n - 1] : empty_; }

private:
  std::vector<std::string> lines_;
  std::string empty_;
};

void parse_bits(std::string_view line, FujiHeader& h) {
  if (contains(line, "8")) h.bits = 8;
  if (contains(line, "10")) h.bits = 10;
  if (contains(line, "16")) {
    h.bits = 16;
    h.type = kTypeBAS2500;
  }
}

bool plate_size_known(std::string_view line) { return contains(line, "20*40") || contains(line, "20*25"); }
bool pixel_size_known(std::string_view line) { return contains(line, "100") || contains(line, "200"); }

// BAS2000 / BAS2500 / MAC-to-BAS layout; throws ConversionError on a non-number.
void parse_bas(const Lines& l, FujiHeader& h) {
  if (!plate_size_known(l[3])) h.type = kTypeBAS2500;
  if (!pixel_size_known(l[4])) h.type = kTypeBAS2500;
  h.pixel_x = StrToFloat(l[4]) / 1000.0;
  if (!pixel_size_known(l[5])) h.type = kTypeBAS2500;
  h.pixel_y = StrToFloat(l[5]) / 1000.0;
  parse_bits(l[6], h);
  h.width = StrToInt(l[7]);
  h.height = StrToInt(l[8]);
  h.sensitivity = StrToInt(l[9]);
  const int32_t s = h.sensitivity;
  if (s != 400 && s != 1000 && s != 4000 && s != 10000) h.type = kTypeBAS2500;
  h.latitude = StrToFloat(l[10]);
  const double lat = h.latitude;
  if (lat != 1 && lat != 2 && lat != 3 && lat != 4) h.type = kTypeBAS2500;
  h.info1 = l[11];
  h.info2 = l[15];
}

// BA100 layout; throws ConversionError on a non-number.
void parse_ba100(const Lines& l, FujiHeader& h) {
  const int32_t flags = StrToInt(l[2]);
  h.pixel_y = h.pixel_x = (flags & 16) ? 0.1 : 0.2;
  h.bits = (flags & 1) ? 10 : 8;
  h.latitude = (StrToInt(l[4]) + 1) / 64.0;
  StrToInt(l[5]);
  h.sensitivity = 10000;
  h.height = StrToInt(l[6]);
  const int32_t bytes_per_row = StrToInt(l[7]);
  h.width = round_saturated(double(bytes_per_row) / (h.bits == 8 ? 1 : 2));
  for (size_t n = 8; n <= 11; ++n) StrToInt(l[n]);
  h.info2 = l[14];
  h.info1 = l[15];
}

const char* banner(int32_t type) {
  switch (type) {
    case kTypeBA100: return "*****  Fuji BA100 format  *****";
    case kTypeBAS2000: return "*****  Fuji BAS2000 format  *****";
    case kTypeBAS2500: return "*****  Fuji BAS2500 format  *****";
    default: return "*****  MACtoBAS2000 format  *****";
  }
}

// BA100 headers give one size: Y takes it and X follows the Y in use.
HeaderGeometry pixel_sizes(const FujiHeader& h) {
  HeaderGeometry g;
  g.pixel_y = h.pixel_y;
  if (h.ba100) g.pixel_x_follows_y = true;
  else g.pixel_x = h.pixel_x;
  return g;
}

ReadingConditions reading_conditions(const FujiHeader& h) {
  ReadingConditions c;
  c.type = h.type;
  c.bits = h.bits;
  c.sensitivity = h.sensitivity;
  c.latitude = h.latitude;
  c.info1 = h.info1;
  c.info2 = h.info2;
  return c;
}

bool size_ok(int32_t w, int32_t h) { return w >= 1 && h >= 1 && w <= kMaxImageSide && h <= kMaxImageSide; }

// The Fuji statistics run on codes: a larger (smaller) code sets the log value and the
// linear value Round(I + 0.5).
void fuji_statistics(ImageData& s) {
  const double* it = s.intensity_table.data();
  int32_t log_max = 0, log_min = s.LogSaturation;
  int32_t lin_max = 0, lin_min = s.LinearSaturation;
  for (uint16_t c : s.image_codes) {
    if (c > log_max) {
      log_max = c;
      lin_max = round_saturated(it[c] + 0.5);
    }
    if (c < log_min) {
      log_min = c;
      lin_min = round_saturated(it[c] + 0.5);
    }
  }
  s.LogMax = log_max;
  s.LogMin = log_min;
  s.LinearMax = lin_max;
  s.LinearMin = lin_min;
}

// The ".inf" is a short text; a larger file is not a Fuji header.
bool read_header_text(const std::string& path, std::string& text) {
  try {
    text = read_file_within(path, 1 << 20);
    return true;
  } catch (const std::runtime_error&) {
    return false;
  }
}

// The pixels by the header's size and depth, with the Fuji law and statistics.
DecodedImage decode_fuji_pixels(DecodedImage&& d, const FujiHeader& h, std::span<const uint8_t> bytes, bool reverse) {
  const int bits = h.bits;
  const int bpp = h.bytes_per_pixel;
  if (bits != 8 && bits != 10 && bits != 16)
    return refused(std::move(d), " read_fuji_file() : The header gives no usable bit depth.");
  const size_t w = size_t(h.width);
  if (!ByteReader(bytes).has(0, w * size_t(h.height) * size_t(bpp)))
    return refused(std::move(d), " read_fuji_file() : File is too short.");
  ImageData& image = d.data;
  build_fuji_tables(image, bits, h.latitude);
  image.set_size_unfilled(h.width, h.height, bpp);
  d.log(bpp == 1 ? " 8 bits to 16 bits padding...." : " Swapping byte order...");
  for_each_file_row(image, reverse, [&](uint16_t* dst, int32_t r) {
    const uint8_t* src = bytes.data() + size_t(r) * w * size_t(bpp);
    if (bpp == 1) decode_u8_row(src, dst, w);
    else decode_u16be_row(src, dst, w);
  });
  fuji_statistics(image);
  d.ok = true;
  return std::move(d);
}

}  // namespace

bool parse_fuji_header(std::string_view text, int prior_bits, FujiHeader& h, std::string& error) {
  const Lines l(text);
  h = FujiHeader();
  h.bits = prior_bits;
  if (contains(l[1], "BAS_IMAGE_FILE")) h.type = kTypeBAS2000;
  else if (plate_size_known(l[3])) h.type = kTypeMacToBas;
  else h.type = kTypeBA100;
  h.ba100 = h.type == kTypeBA100;
  try {
    if (h.ba100) parse_ba100(l, h);
    else parse_bas(l, h);
  } catch (const ConversionError& e) {
    error = e.what();
    return false;
  }
  h.bytes_per_pixel = h.bits == 8 ? 1 : 2;
  return true;
}

DecodedImage decode_fuji_image(std::string_view header_text, std::span<const uint8_t> pixels,
                               const DecodeOptions& options, ImageData storage) {
  DecodedImage d(std::move(storage));
  FujiHeader h;
  std::string error;
  if (!parse_fuji_header(header_text, options.prior_bits, h, error))
    return refused(std::move(d), " read_information_file() : " + error);
  d.geometry = pixel_sizes(h);
  d.fuji = reading_conditions(h);
  d.log(banner(h.type));
  if (h.width > kMaxImageSide || h.height > kMaxImageSide)
    return refused(std::move(d), " read_infomation_file() : Number of pixels is too large.");
  if (h.width < 1 || h.height < 1)
    return refused(std::move(d), " read_infomation_file() : Number of pixels is zero or negative.");
  d.log(" read_fuji_file() : Find gimg_file_name");
  return decode_fuji_pixels(std::move(d), h, pixels, options.reverse_rows);
}

DecodedImage read_fuji_image(const std::string& inf_path, std::span<const uint8_t> pixels, const DecodeOptions& options,
                             ImageData storage) {
  const auto found = find_side_file(inf_path);
  std::string text;
  if (!found || !read_header_text(*found, text))
    return refused(DecodedImage(std::move(storage)), " read_information_file() : " + inf_path + " open error.");
  DecodedImage d = decode_fuji_image(text, pixels, options, std::move(storage));
  if (d.fuji) d.fuji->header_path = *found;
  return d;
}

WriteResult save_fuji_file(const ImageData& image, const std::string& inf_source, const std::string& name,
                           bool reverse_rows) {
  const std::string inf_target = change_extension(name, ".inf");
  const bool copy_header = !file_exists(inf_target);
  std::string text;
  FujiHeader h;
  std::string error;
  // A header that names no depth is written at the image's own depth.
  const int prior_bits = image.BytesPerPixel == 1 ? 8 : 16;
  if (!bytes_after_copy(inf_source, inf_target, text) || !parse_fuji_header(text, prior_bits, h, error))
    return {false, {" save_fuji_file() : " + inf_target + " is not a usable header."}};
  if (h.width != image.ImageWidth || h.height != image.ImageHeight ||
      image.image_codes.size() != size_t(h.width) * size_t(h.height) || !size_ok(h.width, h.height))
    return {false, {" save_fuji_file() : " + name + " does not match the image."}};
  const size_t w = size_t(h.width);
  const size_t bpp = size_t(h.bytes_per_pixel);
  std::string out(w * size_t(h.height) * bpp, '\0');
  auto* dst0 = reinterpret_cast<uint8_t*>(out.data());
  for_each_file_row(image, reverse_rows, [&](const uint16_t* src, int32_t r) {
    uint8_t* dst = dst0 + size_t(r) * w * bpp;
    if (bpp == 1) encode_u8_row(src, dst, w);
    else encode_u16be_row(src, dst, w);
  });
  if ((copy_header && !write_file_bytes(inf_target, text)) || !write_file_bytes(name, out))
    return {false, {" save_fuji_file() : " + name + " write error."}};
  return {};
}

}  // namespace kestrin
