// The syntax tree of a pattern, made by the parser and turned into a program by the compiler.
#pragma once

#include <cstdint>
#include <vector>

#include "script/regexp/regex_program.h"

namespace kestrin::script {

enum class SyntaxKind : uint8_t {
  Empty,   // matches empty: an empty alternative, a comment, an inline modifier
  Atom,    // one program node without operand text: op, operand a
  Lit,     // a literal: op Lit or LitCi, bytes at a with length b in the program
  Group,   // capturing group number a around kids[0]
  Alt,     // alternatives kids, tried in order
  Concat,  // kids in sequence
  Repeat,  // kids[0] repeated min..max times
};

// Parse flags carried upward.
enum SyntaxFlags : int {
  sfHasWidth = 1,  // cannot match empty
  sfSimple = 2,    // exactly one character: a Repeat node can scan it
  sfHasRef = 4,    // holds a back-reference
};

struct SyntaxNode {
  SyntaxKind kind = SyntaxKind::Empty;
  Op op = Op::End;
  int flags = 0;
  int32_t a = 0;
  int32_t b = 0;
  bool lone_lead = false;  // Lit: ends in a lead byte without its trail byte (script mode)
  std::vector<int32_t> kids;
  int32_t min = 0;  // Repeat
  int32_t max = 0;
  bool greedy = true;
  char quant = 0;   // Repeat: '*', '+', '?' or '{'
};

struct SyntaxTree {
  std::vector<SyntaxNode> nodes;
  int32_t root = -1;
};

// Parses settings.expression; literal bytes and sets go into `program`. Throws
// RegexCompileError.
SyntaxTree ParseRegex(const RegexSettings& settings, RegexProgram& program);

}  // namespace kestrin::script
