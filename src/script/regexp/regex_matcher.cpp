// The matcher: a backtracking machine over the node program that keeps its choice points and
// undo records on a heap stack, so neither long subjects nor deep nesting touch the C++
// stack, and that stops with "too complex" when its step or stack budget runs out.
#include <algorithm>
#include <cstring>

#include "script/regexp/regex_program.h"

namespace kestrin::script {
namespace {

// Budgets of one search. Linear patterns use a few steps and frames per byte; an
// exponential one exhausts the steps in a fraction of a second on short subjects.
constexpr int64_t kStepBase = 4'000'000;
constexpr int64_t kStepsPerByte = 256;
constexpr size_t kFrameBase = size_t{1} << 20;
constexpr size_t kFramesPerByte = 8;
// A stack grown beyond this is released after the search instead of kept for the next one.
constexpr size_t kFramesKept = size_t{1} << 16;

enum FrameKind : uint8_t {
  fkUndoStart,     // small = group, pos = old start
  fkUndoEnd,       // small = group, pos = old end
  fkUndoDepth,     // aux = old depth
  fkUndoLevel,     // small = level, aux = old count, pos = old iteration start
  fkUndoGuard,     // aux = slot, pos = old value
  fkChoice,        // resume at node with pos
  fkRepeatGreedy,  // Repeat node: try fewer than aux repetitions, ending at pos
  fkRepeatLazy,    // Repeat node: try more than aux repetitions, ending at pos
  fkLoopExit,      // Loop node: leave the loop at pos
  fkLoopMore,      // Loop node: one more iteration from pos
};

bool IsDigitByte(unsigned char c) { return static_cast<unsigned>(c - '0') <= 9u; }

// One search's machine. kMb: script mode on a subject that holds lead bytes, where positions
// move by whole characters; otherwise every byte is a character.
template <bool kMb>
class Machine {
public:
  Machine(const RegexProgram& p, const unsigned char* s, uint32_t len, RegexMatchState& st, int64_t steps,
          size_t max_frames)
      : p_(p), nodes_(p.nodes.data()), s_(s), len_(len), st_(st), steps_(steps), max_frames_(max_frames) {
    st_.depth = 0;
    st_.guards.assign(static_cast<size_t>(p.guard_slots), kRegexNone);
  }

  bool IsCharStart(uint32_t pos) const {
    if constexpr (!kMb) return true;
    return pos >= len_ || ((st_.char_starts[pos >> 6] >> (pos & 63)) & 1);
  }
  uint32_t CharLen(uint32_t pos) const {
    if constexpr (kMb)
      if (is_cp932_lead(s_[pos]) && pos + 1 < len_) return 2;
    return 1;
  }

  // Runs the program from `at`. On Match sub-match 0 is [at, end).
  SearchOutcome Attempt(uint32_t at);

  // After a failed attempt at `at` of a program that starts with an unbounded repeat: the
  // next start worth trying, past the run of the repeat's operand.
  uint32_t SkipRun(uint32_t at) {
    const Node& operand = nodes_[nodes_[p_.leading_repeat].a];
    uint32_t pos = at;
    return Scan(operand, pos, kRegexInfinite) > 0 ? pos : at + CharLen(at);
  }

private:
  uint32_t PrevCharStart(uint32_t pos) const { return kMb && pos >= 2 && !IsCharStart(pos - 1) ? pos - 2 : pos - 1; }
  bool Matched(int32_t g) const { return st_.start[g] != kRegexNone && st_.end[g] != kRegexNone; }
  uint32_t GroupLen(int32_t g) const { return st_.end[g] > st_.start[g] ? st_.end[g] - st_.start[g] : 0; }

  bool Push(uint8_t kind, uint8_t small, uint32_t node, uint32_t pos, uint32_t aux) {
    if (st_.stack.size() >= max_frames_) return false;
    st_.stack.push_back(RegexFrame{kind, small, 0, node, pos, aux});
    return true;
  }
  bool SetCapture(bool is_start, int32_t g, uint32_t pos) {
    uint32_t& slot = is_start ? st_.start[g] : st_.end[g];
    if (slot == pos) return true;
    if (!Push(is_start ? fkUndoStart : fkUndoEnd, static_cast<uint8_t>(g), 0, slot, 0)) return false;
    slot = pos;
    return true;
  }
  bool SetLevel(uint32_t count, uint32_t pos) {
    const uint32_t d = st_.depth;
    if (!Push(fkUndoLevel, static_cast<uint8_t>(d), 0, st_.level_start[d], st_.level_count[d])) return false;
    st_.level_count[d] = count;
    st_.level_start[d] = pos;
    return true;
  }
  bool LeaveLevel() {
    if (!Push(fkUndoDepth, 0, 0, 0, st_.depth)) return false;
    --st_.depth;
    return true;
  }

  bool WordBefore(uint32_t pos) const {
    return pos > 0 && IsCharStart(pos - 1) && p_.word.Has(s_[pos - 1]);
  }
  bool WordAt(uint32_t pos) const { return pos < len_ && CharLen(pos) == 1 && p_.word.Has(s_[pos]); }
  bool AtLineStart(uint32_t pos) const;
  bool AtLineEnd(uint32_t pos) const;

  bool Step(const Node& n, uint32_t& pos);
  bool StepSet(const CharSet& set, uint32_t& pos) const;
  bool StepLitCi(const Node& n, uint32_t& pos) const;
  bool StepRef(const Node& n, uint32_t& pos);
  uint32_t Scan(const Node& operand, uint32_t& pos, int32_t limit);
  uint32_t StepBack(const Node& operand, uint32_t pos) const;

  bool EnterRepeat(int32_t k, uint32_t& pos, bool& overflow);
  bool SettleGreedy(const RepeatInfo& r, const Node& operand, uint32_t& count, uint32_t& pos);
  bool SettleLazy(const RepeatInfo& r, const Node& operand, uint32_t& count, uint32_t& pos);
  bool ResumeRepeat(const RegexFrame& f, uint32_t& pos, bool& overflow);
  int Backtrack(int32_t& k, uint32_t& pos);

  const RegexProgram& p_;
  const Node* nodes_;
  const unsigned char* s_;
  uint32_t len_;
  RegexMatchState& st_;
  int64_t steps_;
  size_t max_frames_;
};

template <bool kMb>
bool Machine<kMb>::AtLineStart(uint32_t pos) const {
  if (pos == 0) return true;
  if (!IsCharStart(pos - 1)) return false;  // after a double-byte character
  const unsigned char prev = s_[pos - 1];
  if (p_.pair_head >= 0) {
    if (prev == p_.pair_tail && pos >= 2 && s_[pos - 2] == p_.pair_head && IsCharStart(pos - 2)) return true;
    if (prev == p_.pair_head && pos < len_ && s_[pos] == p_.pair_tail) return false;
  }
  return p_.separators.Has(prev);
}

template <bool kMb>
bool Machine<kMb>::AtLineEnd(uint32_t pos) const {
  if (pos >= len_) return true;
  if (CharLen(pos) == 2) return false;
  const unsigned char c = s_[pos];
  if (p_.pair_head >= 0) {
    if (c == p_.pair_head && pos + 1 < len_ && s_[pos + 1] == p_.pair_tail) return true;
    if (c == p_.pair_tail && pos > 0 && s_[pos - 1] == p_.pair_head && IsCharStart(pos - 1)) return false;
  }
  return p_.separators.Has(c);
}

template <bool kMb>
bool Machine<kMb>::StepSet(const CharSet& set, uint32_t& pos) const {
  if (pos >= len_) return false;
  if (CharLen(pos) == 2) {
    if (!set.HasWide(static_cast<uint16_t>(s_[pos] << 8 | s_[pos + 1]))) return false;
    pos += 2;
    return true;
  }
  if (!set.bytes.Has(s_[pos])) return false;
  ++pos;
  return true;
}

template <bool kMb>
bool Machine<kMb>::StepLitCi(const Node& n, uint32_t& pos) const {
  const uint32_t len = static_cast<uint32_t>(n.b);
  if (len_ - pos < len) return false;
  const char* lit = p_.literals.data() + n.a;
  const char* alt = p_.folded.data() + n.a;
  for (uint32_t k = 0; k < len; ++k) {
    const char c = static_cast<char>(s_[pos + k]);
    if (c != lit[k] && c != alt[k]) return false;
  }
  pos += len;
  return true;
}

template <bool kMb>
bool Machine<kMb>::StepRef(const Node& n, uint32_t& pos) {
  if (!Matched(n.a)) return false;
  const uint32_t from = st_.start[n.a], len = GroupLen(n.a);
  if (len_ - pos < len) return false;
  steps_ -= len >> 4;  // long comparisons count against the budget too
  if (n.op == Op::Ref) {
    if (std::memcmp(s_ + pos, s_ + from, len) != 0) return false;
    pos += len;
    return true;
  }
  for (uint32_t k = 0; k < len; ++k) {
    const unsigned char g = s_[from + k], c = s_[pos + k];
    if (kMb && is_cp932_lead(g) && k + 1 < len) {
      if (c != g || s_[pos + k + 1] != s_[from + k + 1]) return false;
      ++k;
      continue;
    }
    if (c != g && c != p_.settings.invert_case(g)) return false;
  }
  pos += len;
  return IsCharStart(pos);
}

// Matches one character node (or a literal, or a back-reference) at pos. A flat dispatch.
template <bool kMb>
bool Machine<kMb>::Step(const Node& n, uint32_t& pos) {
  switch (n.op) {
    case Op::Any:
      if (pos >= len_) return false;
      pos += CharLen(pos);
      return true;
    case Op::AnyMl: {
      if (pos >= len_) return false;
      const uint32_t len = CharLen(pos);
      const unsigned char c = s_[pos];
      if (len == 1 && (p_.separators.Has(c) || (c == p_.pair_head && pos + 1 < len_ && s_[pos + 1] == p_.pair_tail)))
        return false;
      pos += len;
      return true;
    }
    case Op::Digit:
      if (pos >= len_ || !IsDigitByte(s_[pos])) return false;
      ++pos;
      return true;
    case Op::NotDigit:
      if (pos >= len_ || IsDigitByte(s_[pos])) return false;
      pos += CharLen(pos);
      return true;
    case Op::Set:
      return StepSet(p_.sets[static_cast<size_t>(n.a)], pos);
    case Op::Lit: {
      const uint32_t len = static_cast<uint32_t>(n.b);
      steps_ -= len >> 4;
      if (len_ - pos < len || std::memcmp(s_ + pos, p_.literals.data() + n.a, len) != 0) return false;
      pos += len;
      return !n.flag || IsCharStart(pos);
    }
    case Op::LitCi:
      steps_ -= n.b >> 4;
      return StepLitCi(n, pos) && (!n.flag || IsCharStart(pos));
    case Op::Ref:
    case Op::RefCi:
      return StepRef(n, pos);
    default:
      return false;
  }
}

// Repeats `operand` from pos at most `limit` times; returns the count and leaves pos after it.
template <bool kMb>
uint32_t Machine<kMb>::Scan(const Node& operand, uint32_t& pos, int32_t limit) {
  const uint32_t max = static_cast<uint32_t>(limit);
  uint32_t count = 0;
  if constexpr (!kMb) {
    if (operand.op == Op::Any) {
      count = std::min(max, len_ - pos);
      pos += count;
      steps_ -= count;
      return count;
    }
    if (operand.op == Op::Set) {
      const ByteSet& bytes = p_.sets[static_cast<size_t>(operand.a)].bytes;
      while (count < max && pos < len_ && bytes.Has(s_[pos])) ++pos, ++count;
      steps_ -= count;
      return count;
    }
    if (operand.op == Op::Lit && operand.b == 1) {
      const unsigned char c = static_cast<unsigned char>(p_.literals[static_cast<size_t>(operand.a)]);
      while (count < max && pos < len_ && s_[pos] == c) ++pos, ++count;
      steps_ -= count;
      return count;
    }
  }
  while (count < max && Step(operand, pos)) ++count;
  steps_ -= count;
  return count;
}

template <bool kMb>
uint32_t Machine<kMb>::StepBack(const Node& operand, uint32_t pos) const {
  switch (operand.op) {
    case Op::Lit:
    case Op::LitCi:
      return pos - static_cast<uint32_t>(operand.b);
    case Op::Ref:
    case Op::RefCi:
      return pos - GroupLen(operand.a);
    case Op::Digit:
      return pos - 1;
    default:
      return PrevCharStart(pos);
  }
}

// Greedy: from the largest count down, the first count after which the rest can start.
template <bool kMb>
bool Machine<kMb>::SettleGreedy(const RepeatInfo& r, const Node& operand, uint32_t& count, uint32_t& pos) {
  const FirstSet& follow = p_.firsts[static_cast<size_t>(r.follow)];
  while (!follow.Accepts(s_, pos, len_)) {
    if (count <= static_cast<uint32_t>(r.min)) return false;
    --count;
    --steps_;
    pos = StepBack(operand, pos);
  }
  return true;
}

// Lazy: from the smallest count up, the first count after which the rest can start.
template <bool kMb>
bool Machine<kMb>::SettleLazy(const RepeatInfo& r, const Node& operand, uint32_t& count, uint32_t& pos) {
  const FirstSet& follow = p_.firsts[static_cast<size_t>(r.follow)];
  while (!follow.Accepts(s_, pos, len_)) {
    if (count >= static_cast<uint32_t>(r.max) || !Step(operand, pos)) return false;
    ++count;
    --steps_;
  }
  return true;
}

template <bool kMb>
bool Machine<kMb>::EnterRepeat(int32_t k, uint32_t& pos, bool& overflow) {
  const Node& n = nodes_[k];
  const RepeatInfo& r = p_.repeats[static_cast<size_t>(n.b)];
  const Node& operand = nodes_[n.a];
  if ((operand.op == Op::Ref || operand.op == Op::RefCi) && (!Matched(operand.a) || GroupLen(operand.a) == 0))
    return r.min == 0 || Matched(operand.a);  // every count ends where it started
  uint32_t p = pos;
  uint32_t count = Scan(operand, p, r.greedy ? r.max : r.min);
  if (count < static_cast<uint32_t>(r.min)) return false;
  if (r.greedy) {
    if (!SettleGreedy(r, operand, count, p)) return false;
    if (count > static_cast<uint32_t>(r.min)) overflow = !Push(fkRepeatGreedy, 0, static_cast<uint32_t>(k), p, count);
  } else {
    if (!SettleLazy(r, operand, count, p)) return false;
    if (count < static_cast<uint32_t>(r.max)) overflow = !Push(fkRepeatLazy, 0, static_cast<uint32_t>(k), p, count);
  }
  pos = p;
  return true;
}

template <bool kMb>
bool Machine<kMb>::ResumeRepeat(const RegexFrame& f, uint32_t& pos, bool& overflow) {
  const Node& n = nodes_[f.node];
  const RepeatInfo& r = p_.repeats[static_cast<size_t>(n.b)];
  const Node& operand = nodes_[n.a];
  uint32_t count = f.aux;
  uint32_t p = f.pos;
  if (f.kind == fkRepeatGreedy) {
    --count;
    p = StepBack(operand, p);
    if (!SettleGreedy(r, operand, count, p)) return false;
    if (count > static_cast<uint32_t>(r.min)) overflow = !Push(fkRepeatGreedy, 0, f.node, p, count);
  } else {
    if (count >= static_cast<uint32_t>(r.max) || !Step(operand, p)) return false;
    ++count;
    if (!SettleLazy(r, operand, count, p)) return false;
    if (count < static_cast<uint32_t>(r.max)) overflow = !Push(fkRepeatLazy, 0, f.node, p, count);
  }
  pos = p;
  return true;
}

// Pops undo records until a point to resume from: 1 resumed (k and pos set), 0 nothing
// left, -1 a budget ran out.
template <bool kMb>
int Machine<kMb>::Backtrack(int32_t& k, uint32_t& pos) {
  auto& stack = st_.stack;
  while (!stack.empty()) {
    const RegexFrame f = stack.back();
    stack.pop_back();
    switch (f.kind) {
      case fkUndoStart: st_.start[f.small] = f.pos; break;
      case fkUndoEnd: st_.end[f.small] = f.pos; break;
      case fkUndoDepth: st_.depth = f.aux; break;
      case fkUndoLevel:
        st_.level_count[f.small] = f.aux;
        st_.level_start[f.small] = f.pos;
        break;
      case fkUndoGuard: st_.guards[f.aux] = f.pos; break;
      case fkChoice:
        k = static_cast<int32_t>(f.node);
        pos = f.pos;
        return 1;
      case fkRepeatGreedy:
      case fkRepeatLazy: {
        bool overflow = false;
        if (ResumeRepeat(f, pos, overflow)) {
          k = nodes_[f.node].next;
          return overflow ? -1 : 1;
        }
        if (steps_ < 0) return -1;
        break;
      }
      case fkLoopExit:
        pos = f.pos;
        k = nodes_[f.node].next;
        return LeaveLevel() ? 1 : -1;
      case fkLoopMore: {
        const LoopInfo& loop = p_.loops[static_cast<size_t>(nodes_[f.node].a)];
        pos = f.pos;
        k = loop.body;
        return SetLevel(st_.level_count[st_.depth] + 1, pos) ? 1 : -1;
      }
    }
  }
  return 0;
}

// The machine's main loop: one case per node kind, a failed node backtracks.
template <bool kMb>
SearchOutcome Machine<kMb>::Attempt(uint32_t at) {
  st_.stack.clear();
  uint32_t pos = at;
  int32_t k = p_.entry;
  for (;;) {
    if (--steps_ < 0) return SearchOutcome::TooComplex;
    const Node& n = nodes_[k];
    switch (n.op) {
      case Op::End:
        st_.start[0] = at;
        st_.end[0] = pos;
        return SearchOutcome::Match;
      case Op::Bol:
        if (pos != 0) goto fail;
        break;
      case Op::Eol:
        if (pos != len_) goto fail;
        break;
      case Op::BolMl:
        if (!AtLineStart(pos)) goto fail;
        break;
      case Op::EolMl:
        if (!AtLineEnd(pos)) goto fail;
        break;
      case Op::Bound:
        if (WordBefore(pos) == WordAt(pos)) goto fail;
        break;
      case Op::NotBound:
        if (WordBefore(pos) != WordAt(pos)) goto fail;
        break;
      case Op::Any: case Op::AnyMl: case Op::Digit: case Op::NotDigit: case Op::Set:
      case Op::Lit: case Op::LitCi: case Op::Ref: case Op::RefCi:
        if (!Step(n, pos)) goto fail;
        break;
      case Op::Open:
      case Op::Close:
        if (!SetCapture(n.op == Op::Open, n.a, pos)) return SearchOutcome::TooComplex;
        break;
      case Op::Split: {
        const bool to_next = p_.firsts[static_cast<size_t>(n.b)].Accepts(s_, pos, len_);
        const bool to_alt = p_.firsts[static_cast<size_t>(n.c)].Accepts(s_, pos, len_);
        if (to_next && to_alt && !Push(fkChoice, 0, static_cast<uint32_t>(n.a), pos, 0))
          return SearchOutcome::TooComplex;
        if (!to_next && !to_alt) goto fail;
        k = to_next ? n.next : n.a;
        continue;
      }
      case Op::Repeat: {
        bool overflow = false;
        if (!EnterRepeat(k, pos, overflow)) goto fail;
        if (overflow) return SearchOutcome::TooComplex;
        break;
      }
      case Op::Mark:
        if (!Push(fkUndoGuard, 0, 0, st_.guards[static_cast<size_t>(n.a)], static_cast<uint32_t>(n.a)))
          return SearchOutcome::TooComplex;
        st_.guards[static_cast<size_t>(n.a)] = pos;
        break;
      case Op::Guard:  // an iteration that consumed nothing leaves the loop
        k = pos == st_.guards[static_cast<size_t>(n.b)] ? n.a : n.next;
        continue;
      case Op::LoopEntry:
        if (st_.depth >= kRegexLoopDepth) return SearchOutcome::LoopStackExceeded;
        if (!Push(fkUndoDepth, 0, 0, 0, st_.depth)) return SearchOutcome::TooComplex;
        ++st_.depth;
        if (!SetLevel(0, pos)) return SearchOutcome::TooComplex;
        break;
      case Op::Loop: {
        if (st_.depth == 0) return SearchOutcome::LoopWithoutEntry;
        const LoopInfo& loop = p_.loops[static_cast<size_t>(n.a)];
        const uint32_t count = st_.level_count[st_.depth];
        const bool empty_turn = loop.guarded && count > 0 && pos == st_.level_start[st_.depth];
        bool more = false;
        if (!empty_turn && count < static_cast<uint32_t>(loop.min)) {
          more = true;
        } else if (!empty_turn && count < static_cast<uint32_t>(loop.max)) {
          if (!Push(loop.greedy ? fkLoopExit : fkLoopMore, 0, static_cast<uint32_t>(k), pos, 0))
            return SearchOutcome::TooComplex;
          more = loop.greedy;
        }
        if (more) {
          if (!SetLevel(count + 1, pos)) return SearchOutcome::TooComplex;
          k = loop.body;
          continue;
        }
        if (!LeaveLevel()) return SearchOutcome::TooComplex;
        break;
      }
    }
    k = n.next;
    continue;
  fail:
    switch (Backtrack(k, pos)) {
      case 0: return SearchOutcome::NoMatch;
      case -1: return SearchOutcome::TooComplex;
      default: break;
    }
  }
}

template <bool kMb>
SearchOutcome SearchFrom(const RegexProgram& p, std::string_view subject, uint32_t start, RegexMatchState& st) {
  const auto* s = reinterpret_cast<const unsigned char*>(subject.data());
  const uint32_t len = static_cast<uint32_t>(subject.size());
  const uint32_t rest = len - start;
  Machine<kMb> m(p, s, len, st, kStepBase + kStepsPerByte * rest, kFrameBase + kFramesPerByte * rest);
  while (!m.IsCharStart(start)) ++start;
  if (p.anchored) return m.Attempt(start);
  if (!p.prefix.text.empty()) {
    for (size_t at = start;; ++at) {
      at = p.prefix.Find(s, len, at);
      if (at == std::string_view::npos) return SearchOutcome::NoMatch;
      if (!m.IsCharStart(static_cast<uint32_t>(at))) continue;
      const SearchOutcome o = m.Attempt(static_cast<uint32_t>(at));
      if (o != SearchOutcome::NoMatch) return o;
    }
  }
  for (uint32_t at = start;;) {
    while (at < len && !p.first.bytes.Has(s[at])) at += m.CharLen(at);
    if (at >= len && !p.first.at_end) return SearchOutcome::NoMatch;
    const SearchOutcome o = m.Attempt(at);
    if (o != SearchOutcome::NoMatch || at >= len) return o;
    at = p.leading_repeat >= 0 ? m.SkipRun(at) : at + m.CharLen(at);
  }
}

// Whether a subject holds any lead byte; without one, script mode matches byte by byte.
bool HasLeadByte(std::string_view s) {
  for (unsigned char c : s)
    if (c >= 0x81 && is_cp932_lead(c)) return true;
  return false;
}

void MarkCharStarts(std::string_view s, std::vector<uint64_t>& bits) {
  bits.assign(s.size() / 64 + 1, 0);
  for (size_t p = 0; p < s.size();) {
    bits[p >> 6] |= uint64_t{1} << (p & 63);
    p += is_cp932_lead(static_cast<unsigned char>(s[p])) && p + 1 < s.size() ? 2 : 1;
  }
}

}  // namespace

size_t RegexLiteral::Find(const unsigned char* s, size_t len, size_t from) const {
  const size_t n = text.size();
  if (from > len || len - from < n) return std::string_view::npos;
  if (n == 0) return from;
  const auto* t = reinterpret_cast<const unsigned char*>(text.data());
  // memchr on the rarest byte; memmem (linear in the worst case) once verifying costs more
  // than scanning.
  const size_t last = len - n + rare;
  size_t verified = 0;
  for (size_t p = from + rare; p <= last;) {
    const void* hit = std::memchr(s + p, t[rare], last - p + 1);
    if (!hit) return std::string_view::npos;
    p = static_cast<size_t>(static_cast<const unsigned char*>(hit) - s);
    if (std::memcmp(s + p - rare, t, n) == 0) return p - rare;
    verified += n;
    ++p;
    if (verified > 4 * (p - from) + 4096) {
      const void* found = memmem(s + p - rare, len - (p - rare), t, n);
      return found ? static_cast<size_t>(static_cast<const unsigned char*>(found) - s) : std::string_view::npos;
    }
  }
  return std::string_view::npos;
}

SearchOutcome RegexSearch(const RegexProgram& p, std::string_view subject, size_t start, RegexMatchState& st) {
  const auto* s = reinterpret_cast<const unsigned char*>(subject.data());
  if (!p.required.text.empty() && p.required.Find(s, subject.size(), start) == std::string_view::npos)
    return SearchOutcome::NoMatch;
  if (p.settings.script_mode && !st.subject_scanned) {
    st.subject_has_lead = HasLeadByte(subject);
    if (st.subject_has_lead) MarkCharStarts(subject, st.char_starts);
    st.subject_scanned = true;
  }
  const uint32_t at = static_cast<uint32_t>(start);
  const SearchOutcome o = p.settings.script_mode && st.subject_has_lead ? SearchFrom<true>(p, subject, at, st)
                                                                         : SearchFrom<false>(p, subject, at, st);
  st.stack.clear();
  if (st.stack.capacity() > kFramesKept) st.stack.shrink_to_fit();
  return o;
}

bool TRegex::ExecPos(int offset) {
  ClearMatches();
  const RegexProgram& program = EnsureProgram();
  if (!has_input_) Error(reeNoInputStringSpecified);
  if (offset < 1) Error(reeOffsetMustBeGreaterThen0);
  if (static_cast<size_t>(offset) > input_.size() + 1) return false;
  if (input_.size() > kRegexMaxSubject) Error(reeMatchTooComplex);
  switch (RegexSearch(program, input_, static_cast<size_t>(offset - 1), *state_)) {
    case SearchOutcome::Match:
      return true;
    case SearchOutcome::NoMatch:
      return false;
    case SearchOutcome::TooComplex:
      ClearMatches();
      Error(reeMatchTooComplex);
    case SearchOutcome::LoopStackExceeded:
      ClearMatches();
      Error(reeLoopStackExceeded);
    case SearchOutcome::LoopWithoutEntry:
      ClearMatches();
      Error(reeLoopWithoutEntry);
  }
  return false;
}

bool TRegex::Exec(std::string_view input) {
  SetInputString(input);
  return ExecPos(1);
}

bool TRegex::ExecNext() {
  const RegexMatchState& st = *state_;
  if (!has_input_ || st.start[0] == kRegexNone || st.end[0] == kRegexNone) Error(reeExecNextWithoutExec);
  size_t next = st.end[0];
  if (st.end[0] == st.start[0]) {
    const bool wide = settings_.script_mode && next + 1 < input_.size() &&
                      is_cp932_lead(static_cast<unsigned char>(input_[next]));
    next += wide ? 2 : 1;
  }
  return ExecPos(static_cast<int>(next + 1));
}

int TRegex::SubExprMatchCount() const {
  if (!has_input_) return -1;
  for (int n = kSubMatches - 1; n > 0; --n)
    if (MatchPos(n) >= 0) return n;
  return 0;
}

int TRegex::GroupCount() {
  int groups = 0;
  for (const Node& node : EnsureProgram().nodes)
    if (node.op == Op::Open) groups = std::max(groups, node.a);
  return groups;
}

int TRegex::MatchPos(int n) const {
  if (n < 0 || n >= kSubMatches || !has_input_) return -1;
  const uint32_t s = state_->start[static_cast<size_t>(n)], e = state_->end[static_cast<size_t>(n)];
  if (s == kRegexNone || e == kRegexNone || e < s) return -1;
  return static_cast<int>(s) + 1;
}

int TRegex::MatchLen(int n) const {
  if (MatchPos(n) < 0) return -1;
  return static_cast<int>(state_->end[static_cast<size_t>(n)] - state_->start[static_cast<size_t>(n)]);
}

std::string_view TRegex::MatchView(int n) const {
  const int pos = MatchPos(n);
  if (pos < 0) return {};
  return std::string_view(input_).substr(static_cast<size_t>(pos - 1), static_cast<size_t>(MatchLen(n)));
}

}  // namespace kestrin::script
