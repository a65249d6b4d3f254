// Fuzz target: the script lexer and parser on arbitrary bytes must end in a tree or a
// script error, never a crash, a hang or runaway memory.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "script/core/lex.h"
#include "script/core/parser.h"
#include "script/core/source_text.h"

using namespace kestrin::script;

namespace {

// Visits every node of the tree without recursion, so that the sanitizer sees each one.
size_t Walk(const TJStatement* root) {
  std::vector<const TJStatement*> statements{root};
  std::vector<const TJExpr*> exprs;
  size_t count = 0;
  while (!statements.empty() || !exprs.empty()) {
    if (!exprs.empty()) {
      const TJExpr* e = exprs.back();
      exprs.pop_back();
      if (!e) continue;
      count += static_cast<size_t>(e->Code) + (e->Code == ecIdentifier ? e->Name->size() : 0);
      exprs.insert(exprs.end(), {e->Left, e->Right});
      if (e->Code == ecConditional || e->Code == ecMethodCall) exprs.push_back(e->Third);
      if (e->Code == ecFunction) statements.push_back(e->Statement);
      continue;
    }
    const TJStatement* s = statements.back();
    statements.pop_back();
    if (!s) continue;
    count += static_cast<size_t>(s->Type);
    exprs.push_back(s->Expr);
    // Sub3 points back to the enclosing statement; follow only the downward links.
    statements.insert(statements.end(), {s->Next, s->Sub1(), s->Sub2()});
    if (s->Type == stFor && s->Sub2()) exprs.push_back(s->Sub2()->Next ? s->Sub2()->Next->Expr : nullptr);
  }
  return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  TJLex lex;
  lex.SetSource(DecodeScriptSource(bytes));
  while (lex.Next()) {
  }
  TJParser parser;
  parser.Source = DecodeScriptSource(bytes);
  try {
    if (parser.Parse()) Walk(parser.Root);
  } catch (const EJRuntimeError&) {
  }
  try {
    if (TJExpr* f = parser.ParseEval(bytes)) Walk(f->Statement);
  } catch (const EJRuntimeError&) {
  }
  return 0;
}
