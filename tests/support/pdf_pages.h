// Reading printed PDF files back with poppler's command-line tools (pdfinfo, pdftotext,
// pdftoppm), for the printing tests.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace kestrin::test {

// Poppler's readings of a printed file: its text (pdftotext -layout), its page count and the
// first page's size in points (pdfinfo); "" and 0 when the file cannot be read.
std::string pdf_text(const std::string& path);
int pdf_pages(const std::string& path);
std::string pdf_page_size(const std::string& path);
// Page `page` rendered in grey at `dpi` (pdftoppm): rows of bytes, top row first.
std::vector<std::vector<uint8_t>> pdf_grey_page(const std::string& path, int page, int dpi);
bool poppler_available();

}  // namespace kestrin::test

// Skips the current test unless poppler's tools are installed (fails under CI=true).
#define KESTRIN_REQUIRE_POPPLER()                                        \
  do {                                                                  \
    if (!::kestrin::test::poppler_available()) {                        \
      const char* ci = std::getenv("CI");                               \
      if (ci && std::string(ci) == "true") FAIL() << "poppler missing"; \
      GTEST_SKIP() << "poppler-utils not installed";                    \
    }                                                                   \
  } while (0)
