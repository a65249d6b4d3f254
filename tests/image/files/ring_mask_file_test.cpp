// The ring-mask file: rings up to the first blank line, the three cells of each line, the
// rings before a bad cell kept, and a new file replacing the list.
#include "image/files/ring_mask_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "base/convert.h"
#include "base/runtime_errors.h"
#include "support/state_fixture.h"
#include "support/temp_dir.h"

namespace kestrin::test {
namespace {

struct RingRange {
  double begin, end;
  int32_t correct;
  bool operator==(const RingRange&) const = default;
};

std::vector<RingRange> rings_of(const RingList& l) {
  std::vector<RingRange> out;
  for (size_t i = 0; i < l.ring_begin.size(); ++i) out.push_back({l.ring_begin[i], l.ring_end[i], l.ring_correct[i]});
  return out;
}

TEST(RingMaskFile, ReadsRingsUpToTheFirstBlankLine) {
  const struct {
    const char* name;
    std::string text;
    std::vector<RingRange> rings;
  } cases[] = {
      {"third line empty", "6.0,7.5,1\r\n10,11,0\r\n\r\n20,21,1\r\n", {{6.0, 7.5, 1}, {10, 11, 0}}},
      {"third line blanks only", "6,7,1\n10,11,0\n  \t\n20,21,1\n", {{6, 7, 1}, {10, 11, 0}}},
      {"CR line ends, no end at the last line", "1.25,2,1\r3,4,0", {{1.25, 2, 1}, {3, 4, 0}}},
      {"blanks around cells, extra cells ignored", " 5 , 6 ,2,x\n", {{5, 6, 2}}},
      {"empty first line", "\n6,7,1\n", {}},
      {"empty file", "", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RingList l;
    l.ring_begin = {99}, l.ring_end = {99}, l.ring_correct = {9};  // replaced
    read_ring_mask_text(c.text, l);
    EXPECT_EQ(rings_of(l), c.rings);
  }
}

TEST(RingMaskFile, ABadCellRaisesWithTheRingsBeforeItKept) {
  for (const char* text : {"6,7,1\n8,x,1\n9,10,1\n", "6,7,1\n8,9\n", "6,7,1\n8,9,1.5\n"}) {
    SCOPED_TRACE(text);
    RingList l;
    EXPECT_THROW(read_ring_mask_text(text, l), ConversionError);
    EXPECT_EQ(rings_of(l), (std::vector<RingRange>{{6, 7, 1}}));
  }
}

using RingMaskFileTest = StateTest;

TEST_F(RingMaskFileTest, FileIntoTheSharedListAndAMissingFileRaises) {
  TempDir dir;
  std::ofstream(dir.file("rings.txt"), std::ios::binary) << "6,7,1\r\n12,13,0\r\n";
  read_ring_mask_file(dir.file("rings.txt"));
  EXPECT_EQ(rings_of(state().rings), (std::vector<RingRange>{{6, 7, 1}, {12, 13, 0}}));
  EXPECT_THROW(read_ring_mask_file(dir.file("none.txt")), EInOutError);
  EXPECT_EQ(rings_of(state().rings).size(), 2u);
}

}  // namespace
}  // namespace kestrin::test
