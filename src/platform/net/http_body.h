// The framing of an HTTP response body: a length, the chunked transfer coding (RFC 9112
// section 7.1), everything until the connection closes, or no body at all. One decoder
// serves the socket client and the TLS transport.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kestrin::net {

// A body whose framing is broken (a bad chunk size line, an over-long trailer).
class HttpBodyError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// The body length that a response's Content-Length lines give (RFC 9110 section 8.6). A
// line may list the same length several times ("10, 10"); a value that is no decimal
// number, or lengths that differ, make the framing unknowable, and Add throws
// HttpBodyError rather than let a body be cut or run on.
class ContentLengthField {
public:
  void Add(std::string_view value);
  // -1 while no line has come.
  int64_t length() const { return length_; }

private:
  int64_t length_ = -1;
};

class HttpBodyDecoder {
public:
  enum class Framing { None, Length, Chunked, UntilClose };

  HttpBodyDecoder() = default;
  HttpBodyDecoder(Framing framing, int64_t length) : framing_(framing), remaining_(length) {}
  // The framing of a response (RFC 9112 section 6.3): none for HEAD, 1xx, 204 and 304;
  // chunked when the transfer coding says so; else the length when there is one (-1: none);
  // else until close.
  static HttpBodyDecoder ForResponse(bool head_request, int status, bool chunked, int64_t content_length);

  // Decodes the `n` raw bytes at `data` in place: the body bytes among them move to the
  // front and their count is returned; bytes past the end of the body are dropped.
  // Throws HttpBodyError on broken framing.
  size_t Decode(char* data, size_t n);
  // At most this many raw bytes should be read next, so nothing past a body of known
  // length is taken from the connection.
  size_t ReadLimit(size_t buffer_size) const;
  // The whole body has arrived (further reads would give nothing).
  bool Done() const;
  // The connection has closed: true when the body is complete, false when it was cut short.
  bool CompleteAtClose() const;
  Framing framing() const { return framing_; }

private:
  enum class ChunkState { SizeLine, Data, DataEnd, Trailer, Finished };
  size_t DecodeChunked(char* data, size_t n);
  void AddSizeLineByte(char c);
  void AddTrailerByte(char c);

  Framing framing_ = Framing::None;
  int64_t remaining_ = 0;  // Length: bytes still due; Chunked: bytes left in this chunk
  ChunkState state_ = ChunkState::SizeLine;
  std::string line_;       // the chunk size line or trailer line being read
  size_t trailer_bytes_ = 0;
  bool data_end_cr_ = false;
};

}  // namespace kestrin::net
