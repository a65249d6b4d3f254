// CP932 character positions: copies, inserts and deletes at the edges, slices with
// negative positions, searches that skip trail bytes, and the position cache against a
// walk from the start.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "script/builtins/int_text.h"
#include "script/builtins/mbcs.h"

namespace kestrin::script {
namespace {

// "表ソab": two double-byte characters whose trail bytes are 0x5C, then "ab".
const std::string kMixed = "\x95\x5c\x83\x5c" "ab";

TEST(Mbcs, CopiesCountCharacters) {
  const StrRef s(kMixed);
  EXPECT_EQ(MbcsLength(s), 4);
  EXPECT_EQ(MbcsCopy(s, 2, 2).str(), "\x83\x5c" "a");
  EXPECT_EQ(MbcsCopy(s, -5, 1).str(), "\x95\x5c");
  EXPECT_EQ(MbcsCopy(s, 4, kMbcsMax).str(), "b");
  EXPECT_EQ(MbcsCopy(s, 5, 1).str(), "");
  EXPECT_EQ(MbcsCopy(s, 1, 0).str(), "");
  EXPECT_EQ(MbcsCopy(s, 2, INT64_MAX).str(), kMixed.substr(2));
  EXPECT_EQ(MbcsCharAt(s, 1).str(), "\x95\x5c");
  EXPECT_EQ(MbcsCharAt(s, 0).str(), "");
  EXPECT_EQ(MbcsReverse(s).str(), "ba\x83\x5c\x95\x5c");
}

TEST(Mbcs, ALoneLeadByteAtTheEndIsOneCharacter) {
  const StrRef s("ab\x83");
  EXPECT_EQ(MbcsLength(s), 3);
  EXPECT_EQ(MbcsCharAt(s, 3).str(), "\x83");
  EXPECT_EQ(MbcsReverse(s).str(), "\x83" "ba");
  EXPECT_EQ(MbcsPos(StrRef("\x83"), s, 1), 3);
}

TEST(Mbcs, InsertAndDeleteAtTheEdges) {
  struct Case {
    int64_t index;
    const char* expected;
  };
  // Length + 1 appends; further out nothing happens; below 1 counts as 1.
  for (Case c : {Case{1, "Xabc"}, Case{3, "abXc"}, Case{4, "abcX"}, Case{5, "abc"}, Case{-7, "Xabc"}}) {
    StrRef s("abc");
    MbcsInsert(StrRef("X"), s, c.index);
    EXPECT_EQ(s.str(), c.expected) << c.index;
  }
  StrRef s("abc");
  MbcsReplaceChar(StrRef("X"), s, 3);  // the last character is replaced, not dropped
  EXPECT_EQ(s.str(), "abX");
  MbcsDelete(s, 2, 99);
  EXPECT_EQ(s.str(), "a");
  MbcsDelete(s, 0, 1);
  EXPECT_EQ(s.str(), "a");
  StrRef j(kMixed);
  MbcsSplice(StrRef("-"), j, 2, 4);
  EXPECT_EQ(j.str(), "\x95\x5c-b");
  MbcsSplice(StrRef("end"), j, 4, 4);  // an empty range after the end appends
  EXPECT_EQ(j.str(), "\x95\x5c-bend");
}

TEST(Mbcs, SlicesCountNegativePositionsFromTheEnd) {
  const StrRef s("abcde");
  struct Case {
    int64_t start, end;
    const char* expected;
  };
  for (Case c : {Case{-1, kMbcsMax, "de"}, Case{2, 0, "bcd"}, Case{-8, 3, "ab"}, Case{3, 3, ""}, Case{4, 2, ""},
                 Case{1, kMbcsMax + 1, "abcde"}})
    EXPECT_EQ(MbcsSlice(s, c.start, c.end).str(), c.expected) << c.start << ", " << c.end;
}

TEST(Mbcs, SearchesMatchOnlyAtCharacterStarts) {
  const StrRef s(kMixed + kMixed);
  EXPECT_EQ(MbcsPos(StrRef("\\"), s, 1), 0);
  EXPECT_EQ(MbcsPos(StrRef("\x5c" "a"), s, 1), 0);
  EXPECT_EQ(MbcsPos(StrRef("\x83\x5c"), s, 1), 2);
  EXPECT_EQ(MbcsPos(StrRef("\x83\x5c"), s, 3), 6);
  EXPECT_EQ(MbcsPos(StrRef("b"), s, 9), 0);
  EXPECT_EQ(MbcsPos(StrRef(""), s, 1), 0);
  EXPECT_EQ(MbcsLastPos(StrRef("\x83\x5c"), s, 0), 6);
  EXPECT_EQ(MbcsLastPos(StrRef("\x83\x5c"), s, 5), 2);
  EXPECT_EQ(MbcsLastPos(StrRef("\\"), s, 0), 0);
  EXPECT_EQ(MbcsLastPos(StrRef("ab"), StrRef("abab"), 3), 3);
  EXPECT_EQ(PosEx("\\", kMixed, 1), 2);  // bytes: the trail byte counts
  EXPECT_EQ(PosEx("a", kMixed, 6), 0);
  EXPECT_EQ(LastPos("\\", kMixed, 0), 4);
  EXPECT_EQ(LastPos("\\", kMixed, 3), 2);
}

// The cached offsets agree with a walk from the start for any order of look-ups, in short
// texts and in long ones that keep marks, also after the text grows in place.
TEST(Mbcs, PositionCacheAgreesWithAWalkFromTheStart) {
  for (const int chars : {300, 5000}) {
    std::string text;
    std::mt19937 rng(7);
    const auto piece = [&] { return rng() % 3 ? std::string("\x82\xa0") : std::string(1, static_cast<char>('a' + rng() % 26)); };
    for (int i = 0; i < chars; ++i) text += piece();
    StrRef s(text);
    for (int round = 0; round < 2; ++round) {
      const size_t count = Cp932CharCount(text);
      for (int i = 0; i < 2000; ++i) {
        const size_t index = rng() % (count + 20);
        ASSERT_EQ(s.ByteOffset(index), Cp932ByteOffset(text, index)) << chars << " " << index;
        const size_t byte = Cp932ByteOffset(text, rng() % count);
        ASSERT_EQ(s.CharIndex(byte), Cp932CharCount(text.substr(0, byte))) << chars << " " << byte;
      }
      for (int i = 0; i < chars / 2; ++i) {
        const std::string more = piece();
        s.Append(more);
        text += more;
      }
    }
  }
}

// Appending keeps a known count up to date, also across a lead byte left alone at the end.
TEST(Mbcs, AppendingKeepsTheCharacterCount) {
  const char* pieces[] = {"ab", "\x82\xa0", "\x83", "\x41" "c", "", "\x82", "\x82", "x\x95\x5c"};
  StrRef s;
  std::string reference;
  EXPECT_EQ(s.CharCount(), 0u);
  for (const char* piece : pieces) {
    StrRef shared = s;  // every other append copies instead of growing in place
    s.Append(piece);
    reference += piece;
    ASSERT_EQ(s.CharCount(), Cp932CharCount(reference)) << reference.size();
    ASSERT_EQ(s.ByteOffset(2), Cp932ByteOffset(reference, 2));
    ASSERT_EQ(shared.CharCount(), Cp932CharCount(reference.substr(0, shared.size())));
  }
}

TEST(IntText, DigitsOfTheUnsigned32BitPattern) {
  EXPECT_EQ(IntToBin(5), "101");
  EXPECT_EQ(IntToBin(0), "0");
  EXPECT_EQ(IntToOct(8), "10");
  EXPECT_EQ(IntToHexText(255), "FF");
  EXPECT_EQ(IntToHexText(static_cast<uint32_t>(-1)), "FFFFFFFF");
}

}  // namespace
}  // namespace kestrin::script
