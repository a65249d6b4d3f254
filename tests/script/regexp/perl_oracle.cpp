// Runs tests/peers/regex_oracle.pl on a batch of cases and puts TRegex's answers in the same form.
#include "script/regexp/perl_oracle.h"

#include <fstream>
#include <sstream>

#include "base/cp932.h"
#include "script/regexp/regex.h"
#include "support/temp_dir.h"

namespace kestrin::test {
namespace {

std::string PerlFlags(int modifiers) {
  std::string f = "aa";
  if (modifiers & script::rmSingleLine) f += 's';
  if (modifiers & script::rmIgnoreCase) f += 'i';
  if (modifiers & script::rmMultiLine) f += 'm';
  return f;
}

// Drops the trailing groups that did not take part, so both sides list the same groups.
std::string TrimUnsetGroups(std::string line) {
  while (line.size() > 6 && line.compare(line.size() - 6, 6, " -1 -1") == 0) line.resize(line.size() - 6);
  return line;
}

}  // namespace

std::string Hex(std::string_view bytes) {
  static const char kDigits[] = "0123456789abcdef";
  std::string out;
  for (unsigned char c : bytes) {
    out += kDigits[c >> 4];
    out += kDigits[c & 15];
  }
  return out;
}

bool PerlAvailable() {
  static const bool ok = run_command("perl -MEncode -e 'decode(q(cp932), q(a))' 2>/dev/null") == 0;
  return ok;
}

std::string PerlPattern(std::string_view p, bool script, bool multiline) {
  std::string out;
  bool in_set = false;
  for (size_t k = 0; k < p.size();) {
    const size_t len = script && is_cp932_lead(static_cast<unsigned char>(p[k])) && k + 1 < p.size() ? 2 : 1;
    const char c = p[k];
    if (len == 1 && c == '\\' && k + 1 < p.size()) {
      const size_t next = script && is_cp932_lead(static_cast<unsigned char>(p[k + 1])) && k + 2 < p.size() ? 2 : 1;
      out += (!in_set && p[k + 1] == 'Z') ? std::string("\\z") : std::string(p.substr(k, 1 + next));
      k += 1 + next;
      continue;
    }
    if (len == 1 && c == '[' && !in_set) {
      in_set = true;
      out += c;
      ++k;
      if (k < p.size() && p[k] == '^') out += p[k++];
      if (k < p.size() && p[k] == ']') out += p[k++];
      continue;
    }
    if (len == 1 && c == ']') in_set = false;
    out += (len == 1 && c == '$' && !in_set && !multiline) ? std::string("\\z") : std::string(p.substr(k, len));
    k += len;
  }
  return out;
}

std::vector<std::string> AskPerl(const std::vector<RegexCase>& cases) {
  TempDir dir;
  const std::string input = dir.file("cases.txt");
  {
    std::ofstream f(input, std::ios::binary);
    for (const RegexCase& c : cases)
      f << Hex(c.perl_pattern) << ' ' << PerlFlags(c.modifiers) << ' ' << Hex(c.subject) << ' ' << c.offset << ' '
        << (c.script ? 1 : 0) << '\n';
  }
  std::string output;
  run_command("perl '" KESTRIN_SOURCE_DIR "/tests/peers/regex_oracle.pl' < '" + input + "'", &output);
  std::vector<std::string> lines;
  std::istringstream in(output);
  for (std::string line; std::getline(in, line);) lines.push_back(TrimUnsetGroups(line));
  return lines;
}

std::string AskTRegex(const RegexCase& c) {
  script::TRegex r;
  r.SetScriptMode(c.script);
  for (int index = 1; index <= 6; ++index) r.SetModifier(index, c.modifiers & (1 << (index - 1)));
  r.SetExpression(c.pattern);
  try {
    r.SetInputString(c.subject);
    if (!r.ExecPos(static_cast<int>(c.offset) + 1)) return "-1";
  } catch (const script::ERegex& e) {
    return std::string("E ") + e.what();
  }
  std::string out;
  for (int g = 0; g < script::TRegex::kSubMatches; ++g) {
    const int pos = r.MatchPos(g);
    if (g > 0) out += ' ';
    out += pos < 0 ? std::string("-1 -1") : std::to_string(pos - 1) + ' ' + std::to_string(pos - 1 + r.MatchLen(g));
  }
  return TrimUnsetGroups(out);
}

const std::vector<std::string>& HandSubjects() {
  static const std::vector<std::string> subjects = {
      "", "abcd", "abcbcd", "hello world", "12-345 6-7", "mail me@example.org now", "aabbbb aab",
      "AbAB", "a\nb\nab", "xxab xab", "a\nc abc",
      "\x95\x5C\x8E\xA6",                            // 表示
      "\x83\x5C\x83\x5C" "d\x83\x5C" "d",            // ソソdソd
      "\x83\x41\x83\x41\x83\x41" "A",                // アアアA
      "\x83\x41\x83\x43\x83\x93\x82\x50\x82\x51",    // アイン１２
      "b\x83\x41" "b\x83\x62" "b",                   // bアbッb
      "\x95\x5C\x83\x5C\x95\x5C" "x",                // 表ソ表x
      "A\x83\x61",                                   // Aャ
  };
  return subjects;
}

std::string Describe(const RegexCase& c) {
  std::string s = "pattern '" + c.pattern + "' (perl '" + c.perl_pattern + "'), flags " + PerlFlags(c.modifiers) +
                  (c.script ? ", script mode" : ", byte mode") + ", offset " + std::to_string(c.offset) +
                  ", subject hex " + Hex(c.subject);
  return s;
}

}  // namespace kestrin::test
