// Fuzz target: the body framing decoder on arbitrary bytes in arbitrary pieces; the first
// byte chooses the framing and the piece size.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/net/http_body.h"

using kestrin::net::HttpBodyDecoder;
using kestrin::net::HttpBodyError;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const auto framing = static_cast<HttpBodyDecoder::Framing>(data[0] & 3);
  const size_t piece = 1 + (data[0] >> 2);
  std::string raw(reinterpret_cast<const char*>(data + 1), size - 1);
  HttpBodyDecoder decoder(framing, static_cast<int64_t>(size / 2));
  size_t body = 0;
  try {
    for (size_t pos = 0; pos < raw.size() && !decoder.Done(); pos += piece) {
      const size_t n = std::min(piece, raw.size() - pos);
      const size_t out = decoder.Decode(raw.data() + pos, n);
      if (out > n) __builtin_trap();
      body += out;
    }
  } catch (const HttpBodyError&) {
  }
  if (body > raw.size()) __builtin_trap();
  (void)decoder.CompleteAtClose();
  return 0;
}
