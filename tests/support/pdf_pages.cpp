// Poppler's readings of printed files.
#include "support/pdf_pages.h"

#include <cstdio>

#include "support/temp_dir.h"

namespace kestrin::test {

namespace {

std::string quoted(const std::string& path) { return "'" + path + "'"; }

std::string tool_output(const std::string& command) {
  std::string out;
  return run_command(command + " 2>/dev/null", &out) == 0 ? out : std::string();
}

// The value after "Key:" in pdfinfo's output.
std::string pdf_info(const std::string& path, const std::string& key) {
  const std::string info = tool_output("pdfinfo " + quoted(path));
  const size_t at = info.find(key + ":");
  if (at == std::string::npos) return {};
  size_t from = info.find_first_not_of(' ', at + key.size() + 1);
  const size_t end = info.find('\n', from);
  return info.substr(from, end - from);
}

}  // namespace

bool poppler_available() { return run_command("command -v pdftotext pdfinfo pdftoppm >/dev/null") == 0; }

std::string pdf_text(const std::string& path) { return tool_output("pdftotext -layout " + quoted(path) + " -"); }

int pdf_pages(const std::string& path) { return std::atoi(pdf_info(path, "Pages").c_str()); }

std::string pdf_page_size(const std::string& path) { return pdf_info(path, "Page size"); }

std::vector<std::vector<uint8_t>> pdf_grey_page(const std::string& path, int page, int dpi) {
  const std::string pgm = tool_output("pdftoppm -gray -r " + std::to_string(dpi) + " -f " + std::to_string(page) +
                                      " -l " + std::to_string(page) + " " + quoted(path));
  // P5 <width> <height> 255 then the bytes.
  int w = 0, h = 0, maxval = 0, used = 0;
  if (std::sscanf(pgm.c_str(), "P5 %d %d %d%n", &w, &h, &maxval, &used) != 3 || w <= 0 || h <= 0) return {};
  const size_t start = size_t(used) + 1;
  if (pgm.size() < start + size_t(w) * size_t(h)) return {};
  std::vector<std::vector<uint8_t>> rows(static_cast<size_t>(h));
  for (int y = 0; y < h; ++y) {
    const auto* row = reinterpret_cast<const uint8_t*>(pgm.data() + start + size_t(y) * size_t(w));
    rows[size_t(y)].assign(row, row + w);
  }
  return rows;
}

}  // namespace kestrin::test
