// HTTP body framing, decoded in place so a body passes through one buffer.
#include "platform/net/http_body.h"

#include <algorithm>
#include <cstring>

namespace kestrin::net {
namespace {

constexpr size_t kMaxSizeLine = 4096;      // chunk size with its extensions
constexpr size_t kMaxTrailer = 65536;      // all trailer lines together
constexpr int64_t kMaxChunkSize = int64_t{1} << 60;

int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The size of a chunk size line without its line end ("1a;name=value").
int64_t parse_chunk_size(const std::string& line) {
  size_t i = 0;
  while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
  int64_t size = 0;
  size_t digits = 0;
  for (; i < line.size() && hex_value(line[i]) >= 0; ++i, ++digits) {
    if (size > kMaxChunkSize / 16) throw HttpBodyError("chunk too large");
    size = size * 16 + hex_value(line[i]);
  }
  while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
  if (digits == 0 || (i < line.size() && line[i] != ';')) throw HttpBodyError("bad chunk size");
  return size;
}

}  // namespace

void ContentLengthField::Add(std::string_view value) {
  for (size_t start = 0; start <= value.size();) {
    size_t end = value.find(',', start);
    if (end == std::string_view::npos) end = value.size();
    std::string_view piece = value.substr(start, end - start);
    start = end + 1;
    while (!piece.empty() && (piece.front() == ' ' || piece.front() == '\t')) piece.remove_prefix(1);
    while (!piece.empty() && (piece.back() == ' ' || piece.back() == '\t')) piece.remove_suffix(1);
    // 18 digits at most: every such number fits an int64_t.
    if (piece.empty() || piece.size() > 18 || piece.find_first_not_of("0123456789") != std::string_view::npos)
      throw HttpBodyError("invalid Content-Length");
    int64_t n = 0;
    for (char c : piece) n = n * 10 + (c - '0');
    if (length_ >= 0 && n != length_) throw HttpBodyError("conflicting Content-Length");
    length_ = n;
  }
}

HttpBodyDecoder HttpBodyDecoder::ForResponse(bool head_request, int status, bool chunked, int64_t content_length) {
  if (head_request || (status >= 100 && status < 200) || status == 204 || status == 304)
    return HttpBodyDecoder(Framing::None, 0);
  if (chunked) return HttpBodyDecoder(Framing::Chunked, 0);
  if (content_length >= 0) return HttpBodyDecoder(Framing::Length, content_length);
  return HttpBodyDecoder(Framing::UntilClose, 0);
}

size_t HttpBodyDecoder::Decode(char* data, size_t n) {
  switch (framing_) {
    case Framing::None:
      return 0;
    case Framing::Length: {
      const size_t take = static_cast<size_t>(std::min<int64_t>(remaining_, static_cast<int64_t>(n)));
      remaining_ -= static_cast<int64_t>(take);
      return take;
    }
    case Framing::UntilClose:
      return n;
    case Framing::Chunked:
      return DecodeChunked(data, n);
  }
  return 0;
}

size_t HttpBodyDecoder::ReadLimit(size_t buffer_size) const {
  if (framing_ == Framing::Length) return static_cast<size_t>(std::min<int64_t>(remaining_, static_cast<int64_t>(buffer_size)));
  return Done() ? 0 : buffer_size;
}

bool HttpBodyDecoder::Done() const {
  switch (framing_) {
    case Framing::None: return true;
    case Framing::Length: return remaining_ == 0;
    case Framing::Chunked: return state_ == ChunkState::Finished;
    case Framing::UntilClose: return false;
  }
  return true;
}

bool HttpBodyDecoder::CompleteAtClose() const { return framing_ == Framing::UntilClose || Done(); }

// The chunked coding as a byte-driven state machine; data bytes are moved down over the
// size lines and line ends that preceded them.
size_t HttpBodyDecoder::DecodeChunked(char* data, size_t n) {
  size_t in = 0, out = 0;
  while (in < n && state_ != ChunkState::Finished) {
    switch (state_) {
      case ChunkState::SizeLine:
        AddSizeLineByte(data[in++]);
        break;
      case ChunkState::Data: {
        const size_t take = static_cast<size_t>(std::min<int64_t>(remaining_, static_cast<int64_t>(n - in)));
        if (out != in) std::memmove(data + out, data + in, take);
        out += take;
        in += take;
        remaining_ -= static_cast<int64_t>(take);
        if (remaining_ == 0) state_ = ChunkState::DataEnd;
        break;
      }
      case ChunkState::DataEnd: {
        const char c = data[in++];
        if (c == '\r' && !data_end_cr_) {
          data_end_cr_ = true;
        } else if (c == '\n') {
          data_end_cr_ = false;
          state_ = ChunkState::SizeLine;
        } else {
          throw HttpBodyError("bad chunk end");
        }
        break;
      }
      case ChunkState::Trailer:
        AddTrailerByte(data[in++]);
        break;
      case ChunkState::Finished:
        break;
    }
  }
  return out;
}

void HttpBodyDecoder::AddSizeLineByte(char c) {
  if (c != '\n') {
    if (line_.size() >= kMaxSizeLine) throw HttpBodyError("chunk size line too long");
    line_ += c;
    return;
  }
  if (!line_.empty() && line_.back() == '\r') line_.pop_back();
  remaining_ = parse_chunk_size(line_);
  line_.clear();
  state_ = remaining_ == 0 ? ChunkState::Trailer : ChunkState::Data;
}

void HttpBodyDecoder::AddTrailerByte(char c) {
  if (++trailer_bytes_ > kMaxTrailer) throw HttpBodyError("trailer too long");
  if (c != '\n') {
    line_ += c;
    return;
  }
  if (!line_.empty() && line_.back() == '\r') line_.pop_back();
  if (line_.empty()) state_ = ChunkState::Finished;
  line_.clear();
}

}  // namespace kestrin::net
