// The RegExp object against Perl: a hand table of patterns and subjects, CP932 text
// included, runs as one script through kestrin-script; each exec's index, lastIndex and
// group texts must be Perl's match in the same subject.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "script/regexp/perl_oracle.h"
#include "script/regexp/regex.h"
#include "support/temp_dir.h"

namespace kestrin::test {
namespace {

using script::rmGreedy;
using script::rmIgnoreCase;
using script::rmMultiLine;
using script::rmSingleLine;

// What the RegExp object compiles with: s and g on, r off, script mode.
constexpr int kObjectDefaults = rmSingleLine | rmGreedy;

struct Row {
  const char* pattern;
  const char* flags;  // the RegExp flags: "i", "m" or none
};

const Row kRows[] = {
    {"a(b|c)*d", ""},
    {"(a|ab)(c|bcd)(d*)", ""},
    {"^(\\w+)\\s+(\\w+)$", ""},
    {"(\\d+)-(\\d+)", ""},
    {"[^ ]+@[a-z]+\\.(org|com)", ""},
    {"(a+)(b+)?\\2", ""},
    {"([ab])\\1", "i"},
    {"x*", ""},
    {"\\bab", ""},
    {"b$", "m"},
    {"^b", "m"},
    {"(a|b)*?c", ""},
    {"a{2,3}?", ""},
    {"A.", "i"},
    {"\x95\x5C\x8E\xA6", ""},              // "表示": the trail byte 5C is no backslash
    {"\x83\x5C" "d", ""},                  // "ソd"
    {"\x83\x41*", ""},                     // "ア*" repeats the whole character
    {"([\x83\x40-\x83\x93]+)", ""},        // [ァ-ン]
    {"[\x82\x4F-\x82\x58]+", ""},          // [０-９]
    {"A", ""},                             // never the trail byte of "ア"
    {"(.)\x83\x41", ""},
    {"[^a]b", ""},
    {"\\W+", ""},
    {"(\x95\x5C|\x83\x5C)+", ""},
    {"\\b\x83\x41", ""},
};

constexpr int kShownGroups = 9;

// A script expression for the bytes of `text`, built from character codes so that any
// byte survives the script's source encoding.
std::string ScriptText(const std::string& text) {
  std::string out = "String.fromCharCode(";
  for (size_t k = 0; k < text.size(); ++k) out += (k ? "," : "") + std::to_string(static_cast<unsigned char>(text[k]));
  return text.empty() ? "\"\"" : out + ")";
}

// Perl's answer in the script's form: index, lastIndex and the hex text of groups 1 to 9.
std::string FromPerl(const std::string& answer, const std::string& subject) {
  std::istringstream in(answer);
  std::vector<long> v;
  for (long x; in >> x;) v.push_back(x);
  if (v.size() < 2) return answer;
  std::string out = std::to_string(v[0]) + " " + std::to_string(v[1]);
  for (int g = 1; g <= kShownGroups; ++g) {
    const size_t at = 2 * static_cast<size_t>(g);
    const bool took_part = at + 1 < v.size() && v[at] >= 0;
    out += " " + (took_part ? Hex(subject.substr(static_cast<size_t>(v[at]), static_cast<size_t>(v[at + 1] - v[at]))) : "");
  }
  return out;
}

// The script: one line per case, "-1" or index, lastIndex and the hex texts of $1 to $9.
std::string Script(const std::vector<RegexCase>& cases, const std::vector<std::string>& flags) {
  std::string s =
      "function hex(t) {\n"
      "  var h = \"\";\n"
      "  for (var i = 0; i < t.length; i++) {\n"
      "    var x = t.charCodeAt(i).toString(16);\n"
      "    if (x.length % 2) x = \"0\" + x;\n"
      "    h = h + x;\n"
      "  }\n"
      "  return h.toLowerCase();\n"
      "}\n"
      "function run(p, f, s) {\n"
      "  var re = new RegExp(p, f);\n"
      "  if (re.exec(s) == null) { println(\"-1\"); return; }\n"
      "  var t = re.index + \" \" + re.lastIndex;\n"
      "  for (var g = 1; g <= 9; g++) t = t + \" \" + hex(re[\"$\" + g]);\n"
      "  println(t);\n"
      "}\n";
  for (size_t k = 0; k < cases.size(); ++k)
    s += "run(" + ScriptText(cases[k].pattern) + ", \"" + flags[k] + "\", " + ScriptText(cases[k].subject) + ");\n";
  return s;
}

TEST(RegExpPerlOracle, HandTableThroughKestrinScriptAgreesWithPerl) {
  KESTRIN_REQUIRE_PERL();
  std::vector<RegexCase> cases;
  std::vector<std::string> flags;
  for (const Row& row : kRows)
    for (const std::string& subject : HandSubjects()) {
      RegexCase c;
      const std::string f = row.flags;
      c.modifiers = kObjectDefaults | (f == "i" ? rmIgnoreCase : 0) | (f == "m" ? rmMultiLine : 0);
      c.pattern = row.pattern;
      c.perl_pattern = PerlPattern(row.pattern, true, f == "m");
      c.script = true;
      c.subject = subject;
      cases.push_back(c);
      flags.push_back(f);
    }
  const std::vector<std::string> perl = AskPerl(cases);
  ASSERT_EQ(perl.size(), cases.size());

  TempDir dir;
  const std::string path = dir.file("table.js");
  std::ofstream(path, std::ios::binary) << Script(cases, flags);
  std::string output;
  ASSERT_EQ(run_command("'" KESTRIN_BINARY_DIR "/tests/harness/kestrin-script' '" + path + "'", &output), 0);
  std::istringstream lines(output);
  int reported = 0;
  for (size_t k = 0; k < cases.size(); ++k) {
    std::string ours;
    ASSERT_TRUE(std::getline(lines, ours)) << "kestrin-script stopped at case " << k << ":\n" << output;
    const std::string expected = FromPerl(perl[k], cases[k].subject);
    if (ours == expected) continue;
    ADD_FAILURE() << Describe(cases[k]) << "\n  RegExp: " << ours << "\n  Perl:   " << expected;
    if (++reported == 20) return;
  }
}

}  // namespace
}  // namespace kestrin::test
