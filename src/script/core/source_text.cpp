// Decoding of script source bytes to characters and encoding of literal text to CP932.
#include "script/core/source_text.h"

#include <iconv.h>

#include <cstring>

namespace kestrin::script {
namespace {

bool IsLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
bool IsTrail(unsigned char c) { return c >= 0x40 && c <= 0xFC && c != 0x7F; }

// Walks strict UTF-8 (no overlong forms, surrogates or values past U+10FFFF), handing each
// character to `put`; false at the first fault.
template <class Put>
bool WalkUtf8(std::string_view s, Put put) {
  size_t i = 0;
  while (i < s.size()) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
      put(c);
      ++i;
      continue;
    }
    int n = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : -1;
    if (n < 0 || c > 0xF4 || i + n >= s.size()) return false;
    char32_t cp = c & (0x3F >> n);
    for (int k = 1; k <= n; ++k) {
      unsigned char t = static_cast<unsigned char>(s[i + k]);
      if ((t & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (t & 0x3F);
    }
    static constexpr char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kMin[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    put(cp);
    i += n + 1;
  }
  return true;
}

bool DecodeUtf8(std::string_view s, std::u32string& out) {
  out.clear();
  out.reserve(s.size());
  return WalkUtf8(s, [&](char32_t c) { out.push_back(c); });
}

// One Unicode character to CP932 through iconv; '?' when CP932 has no such character.
class UnicodeToCp932 {
public:
  UnicodeToCp932() : cd_(iconv_open("CP932", "UTF-32LE")) {}
  ~UnicodeToCp932() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
  }
  UnicodeToCp932(const UnicodeToCp932&) = delete;
  UnicodeToCp932& operator=(const UnicodeToCp932&) = delete;

  void Append(char32_t cp, std::string& out) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) {
      out.push_back('?');
      return;
    }
    char in[4] = {static_cast<char>(cp & 0xFF), static_cast<char>((cp >> 8) & 0xFF),
                  static_cast<char>((cp >> 16) & 0xFF), static_cast<char>(cp >> 24)};
    char buf[8];
    char* inp = in;
    char* outp = buf;
    size_t inleft = sizeof in, outleft = sizeof buf;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd_, &inp, &inleft, &outp, &outleft) == static_cast<size_t>(-1) || outp == buf) {
      out.push_back('?');
      return;
    }
    out.append(buf, static_cast<size_t>(outp - buf));
  }

private:
  iconv_t cd_;
};

}  // namespace

std::u32string DecodeCp932(std::string_view bytes) {
  std::u32string out;
  out.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (c < 0x80) {
      out.push_back(c);
    } else if (IsLead(c) && i + 1 < bytes.size() && IsTrail(static_cast<unsigned char>(bytes[i + 1]))) {
      out.push_back(kCp932CharBase + c * 256u + static_cast<unsigned char>(bytes[i + 1]));
      ++i;
    } else {
      out.push_back(kCp932CharBase + c);
    }
  }
  return out;
}

bool IsStrictUtf8(std::string_view bytes) {
  return WalkUtf8(bytes, [](char32_t) {});
}

std::u32string DecodeScriptSource(std::string_view bytes) {
  std::u32string out;
  if (DecodeUtf8(bytes, out)) return out;
  return DecodeCp932(bytes);
}

void AppendCp932(char32_t c, std::string& out) {
  static thread_local UnicodeToCp932 converter;
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c >= kCp932CharBase) {
    char32_t v = c - kCp932CharBase;
    if (v > 0xFF) out.push_back(static_cast<char>(v >> 8));
    out.push_back(static_cast<char>(v & 0xFF));
  } else {
    converter.Append(c, out);
  }
}

std::string EncodeCp932(std::u32string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char32_t c : text) AppendCp932(c, out);
  return out;
}

}  // namespace kestrin::script
