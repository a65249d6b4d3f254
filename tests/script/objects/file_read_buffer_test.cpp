// File.readln's read-ahead buffer against a slow reference that reads 4096-byte pieces and
// seeks back after each line: the same lines, line kinds and positions, whatever the block
// size, around the 4096-byte piece and the block edges.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "platform/system/safe_file_stream.h"
#include "script/objects/file_object.h"
#include "support/temp_dir.h"

namespace kestrin::script {
namespace {

using platform::SeekOrigin;
using platform::TSafeFileStream;

struct LineRead {
  std::string line;
  bool terminated;
  int64_t position;
  bool operator==(const LineRead&) const = default;
};

// The obvious way: from the position, 4096 bytes at a time, up to the first LF; then a
// seek to just past it.
LineRead ReferenceLine(TSafeFileStream& s) {
  const int64_t start = s.Seek(0, SeekOrigin::Current);
  std::string line;
  for (;;) {
    char piece[4096];
    const int64_t n = s.Read(piece, sizeof piece);
    if (n <= 0) return {line, false, s.Seek(0, SeekOrigin::Current)};
    const std::string_view got(piece, static_cast<size_t>(n));
    const size_t lf = got.find('\n');
    if (lf != std::string_view::npos) {
      line.append(got.substr(0, lf + 1));
      const int64_t end = start + static_cast<int64_t>(line.size());
      s.Seek(end, SeekOrigin::Begin);
      return {line, true, end};
    }
    line.append(got);
  }
}

std::vector<LineRead> ReadAll(const std::string& path, size_t block) {
  TSafeFileStream s;
  EXPECT_TRUE(s.Open(path, platform::fmOpenRead, false));
  std::vector<LineRead> out;
  FileReadBuffer buffer(block);
  for (;;) {
    // As readln reads: a line inside the block first, else the whole way.
    std::string_view line;
    const FileReadBuffer::Line kind =
        buffer.LineInBlock(line) ? FileReadBuffer::Line::Terminated : buffer.ReadLine(s, line, SIZE_MAX);
    const std::string copy(line);
    // Every third line the stream takes the position back, as other File methods do.
    int64_t position = buffer.Position(s);
    if (out.size() % 3 == 2) {
      buffer.Sync(s);
      position = s.Seek(0, SeekOrigin::Current);
    }
    out.push_back({copy, kind == FileReadBuffer::Line::Terminated, position});
    if (kind != FileReadBuffer::Line::Terminated && copy.empty()) return out;
  }
}

std::vector<LineRead> ReadAllReference(const std::string& path) {
  TSafeFileStream s;
  EXPECT_TRUE(s.Open(path, platform::fmOpenRead, false));
  std::vector<LineRead> out;
  for (;;) {
    out.push_back(ReferenceLine(s));
    if (!out.back().terminated && out.back().line.empty()) return out;
  }
}

std::string Line(size_t length, char fill, const std::string& end) { return std::string(length, fill) + end; }

TEST(FileReadBuffer, LinesAndPositionsMatchTheReference) {
  test::TempDir dir;
  struct Case {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"around 4096", Line(4095, 'a', "\n") + Line(4096, 'b', "\n") + Line(4097, 'c', "\r\n") + Line(4094, 'd', "\r\n")},
      {"longer than the piece and the block", Line(70000, 'e', "\r\n") + "tail"},
      {"empty lines and CR alone", "\n\n\r\r\n\rx\r\n\n"},
      {"final line without LF", "one\r\ntwo  \t"},
      {"empty file", ""},
      {"only a LF", "\n"},
  };
  for (const Case& c : cases) {
    const std::string path = dir.file(c.name);
    std::ofstream(path, std::ios::binary) << c.bytes;
    const std::vector<LineRead> expected = ReadAllReference(path);
    // Small blocks split CR LF pairs and lines at every offset; 4096 and 64 KiB are the
    // piece size and the real block.
    for (size_t block : {size_t{1}, size_t{2}, size_t{7}, size_t{4095}, size_t{4096}, size_t{4097}, FileReadBuffer::kBlock}) {
      SCOPED_TRACE(std::string(c.name) + ", block " + std::to_string(block));
      EXPECT_EQ(ReadAll(path, block), expected);
    }
  }
}

TEST(FileReadBuffer, AtEndAndSyncAgreeWithTheStream) {
  test::TempDir dir;
  const std::string path = dir.file("f");
  std::ofstream(path, std::ios::binary) << "ab\ncd\nef";
  TSafeFileStream s;
  ASSERT_TRUE(s.Open(path, platform::fmOpenRead, false));
  FileReadBuffer buffer(4);
  std::string_view line;
  EXPECT_FALSE(buffer.AtEnd(s));
  EXPECT_EQ(buffer.ReadLine(s, line, SIZE_MAX), FileReadBuffer::Line::Terminated);
  EXPECT_EQ(line, "ab\n");
  EXPECT_FALSE(buffer.AtEnd(s));
  EXPECT_EQ(buffer.ReadLine(s, line, SIZE_MAX), FileReadBuffer::Line::Terminated);
  // Position 6 of 8 with the block read ahead to 8: not the end yet.
  EXPECT_FALSE(buffer.AtEnd(s));
  buffer.Sync(s);
  EXPECT_EQ(s.Seek(0, SeekOrigin::Current), 6);
  char two[2];
  EXPECT_EQ(s.Read(two, 2), 2);
  EXPECT_TRUE(buffer.AtEnd(s));
  EXPECT_EQ(buffer.ReadLine(s, line, SIZE_MAX), FileReadBuffer::Line::Unterminated);
  EXPECT_EQ(line, "");
}

TEST(FileReadBuffer, ALineOverTheLimitLeavesThePosition) {
  test::TempDir dir;
  const std::string path = dir.file("f");
  std::ofstream(path, std::ios::binary) << "short\n" << std::string(100, 'x') << "\nnext\n";
  TSafeFileStream s;
  ASSERT_TRUE(s.Open(path, platform::fmOpenRead, false));
  FileReadBuffer buffer(16);
  std::string_view line;
  EXPECT_EQ(buffer.ReadLine(s, line, 50), FileReadBuffer::Line::Terminated);
  EXPECT_EQ(buffer.ReadLine(s, line, 50), FileReadBuffer::Line::TooLong);
  EXPECT_EQ(s.Seek(0, SeekOrigin::Current), 6);
  EXPECT_EQ(buffer.ReadLine(s, line, 200), FileReadBuffer::Line::Terminated);
  EXPECT_EQ(line.size(), 101u);
}

}  // namespace
}  // namespace kestrin::script
