// Perl as a differential oracle for TRegex: cases go to one perl child in a batch, and each
// answer is compared with what TRegex gives, in the same text form.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kestrin::test {

struct RegexCase {
  std::string pattern;       // TRegex's pattern
  std::string perl_pattern;  // the same for Perl ('$' as \z and so on)
  int modifiers = 0;         // TRegex modifier bits; Perl gets the matching flags
  bool script = false;       // CP932 text: TRegex script mode, Perl decodes to characters
  std::string subject;
  size_t offset = 0;         // byte offset where the search starts
  unsigned uncompared_groups = 0;  // bit g: group g's positions are not compared
};

// Lower-case hexadecimal digits of bytes.
std::string Hex(std::string_view bytes);

// True when perl with Encode runs; otherwise the calling test is skipped, or fails when the
// CI variable is "true".
bool PerlAvailable();

// Perl's pattern for a TRegex pattern of the common subset: \Z, and '$' outside sets unless
// `multiline`, become \z (both mean the absolute end to TRegex).
std::string PerlPattern(std::string_view pattern, bool script, bool multiline);

// Perl's answers, one line per case: "-1", "E", or "start end" and "start end" per group.
std::vector<std::string> AskPerl(const std::vector<RegexCase>& cases);

// TRegex's answer in the same form ("E <message>" for an error).
std::string AskTRegex(const RegexCase& c);

// Subjects of the hand tables: ASCII lines, line ends and CP932 text whose trail bytes
// look like ASCII.
const std::vector<std::string>& HandSubjects();

// A readable form of a case for failure messages.
std::string Describe(const RegexCase& c);

}  // namespace kestrin::test

#define KESTRIN_REQUIRE_PERL()                                                    \
  do {                                                                           \
    if (!::kestrin::test::PerlAvailable()) {                                     \
      const char* ci = std::getenv("CI");                                        \
      if (ci && std::string(ci) == "true") FAIL() << "peer perl (Encode) missing"; \
      GTEST_SKIP() << "peer perl (Encode) not installed";                        \
    }                                                                            \
  } while (0)
