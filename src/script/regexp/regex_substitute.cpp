// Replacement templates, splitting at matches, and the one-shot helpers of the protocol code.
#include <limits>

#include "script/regexp/regex_program.h"

namespace kestrin::script {
namespace {

// A sub-match number; numbers too large for a group saturate (they insert nothing).
constexpr int kNoGroup = std::numeric_limits<int>::max();

bool IsGroupDigit(char c) { return c >= '0' && c <= '9'; }

size_t ReadNumber(std::string_view t, size_t k, int* number) {
  const size_t from = k;
  int v = 0;
  for (; k < t.size() && IsGroupDigit(t[k]); ++k) v = v < TRegex::kSubMatches ? v * 10 + (t[k] - '0') : kNoGroup;
  *number = v;
  return k - from;
}

// The reference after a '$' at t[k]: "&", digits, "{&}", "{digits}" or "{}". Returns the
// bytes it takes, 0 when there is none.
size_t ReadReference(std::string_view t, size_t k, int* group) {
  if (k >= t.size()) return 0;
  if (t[k] == '&') {
    *group = 0;
    return 1;
  }
  if (IsGroupDigit(t[k])) return ReadNumber(t, k, group);
  if (t[k] != '{') return 0;
  size_t used = 1;
  *group = 0;
  if (k + 1 < t.size() && t[k + 1] == '&')
    used = 2;
  else
    used += ReadNumber(t, k + 1, group);
  if (k + used >= t.size() || t[k + used] != '}') return 0;
  return used + 1;
}

}  // namespace

std::string TRegex::Substitute(std::string_view tmpl) {
  EnsureProgram();
  if (!has_input_) Error(reeNoInputStringSpecified);
  std::string out;
  const auto char_len = [&](size_t k) {
    return settings_.script_mode && is_cp932_lead(static_cast<unsigned char>(tmpl[k])) && k + 1 < tmpl.size() ? 2 : 1;
  };
  for (size_t k = 0; k < tmpl.size();) {
    const char c = tmpl[k];
    if (c == '\\' && k + 1 < tmpl.size()) {
      const size_t len = char_len(k + 1);
      out.append(tmpl, k + 1, len);
      k += 1 + len;
      continue;
    }
    int group = 0;
    const size_t used = c == '$' ? ReadReference(tmpl, k + 1, &group) : 0;
    if (used > 0) {
      out += MatchView(group < kSubMatches ? group : -1);
      k += 1 + used;
      continue;
    }
    const size_t len = char_len(k);
    out.append(tmpl, k, len);
    k += len;
  }
  return out;
}

void TRegex::Split(std::string_view input, std::vector<std::string>& pieces) {
  if (!Exec(input)) {
    pieces.emplace_back(input);
    return;
  }
  size_t from = 0;
  do {
    const size_t start = static_cast<size_t>(MatchPos(0) - 1);
    pieces.emplace_back(input_, from, start - from);
    from = start + static_cast<size_t>(MatchLen(0));
  } while (ExecNext());
  pieces.emplace_back(input_, from);
}

bool ExecRegex(std::string_view pattern, std::string_view input) {
  TRegex r;
  r.SetExpression(pattern);
  return r.Exec(input);
}

void SplitRegex(std::string_view pattern, std::string_view input, std::vector<std::string>& pieces) {
  pieces.clear();
  TRegex r;
  r.SetExpression(pattern);
  r.Split(input, pieces);
}

}  // namespace kestrin::script
