// Fuzz target: the CP932 position routines and the width, kana and case mappings on
// arbitrary bytes: no read past the end, positions that agree with a walk from the start,
// and copies that put the text back together.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "script/builtins/lcmap.h"
#include "script/builtins/mbcs.h"

using namespace kestrin::script;

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  // The first bytes choose positions, the rest is the text.
  const int64_t a = static_cast<int8_t>(data[0]), b = static_cast<int8_t>(data[1]);
  const size_t cut = data[2] % (size - 3 + 1);
  const std::string bytes(reinterpret_cast<const char*>(data + 3), size - 3);
  const StrRef s(bytes);
  const int64_t length = MbcsLength(s);
  Check(static_cast<size_t>(length) == Cp932CharCount(bytes));
  for (int64_t i = 0; i <= length + 1; i += 1 + length / 16)
    Check(s.ByteOffset(static_cast<size_t>(i)) == Cp932ByteOffset(bytes, static_cast<size_t>(i)));
  Check(MbcsCopy(s, 1, length) == s);
  Check(a < 1 || MbcsCopy(s, 1, a).str() + MbcsCopy(s, a + 1, kMbcsMax).str() == bytes);
  StrRef t = s;
  MbcsInsert(StrRef("X"), t, a);
  MbcsDelete(t, b, 2);
  MbcsReplaceChar(StrRef("\x83\x41"), t, a);
  MbcsSplice(StrRef("yz"), t, a, b);
  const StrRef slice = MbcsSlice(s, a, b);
  const StrRef needle(bytes.substr(cut, 3));
  const int64_t first = MbcsPos(needle, s, a), last = MbcsLastPos(needle, s, b);
  Check(first == 0 || bytes.compare(s.ByteOffset(static_cast<size_t>(first - 1)), needle.size(), needle.view()) == 0);
  Check(last == 0 || last <= length);
  Check(MbcsReverse(s).size() == bytes.size());
  Check(PosEx(needle.view(), bytes, a) <= static_cast<int64_t>(bytes.size()));
  Check(LastPos(needle.view(), bytes, b) <= static_cast<int64_t>(bytes.size()));
  for (uint32_t flags : {kLcmapFullwidth, kLcmapHalfwidth, kLcmapHiragana, kLcmapKatakana,
                         kLcmapLowercase | kLcmapUppercase, kLcmapFullwidth | kLcmapHiragana | kLcmapHalfwidth}) {
    const std::string mapped = LCMapText(bytes, flags);
    Check(mapped.size() <= 2 * bytes.size() + 2);
  }
  (void)slice;
  return 0;
}
