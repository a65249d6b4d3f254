// Fuzz target: the code guesser, the six converters, Base64 and MIME words on arbitrary
// bytes must end without a fault, with outputs of bounded size.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "script/builtins/japanese_code.h"

using namespace kestrin::script;

namespace {

// Every converter writes at most an escape and two bytes per input byte.
void Check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view s(reinterpret_cast<const char*>(data), size);
  const size_t bound = 5 * size;  // a kana byte between ASCII bytes: ESC $ B and a pair
  Check(DetectJapaneseCode(s) >= jcASCII && DetectJapaneseCode(s) <= jcUndecided);
  for (int target : {jcJIS, jcEUC, jcSJIS}) Check(ConvertJapanese(s, target).size() <= bound);
  for (auto convert : {JISToSJIS, JISToEUC, SJISToJIS, SJISToEUC, EUCToJIS, EUCToSJIS}) Check(convert(s).size() <= bound);
  Check(DecodeBase64(s).size() <= size * 3 / 4 + 1);
  Check(DecodeBase64(EncodeBase64(s)) == s);
  Check(DecodeMimeHeader(s).size() <= size + 3 * (size / 18 + 1));
  const std::string words = EncodeMimeHeader(s);
  Check(JISToSJIS(DecodeMimeHeader(words)).size() <= 5 * words.size());
  return 0;
}
