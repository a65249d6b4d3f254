// Syntax tree factories: constant folding, node field order and function shape.
#include <gtest/gtest.h>

#include "ast_dump.h"
#include "parse_helpers.h"

namespace kestrin::script {
namespace {

using test::ParseToText;

struct FoldCase {
  const char* source;
  const char* tree;
};

class FoldTable : public testing::TestWithParam<FoldCase> {};

TEST_P(FoldTable, Folds) { EXPECT_EQ(ParseToText(GetParam().source), GetParam().tree) << GetParam().source; }

INSTANTIATE_TEST_SUITE_P(Arithmetic, FoldTable, testing::Values(
    FoldCase{"1 + 2 * 3;", "(expr 7.0)"},     // + - * / give doubles
    FoldCase{"-5; +5; ~0; -1.5;", "(expr -5) (expr 5) (expr -1) (expr -1.5)"},
    FoldCase{"7 % 2; -7 % 2; 1 << 33; -8 >> 1; -8 >>> 28; 6 & 3; 6 ^ 3; 6 | 3;",
         "(expr 1) (expr -1) (expr 2) (expr -4) (expr 15) (expr 2) (expr 5) (expr 7)"},
    FoldCase{"1 / 0; -1 / 0; 0 / 0; 5 % 0;", "(expr inf) (expr -inf) (expr NaN) (expr NaN)"},
    FoldCase{"\"a\" + \"b\"; \"a\" + 1; 1 + \"2\"; \"x\" + 1.5;",
         "(expr \"ab\") (expr \"a1\") (expr \"12\") (expr \"x1.5\")"},
    FoldCase{"x = 2147483647 + 1;", "(expr (= x 2147483648.0))"}));

INSTANTIATE_TEST_SUITE_P(Comparisons, FoldTable, testing::Values(
    FoldCase{"1 < 2; 2 <= 1; \"10\" < \"9\"; \"abc\" < \"abd\";",
         "(expr true) (expr false) (expr false) (expr true)"},
    FoldCase{"1 == 1.0; 1 === 1.0; 1 !== \"1\"; null == \"null\"; \"\" == 0;",
         "(expr true) (expr false) (expr true) (expr true) (expr false)"},
    FoldCase{"true || false; 0 && 1; 1 || 0;", "(expr true) (expr false) (expr true)"}));

INSTANTIATE_TEST_SUITE_P(NotFolded, FoldTable, testing::Values(
    FoldCase{"!true;", "(expr (! true))"},
    FoldCase{"true || x; x + 1 + 2;", "(expr (|| true x)) (expr (+ (+ x 1) 2))"},
    FoldCase{"1, 2; typeof 1; c ? 1 : 2; void 0; 1 ? 2 : 3;",
         "(expr (, 1 2)) (expr (typeof 1)) (expr (?: c 1 2)) (expr (void 0)) (expr (?: 1 2 3))"},
    FoldCase{"x = 1 + (2 + y);", "(expr (= x (+ 1 (+ 2 y))))"}));

// Runs of string literals joined by "+" fold to one text wherever they stand, and the
// folding goes on as before around them.
INSTANTIATE_TEST_SUITE_P(StringChains, FoldTable, testing::Values(
    FoldCase{"\"a\" + \"b\" + \"c\" + \"d\";", "(expr \"abcd\")"},
    FoldCase{"\"a\" + \"b\" + 1 + \"c\"; 1 + 2 + \"a\" + \"b\";", "(expr \"ab1c\") (expr \"3ab\")"},
    FoldCase{"\"a\" + (\"b\" + \"c\") + \"d\"; \"x\" == \"a\" + \"b\" + \"c\"; \"a\" + \"b\" < \"a\" + \"c\";",
             "(expr \"abcd\") (expr false) (expr true)"},
    FoldCase{"\"a\" + \"b\" + x + \"c\" + \"d\";", "(expr (+ (+ (+ \"ab\" x) \"c\") \"d\"))"},
    FoldCase{"x = \"a\" + \"b\" + \"2\" * 3 + \"c\";", "(expr (= x \"ab6c\"))"}));

// A chain of ten thousand literals folds to their whole text.
TEST(FoldChain, TenThousandLiteralsFoldToTheirText) {
  std::string source = "s = \"0\"", text = "0";
  for (int i = 1; i < 10000; ++i) {
    source += " + \"" + std::to_string(i % 10) + "\"";
    text += std::to_string(i % 10);
  }
  EXPECT_EQ(ParseToText(source + ";"), "(expr (= s \"" + text + "\"))");
}

INSTANTIATE_TEST_SUITE_P(Errors, FoldTable, testing::Values(
    FoldCase{"-NaN;", "ETypeError: vtNaN"},
    FoldCase{"1 + NaN;", "ETypeError: vtInteger - vtNaN"},
    FoldCase{"~(1/0);", "ETypeError: vtInfinity"},
    FoldCase{"a; b; 1 + NaN; c;", "ETypeError: vtInteger - vtNaN"}));

TEST(ExprFactory, TernaryStoresSecondOperandInThird) {
  TJExprFactory f;
  TJExpr* a = f.MakeIdentifier("a");
  TJExpr* b = f.MakeIdentifier("b");
  TJExpr* c = f.MakeIdentifier("c");
  TJExpr* e = f.MakeTernary(ecConditional, a, b, c);
  EXPECT_EQ(e->Left, a);
  EXPECT_EQ(e->Third, b);
  EXPECT_EQ(e->Right, c);
}

// Equal literals share one constant node, so a fold never changes its operand: -5 is the
// shared node of -5, and the 5 it came from still holds 5.
TEST(ExprFactory, FoldsLeaveSharedConstantsAlone) {
  TJExprFactory f;
  TJExpr* five = f.MakeInteger(5);
  TJExpr* minus_five = f.MakeUnary(ecMinus, five);
  EXPECT_EQ(minus_five->Code, ecConstant);
  EXPECT_EQ(minus_five->Value->integer(), -5);
  EXPECT_EQ(five->Value->integer(), 5);
  EXPECT_EQ(minus_five, f.MakeInteger(-5));
  EXPECT_EQ(f.MakeString("ab"), f.MakeBinary(ecAdd, f.MakeString("a"), f.MakeString("b")));
  EXPECT_NE(f.MakeDouble(5), five);  // the double 5 and the integer 5 are different values
  TJExpr* t = f.MakeBool(true);
  EXPECT_NE(f.MakeUnary(ecNot, t), t);
}

// Every use of a name is one node; a name that carries a Left operand gets its own.
TEST(ExprFactory, IdentifiersAreSharedUnlessTheyCarryAnOperand) {
  TJExprFactory f;
  TJExpr* x = f.MakeIdentifier("x");
  EXPECT_EQ(f.MakeIdentifier("x"), x);
  TJExpr* declared = f.MakeNamed(x, f.MakeInteger(1));
  EXPECT_NE(declared, x);
  EXPECT_EQ(declared->Name, x->Name);
  EXPECT_EQ(x->Left, nullptr);
}

TEST(ExprFactory, RegExpKeepsSevenFlags) {
  TJExprFactory f;
  TJExpr* e = f.MakeRegExp(std::string_view("a\\d\0gimgimgi", 12));
  EXPECT_EQ(e->Value->type(), vtRegExp);
  EXPECT_EQ(e->Value->text(), "a\\d");
  EXPECT_EQ(e->Value->regexp_flags(), "gimgimg");
}

TEST(StatementFactory, DeclarationKindsAndForHolders) {
  TJExprFactory exprs;
  TJStatementFactory f(exprs);
  EXPECT_EQ(f.MakeDeclaration(1, 0, nullptr)->Type, stGlobal);
  EXPECT_EQ(f.MakeDeclaration(1, 1, nullptr)->Type, stVar);
  EXPECT_EQ(f.MakeDeclaration(1, 2, nullptr)->Type, stStatic);
  TJExpr* cond = exprs.MakeIdentifier("c");
  TJExpr* step = exprs.MakeIdentifier("s");
  TJStatement* s = f.MakeFor(3, nullptr, cond, step, f.Make(stEmpty, 3));
  EXPECT_EQ(s->Sub2()->Expr, cond);
  EXPECT_EQ(s->Sub2()->Next->Expr, step);
}

TEST(StatementFactory, FunctionGetsImplicitReturn) {
  TJExprFactory exprs;
  TJStatementFactory f(exprs);
  NestingStack stack;
  TJStatement* module = f.BeginModule(stack, nullptr);
  TJStatement* fn = f.BeginFunction(stack, 4);
  TJStatement* body = f.Make(stBlock, 5);
  f.EndFunction(stack, nullptr, body, f.Make(stParam, 4));
  EXPECT_EQ(fn->Sub3(), module);
  EXPECT_EQ(fn->Sub1()->Type, stParam);
  EXPECT_EQ(fn->Sub1()->Expr, nullptr);
  EXPECT_EQ(fn->Sub2(), body);
  ASSERT_NE(body->Next, nullptr);
  EXPECT_EQ(body->Next->Type, stReturn);
  EXPECT_EQ(body->Next->Line, -1);
  EXPECT_EQ(body->Next->Expr->Code, ecEmpty);
  EXPECT_EQ(f.EndModule(stack, fn), module);
  EXPECT_TRUE(stack.empty());
}

}  // namespace
}  // namespace kestrin::script
