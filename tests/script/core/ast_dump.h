// S-expression dumps of syntax trees, for tests.
#pragma once

#include <string>

#include "script/core/ast.h"

namespace kestrin::script::test {

// One expression: constants as literals (doubles always with a '.'), names bare, operators
// as (op operands...), lists as [items...].
std::string DumpExpr(const TJExpr* e);
// A statement chain, each statement as (type[:line] parts...), separated by blanks.
std::string DumpStatements(const TJStatement* first, bool with_lines = false);

}  // namespace kestrin::script::test
