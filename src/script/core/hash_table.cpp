// The name order of tables and the case folding used for hashing.
#include "script/core/hash_table.h"

namespace kestrin::script {

namespace {

// Primary weight of a byte: control < symbols < digits < letters (case folded) < others.
int Weight(unsigned char c) {
  if (c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(c - 'A' + 'a');
  if (c < 0x20) return c;
  if (c >= 'a' && c <= 'z') return 0x200 + c;
  if (c >= '0' && c <= '9') return 0x100 + c;
  if (c >= 0x80) return 0x300 + c;
  return 0x40 + c;  // blanks and symbols
}

// While two names compare equal they share their lead/trail structure, so one flag
// tells whether byte i is a trail byte (compared by value, never case-folded).
int Primary(std::string_view a, std::string_view b) {
  size_t n = a.size() < b.size() ? a.size() : b.size();
  bool trail = false;
  for (size_t i = 0; i < n; ++i) {
    unsigned char ca = static_cast<unsigned char>(a[i]), cb = static_cast<unsigned char>(b[i]);
    int wa = trail ? 0x300 + ca : Weight(ca), wb = trail ? 0x300 + cb : Weight(cb);
    if (wa != wb) return wa < wb ? -1 : 1;
    trail = !trail && IsLeadByte(ca);
  }
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  return 0;
}

bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }

}  // namespace

int LocaleCompareText(std::string_view a, std::string_view b) { return Primary(a, b); }

int LocaleCompare(std::string_view a, std::string_view b) {
  if (int c = Primary(a, b)) return c;
  for (size_t i = 0; i < a.size(); ++i) {
    if (IsLeadByte(static_cast<unsigned char>(a[i]))) {
      ++i;
      continue;
    }
    bool ua = IsUpper(a[i]), ub = IsUpper(b[i]);
    if (ua != ub) return ua ? 1 : -1;  // lower case first
  }
  return 0;
}

// The primary weights, each plus one in two bytes (so the end of a name, two zero bytes,
// comes before any weight), then one byte per position: 1 for an ASCII capital outside a
// two-byte character. Equal weights mean equal structure, so the case bytes line up.
void AppendLocaleSortKey(std::string_view name, std::string& out) {
  bool trail = false;
  for (char ch : name) {
    const unsigned char c = static_cast<unsigned char>(ch);
    const int w = (trail ? 0x300 + c : Weight(c)) + 1;
    out.push_back(static_cast<char>(w >> 8));
    out.push_back(static_cast<char>(w & 0xFF));
    trail = !trail && IsLeadByte(c);
  }
  out.push_back('\0');
  out.push_back('\0');
  trail = false;
  for (char ch : name) {
    out.push_back(!trail && IsUpper(ch) ? '\1' : '\0');
    trail = !trail && IsLeadByte(static_cast<unsigned char>(ch));
  }
}

std::string LocaleLower(std::string_view s) {
  std::string out(s);
  for (size_t i = 0; i < out.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(out[i]);
    if (IsLeadByte(c)) {
      ++i;  // keep the trail byte, which may look like an ASCII capital
    } else if (c >= 'A' && c <= 'Z') {
      out[i] = static_cast<char>(c - 'A' + 'a');
    }
  }
  return out;
}

}  // namespace kestrin::script
