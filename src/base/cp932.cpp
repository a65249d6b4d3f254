// UTF-8 <-> code page 932 through glibc iconv ("CP932", Windows' mapping). Bytes or
// characters that cannot be converted become '?' and conversion goes on after them.
#include "base/cp932.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

namespace kestrin {
namespace {

// One iconv descriptor per thread and direction, reset before every use.
class Converter {
public:
  Converter(const char* to, const char* from) : cd_(::iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
  }
  ~Converter() { ::iconv_close(cd_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // `skip` tells how many input bytes an unconvertible sequence at the given place spans.
  template <typename Skip>
  std::string run(std::string_view in, Skip skip) {
    ::iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    std::string out;
    char buf[4096];
    char* src = const_cast<char*>(in.data());
    size_t left = in.size();
    while (left > 0) {
      char* dst = buf;
      size_t room = sizeof buf;
      const size_t r = ::iconv(cd_, &src, &left, &dst, &room);
      const int err = errno;
      out.append(buf, static_cast<size_t>(dst - buf));
      if (r != static_cast<size_t>(-1) || err == E2BIG) continue;
      // EILSEQ (invalid or unmappable) or EINVAL (cut short at the end).
      out.push_back('?');
      const size_t n = err == EINVAL ? left : skip(std::string_view(src, left));
      src += n;
      left -= n;
      ::iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    }
    return out;
  }

private:
  iconv_t cd_;
};

// Length of the UTF-8 character starting `s`, 1 for a byte that cannot start one.
size_t utf8_length(std::string_view s) {
  const unsigned char c = static_cast<unsigned char>(s[0]);
  const size_t n = c >= 0xF0 && c <= 0xF4 ? 4 : c >= 0xE0 ? (c <= 0xEF ? 3 : 1) : c >= 0xC2 ? 2 : 1;
  if (n > s.size()) return 1;
  for (size_t i = 1; i < n; ++i)
    if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) return 1;
  return n;
}

// Bytes below 0x80 are the same characters in both: text of them alone is taken as it is,
// without the converter, whose module the C library would otherwise load at its first use.
bool is_ascii(std::string_view s) {
  for (char c : s)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

}  // namespace

std::string cp932_to_utf8(std::string_view cp932) {
  if (is_ascii(cp932)) return std::string(cp932);
  thread_local Converter converter("UTF-8", "CP932");
  return converter.run(cp932, [](std::string_view) { return size_t{1}; });
}

std::string utf8_to_cp932(std::string_view utf8) {
  if (is_ascii(utf8)) return std::string(utf8);
  thread_local Converter converter("CP932", "UTF-8");
  return converter.run(utf8, utf8_length);
}

bool is_valid_utf8(std::string_view s) {
  size_t i = 0;
  while (i < s.size()) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
      ++i;
      continue;
    }
    const size_t n = c >= 0xC2 && c <= 0xDF ? 2 : c >= 0xE0 && c <= 0xEF ? 3 : c >= 0xF0 && c <= 0xF4 ? 4 : 0;
    if (n == 0 || i + n > s.size()) return false;
    for (size_t k = 1; k < n; ++k)
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    const unsigned char c1 = static_cast<unsigned char>(s[i + 1]);
    if (c == 0xE0 && c1 < 0xA0) return false;  // overlong
    if (c == 0xED && c1 >= 0xA0) return false;  // surrogates
    if (c == 0xF0 && c1 < 0x90) return false;  // overlong
    if (c == 0xF4 && c1 >= 0x90) return false;  // above U+10FFFF
    i += n;
  }
  return true;
}

void append_utf8(std::string& out, uint32_t cp) {
  if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = '?';
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

}  // namespace kestrin
