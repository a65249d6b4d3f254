// HTTP body framing: lengths, the chunked coding fed in every split, and broken framing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/net/http_body.h"

namespace kestrin::net {
namespace {

using Framing = HttpBodyDecoder::Framing;

// Feeds `raw` in pieces of `piece` bytes; the decoded body.
std::string decode(HttpBodyDecoder& d, std::string raw, size_t piece) {
  std::string body;
  for (size_t pos = 0; pos < raw.size() && !d.Done(); pos += piece) {
    std::string part = raw.substr(pos, piece);
    body.append(part.data(), d.Decode(part.data(), part.size()));
  }
  return body;
}

TEST(HttpBody, ChunkedBodiesDecodeWhateverTheSplit) {
  const std::string raw =
      "5\r\nhello\r\n1;name=value\r\n \r\nA\r\n0123456789\r\n0\r\nTrailer: x\r\n\r\nafter the end";
  for (size_t piece = 1; piece <= raw.size(); ++piece) {
    HttpBodyDecoder d(Framing::Chunked, 0);
    EXPECT_EQ(decode(d, raw, piece), "hello 0123456789") << piece;
    EXPECT_TRUE(d.Done());
    EXPECT_TRUE(d.CompleteAtClose());
  }
  HttpBodyDecoder lf(Framing::Chunked, 0);  // bare LF line ends are taken too
  EXPECT_EQ(decode(lf, "3\nabc\n0\n\n", 4), "abc");
}

TEST(HttpBody, BrokenChunkFramingIsAnError) {
  const char* cases[] = {"zz\r\n", "5\r\nhelloXX", "\r\n", "fffffffffffffffffff\r\n", "5 x\r\n"};
  for (const char* raw : cases) {
    HttpBodyDecoder d(Framing::Chunked, 0);
    std::string s = raw;
    EXPECT_THROW(d.Decode(s.data(), s.size()), HttpBodyError) << raw;
  }
  HttpBodyDecoder endless(Framing::Chunked, 0);
  std::string line(5000, '1');
  EXPECT_THROW(endless.Decode(line.data(), line.size()), HttpBodyError);  // size line budget
  HttpBodyDecoder trailers(Framing::Chunked, 0);
  std::string raw = "0\r\n" + std::string(70000, 'x');
  EXPECT_THROW(trailers.Decode(raw.data(), raw.size()), HttpBodyError);  // trailer budget
  HttpBodyDecoder cut(Framing::Chunked, 0);
  std::string part = "5\r\nhel";
  cut.Decode(part.data(), part.size());
  EXPECT_FALSE(cut.CompleteAtClose());
}

TEST(HttpBody, LengthsCutTheBodyAndCloseDecidesTheRest) {
  HttpBodyDecoder d(Framing::Length, 5);
  EXPECT_EQ(d.ReadLimit(65536), 5u);
  std::string s = "abcdefg";
  EXPECT_EQ(d.Decode(s.data(), s.size()), 5u);
  EXPECT_TRUE(d.Done());
  EXPECT_EQ(d.ReadLimit(65536), 0u);

  HttpBodyDecoder short_body(Framing::Length, 10);
  std::string three = "abc";
  short_body.Decode(three.data(), 3);
  EXPECT_FALSE(short_body.CompleteAtClose());

  HttpBodyDecoder until_close(Framing::UntilClose, 0);
  EXPECT_EQ(until_close.Decode(s.data(), s.size()), 7u);
  EXPECT_FALSE(until_close.Done());
  EXPECT_TRUE(until_close.CompleteAtClose());
}

// Content-Length lines (RFC 9110 section 8.6): the same length may come again, on one line
// or several; anything else leaves the body's end unknown and is refused.
TEST(HttpBody, ContentLengthsMustAgreeAndBeDecimal) {
  const struct {
    std::vector<std::string> values;
    int64_t length;  // -2: refused
  } cases[] = {
      {{}, -1},
      {{"10"}, 10},
      {{" 0 "}, 0},
      {{"10, 10", "10"}, 10},
      {{"999999999999999999"}, 999999999999999999},
      {{"10", "5"}, -2},
      {{"10,5"}, -2},
      {{"-5"}, -2},
      {{"+5"}, -2},
      {{"abc"}, -2},
      {{""}, -2},
      {{"10,"}, -2},
      {{"1e3"}, -2},
      {{"9999999999999999999"}, -2},
  };
  for (const auto& c : cases) {
    ContentLengthField field;
    int64_t got = -1;
    try {
      for (const std::string& v : c.values) field.Add(v);
      got = field.length();
    } catch (const HttpBodyError&) {
      got = -2;
    }
    EXPECT_EQ(got, c.length) << (c.values.empty() ? std::string("none") : c.values.front());
  }
}

TEST(HttpBody, ResponsesWithoutABody) {
  const struct {
    bool head;
    int status;
    bool chunked;
    int64_t length;
    Framing framing;
  } cases[] = {
      {true, 200, false, 100, Framing::None},    {false, 204, false, 100, Framing::None},
      {false, 304, true, -1, Framing::None},     {false, 101, false, -1, Framing::None},
      {false, 200, true, 100, Framing::Chunked}, {false, 200, false, 0, Framing::Length},
      {false, 200, false, -1, Framing::UntilClose},
  };
  for (const auto& c : cases)
    EXPECT_EQ(HttpBodyDecoder::ForResponse(c.head, c.status, c.chunked, c.length).framing(), c.framing) << c.status;
}

}  // namespace
}  // namespace kestrin::net
