// The compiler: turns the syntax tree into the node program, then works out the first sets
// and the other accelerators that let the matcher skip hopeless start positions.
#include <algorithm>
#include <cstring>

#include "script/regexp/regex_syntax.h"

namespace kestrin::script {
namespace {

// A first-set walk gives up (and allows everything) after visiting this many nodes, so that
// compiling stays linear in the size of the pattern.
constexpr int kFirstSetWalkLimit = 128;

class CodeGen {
public:
  CodeGen(const SyntaxTree& tree, RegexProgram& program) : tree_(tree), p_(program) {}

  void Run() {
    const int32_t end = Emit(Op::End, -1);
    p_.entry = Gen(tree_.root, end);
  }

private:
  int32_t Emit(Op op, int32_t next, int32_t a = 0, int32_t b = 0, int32_t c = 0) {
    Node n;
    n.op = op;
    n.next = next;
    n.a = a;
    n.b = b;
    n.c = c;
    p_.nodes.push_back(n);
    return static_cast<int32_t>(p_.nodes.size() - 1);
  }

  // Emits the code of syntax node `s` so that it continues at `cont`; returns its entry.
  // A flat dispatch on the node kind.
  int32_t Gen(int32_t s, int32_t cont) {
    const SyntaxNode& n = tree_.nodes[static_cast<size_t>(s)];
    switch (n.kind) {
      case SyntaxKind::Empty:
        return cont;
      case SyntaxKind::Atom:
        return Emit(n.op, cont, n.a);
      case SyntaxKind::Lit: {
        const int32_t k = Emit(n.op, cont, n.a, n.b);
        p_.nodes[static_cast<size_t>(k)].flag = n.lone_lead;
        return k;
      }
      case SyntaxKind::Concat:
        for (auto it = n.kids.rbegin(); it != n.kids.rend(); ++it) cont = Gen(*it, cont);
        return cont;
      case SyntaxKind::Alt: {
        int32_t chain = Gen(n.kids.back(), cont);
        for (size_t k = n.kids.size() - 1; k-- > 0;) chain = Emit(Op::Split, Gen(n.kids[k], cont), chain);
        return chain;
      }
      case SyntaxKind::Group: {
        const int32_t close = Emit(Op::Close, cont, n.a);
        return Emit(Op::Open, Gen(n.kids[0], close), n.a);
      }
      case SyntaxKind::Repeat:
        return GenRepeat(n, cont);
    }
    return cont;
  }

  // A one-character operand becomes a Repeat node. A complex one: greedy '*' and '+' loop
  // through a Split, greedy '?' is a Split, and every other quantifier is a counted loop.
  int32_t GenRepeat(const SyntaxNode& n, int32_t cont) {
    const SyntaxNode& kid = tree_.nodes[static_cast<size_t>(n.kids[0])];
    if (kid.flags & sfSimple) {
      const int32_t operand = Gen(n.kids[0], -1);
      p_.repeats.push_back(RepeatInfo{n.min, n.max, n.greedy, -1});
      return Emit(Op::Repeat, cont, operand, static_cast<int32_t>(p_.repeats.size() - 1));
    }
    if (n.greedy && n.quant == '?') return Emit(Op::Split, Gen(n.kids[0], cont), cont);
    const bool guarded = kid.flags & sfHasRef;
    if (n.greedy && (n.quant == '*' || n.quant == '+')) {
      const int32_t split = Emit(Op::Split, -1, cont);
      int32_t body_end = split;
      int32_t slot = -1;
      if (guarded) {
        slot = p_.guard_slots++;
        body_end = Emit(Op::Guard, split, cont, slot);
      }
      int32_t body = Gen(n.kids[0], body_end);
      if (guarded) body = Emit(Op::Mark, body, slot);
      p_.nodes[static_cast<size_t>(split)].next = body;
      return n.quant == '*' ? split : body;
    }
    p_.loops.push_back(LoopInfo{n.min, n.max, -1, n.greedy, guarded});
    const int32_t index = static_cast<int32_t>(p_.loops.size() - 1);
    const int32_t loop = Emit(Op::Loop, cont, index);
    p_.loops[static_cast<size_t>(index)].body = Gen(n.kids[0], loop);
    return Emit(Op::LoopEntry, loop);
  }

  const SyntaxTree& tree_;
  RegexProgram& p_;
};

// Bytes that can begin the match of one character node.
void AddFirstBytes(const RegexProgram& p, const Node& n, FirstSet& f) {
  switch (n.op) {
    case Op::Digit:
      f.bytes.AddRange('0', '9');
      break;
    case Op::Set: {
      const CharSet& s = p.sets[static_cast<size_t>(n.a)];
      f.bytes.Merge(s.bytes);
      if (p.settings.script_mode && (s.negated || !s.wide.empty())) {
        for (unsigned c = 0x81; c <= 0xFC; ++c)
          if (is_cp932_lead(static_cast<unsigned char>(c))) f.bytes.Add(static_cast<unsigned char>(c));
      }
      break;
    }
    case Op::Lit:
    case Op::LitCi:
      f.bytes.Add(static_cast<unsigned char>(p.literals[static_cast<size_t>(n.a)]));
      f.bytes.Add(static_cast<unsigned char>(p.folded[static_cast<size_t>(n.a)]));
      break;
    default:  // Any, AnyMl, NotDigit, and anything not worth narrowing
      f.bytes.AddAll();
      break;
  }
}

// The first set of the code from `start`: every byte a match from there can begin with,
// found by walking the nodes that consume nothing.
FirstSet FirstOf(const RegexProgram& p, int32_t start, std::vector<int32_t>& seen, int32_t mark) {
  FirstSet f;
  std::vector<int32_t> todo{start};
  int visited = 0;
  while (!todo.empty()) {
    const int32_t k = todo.back();
    todo.pop_back();
    if (k < 0 || seen[static_cast<size_t>(k)] == mark) continue;
    seen[static_cast<size_t>(k)] = mark;
    if (++visited > kFirstSetWalkLimit) {
      f.SetAll();
      return f;
    }
    const Node& n = p.nodes[static_cast<size_t>(k)];
    switch (n.op) {
      case Op::End:
      case Op::Ref:
      case Op::RefCi:
        f.SetAll();
        return f;
      case Op::Eol:
        f.at_end = true;
        break;
      case Op::Split:
      case Op::Guard:
        todo.push_back(n.next);
        todo.push_back(n.a);
        break;
      case Op::Repeat: {
        const Node& operand = p.nodes[static_cast<size_t>(n.a)];
        if (operand.op == Op::Ref || operand.op == Op::RefCi) {  // may repeat an empty text
          f.SetAll();
          return f;
        }
        AddFirstBytes(p, operand, f);
        if (p.repeats[static_cast<size_t>(n.b)].min == 0) todo.push_back(n.next);
        break;
      }
      case Op::LoopEntry: {  // the first iteration, or none
        const Node& loop = p.nodes[static_cast<size_t>(n.next)];
        const LoopInfo& l = p.loops[static_cast<size_t>(loop.a)];
        todo.push_back(l.body);
        if (l.min == 0 || l.guarded) todo.push_back(loop.next);
        break;
      }
      case Op::Loop:  // after an iteration: another one, or the rest
        todo.push_back(p.loops[static_cast<size_t>(n.a)].body);
        todo.push_back(n.next);
        break;
      case Op::Any: case Op::AnyMl: case Op::Digit: case Op::NotDigit: case Op::Set:
      case Op::Lit: case Op::LitCi:
        AddFirstBytes(p, n, f);
        break;
      default:  // anchors, boundaries, group marks and loop entries consume nothing
        todo.push_back(n.next);
        break;
    }
  }
  return f;
}

int32_t AddFirst(RegexProgram& p, int32_t start, std::vector<int32_t>& seen, int32_t& mark) {
  p.firsts.push_back(FirstOf(p, start, seen, ++mark));
  return static_cast<int32_t>(p.firsts.size() - 1);
}

// The longest case-sensitive literal that every match contains: literals in sequence at the
// top, inside groups of one alternative and inside repeats of at least one.
void CollectRequired(const SyntaxTree& t, const RegexProgram& p, int32_t s, std::string& best) {
  const SyntaxNode& n = t.nodes[static_cast<size_t>(s)];
  switch (n.kind) {
    case SyntaxKind::Lit:
      if (n.op == Op::Lit && static_cast<size_t>(n.b) >= best.size())
        best.assign(p.literals, static_cast<size_t>(n.a), static_cast<size_t>(n.b));
      break;
    case SyntaxKind::Concat:
      for (int32_t k : n.kids) CollectRequired(t, p, k, best);
      break;
    case SyntaxKind::Group:
      CollectRequired(t, p, n.kids[0], best);
      break;
    case SyntaxKind::Repeat:
      if (n.min > 0) CollectRequired(t, p, n.kids[0], best);
      break;
    default:
      break;
  }
}

// Anchors, the leading literal and the leading repeat, found through the group starts that
// begin the program.
void FindLeadingNodes(RegexProgram& p, bool has_refs) {
  int32_t k = p.entry;
  while (p.nodes[static_cast<size_t>(k)].op == Op::Open) k = p.nodes[static_cast<size_t>(k)].next;
  const Node& n = p.nodes[static_cast<size_t>(k)];
  p.anchored = n.op == Op::Bol;
  if (n.op == Op::Lit) p.prefix = RegexLiteral::Of(p.literals.substr(static_cast<size_t>(n.a), static_cast<size_t>(n.b)));
  if (n.op == Op::Repeat && !has_refs && p.repeats[static_cast<size_t>(n.b)].max == kRegexInfinite)
    p.leading_repeat = k;
}

void BuildAccelerators(const SyntaxTree& tree, RegexProgram& p) {
  std::vector<int32_t> seen(p.nodes.size(), 0);
  int32_t mark = 0;
  for (Node& n : p.nodes) {
    if (n.op == Op::Split) {
      n.b = AddFirst(p, n.next, seen, mark);
      n.c = AddFirst(p, n.a, seen, mark);
    }
  }
  for (Node& n : p.nodes)
    if (n.op == Op::Repeat) p.repeats[static_cast<size_t>(n.b)].follow = AddFirst(p, n.next, seen, mark);
  p.first = FirstOf(p, p.entry, seen, ++mark);
  std::string required;
  CollectRequired(tree, p, tree.root, required);
  p.required = RegexLiteral::Of(std::move(required));
  const int root_flags = tree.nodes[static_cast<size_t>(tree.root)].flags;
  bool has_refs = root_flags & sfHasRef;
  for (const SyntaxNode& n : tree.nodes) has_refs = has_refs || (n.flags & sfHasRef);
  FindLeadingNodes(p, has_refs);
}

// How common a byte is in typical text, for picking the rarest byte of a literal: higher is
// more common.
int Commonness(unsigned char c) {
  static const char kByFrequency[] =
      " etaoinsrhldcumfpgwybvkxjqz\n\r,.0123456789-ETAOINSRHLDCUMFPGWYBVKXJQZ\t:;()'\"/=_";
  const void* hit = std::memchr(kByFrequency, c, sizeof kByFrequency - 1);
  if (!hit) return 0;
  return static_cast<int>(sizeof kByFrequency - (static_cast<const char*>(hit) - kByFrequency));
}

}  // namespace

RegexLiteral RegexLiteral::Of(std::string text) {
  RegexLiteral lit;
  for (size_t k = 1; k < text.size(); ++k)
    if (Commonness(static_cast<unsigned char>(text[k])) < Commonness(static_cast<unsigned char>(text[lit.rare])))
      lit.rare = k;
  lit.text = std::move(text);
  return lit;
}

std::shared_ptr<const RegexProgram> CompileRegexProgram(const RegexSettings& settings) {
  auto p = std::make_shared<RegexProgram>();
  p->settings = settings;
  const SyntaxTree tree = ParseRegex(settings, *p);
  CodeGen(tree, *p).Run();
  p->word = ByteSet::Of(settings.word_chars);
  p->separators = ByteSet::Of(settings.line_separators);
  if (settings.line_paired_separator.size() == 2) {
    p->pair_head = static_cast<unsigned char>(settings.line_paired_separator[0]);
    p->pair_tail = static_cast<unsigned char>(settings.line_paired_separator[1]);
  }
  BuildAccelerators(tree, *p);
  return p;
}

std::shared_ptr<const RegexProgram> RegexProgramCache::Find(const RegexSettings& settings) {
  for (size_t k = entries_.size(); k-- > 0;) {
    if (entries_[k]->settings == settings) {
      auto hit = entries_[k];
      entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(k));
      entries_.push_back(hit);
      return hit;
    }
  }
  return nullptr;
}

void RegexProgramCache::Insert(std::shared_ptr<const RegexProgram> program) {
  if (!program) return;
  if (entries_.size() >= capacity_) entries_.erase(entries_.begin());
  entries_.push_back(std::move(program));
}

}  // namespace kestrin::script
