// Parser: tree dumps of every statement and expression form, and syntax errors with their lines.
#include <gtest/gtest.h>

#include "ast_dump.h"
#include "parse_helpers.h"
#include "script/core/source_text.h"

namespace kestrin::script {
namespace {

using test::ParseToText;

struct ParseCase {
  const char* source;
  const char* tree;
};

class ParseTable : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseTable, GivesTree) { EXPECT_EQ(ParseToText(GetParam().source), GetParam().tree) << GetParam().source; }

INSTANTIATE_TEST_SUITE_P(Expressions, ParseTable, testing::Values(
    ParseCase{"a = b = 3;", "(expr (= a (= b 3)))"},
    ParseCase{"a - b - c;", "(expr (- (- a b) c))"},
    ParseCase{"a, b, c;", "(expr (, (, a b) c))"},
    ParseCase{"x *= 2; x /= 2; x += 2; x -= 2; x %= 2;",
         "(expr (*= x 2)) (expr (/= x 2)) (expr (+= x 2)) (expr (-= x 2)) (expr (%= x 2))"},
    ParseCase{"x <<= 1; x >>= 1; x >>>= 1; x &= 1; x ^= 1; x |= 1;",
         "(expr (<<= x 1)) (expr (>>= x 1)) (expr (>>>= x 1)) (expr (&= x 1)) (expr (^= x 1)) (expr (|= x 1))"},
    ParseCase{"a || b && c | d ^ e & f == g < h << i + j * k;",
         "(expr (|| a (&& b (| c (^ d (& e (== f (< g (<< h (+ i (* j k)))))))))))"},
    ParseCase{"a != b; a === b; a !== b; a > b; a <= b; a >= b; a >> b; a >>> b; a / b; a % b;",
         "(expr (!= a b)) (expr (=== a b)) (expr (!== a b)) (expr (> a b)) (expr (<= a b)) "
         "(expr (>= a b)) (expr (>> a b)) (expr (>>> a b)) (expr (/ a b)) (expr (% a b))"},
    ParseCase{"c ? x : y ? 1 : 2;", "(expr (?: c x (?: y 1 2)))"},
    ParseCase{"c ? a, b : d;", "(expr (?: c (, a b) d))"},
    ParseCase{"c ? (x = 1) : (y = 2);", "(expr (?: c (= x 1) (= y 2)))"},
    ParseCase{"++a; --a; a++; a--; +a; -a; !a; ~a;",
         "(expr (pre++ a)) (expr (pre-- a)) (expr (post++ a)) (expr (post-- a)) (expr (pos a)) "
         "(expr (neg a)) (expr (! a)) (expr (~ a))"},
    ParseCase{"a(1); a[1]; a(1]; a[1, 2]; a();", "(expr (call a [1])) (expr (call a [1])) (expr (call a [1])) "
                                             "(expr (call a [1 2])) (expr (call a []))"},
    ParseCase{"a.b; a.b(1); a.b[1]; a.b.c();", "(expr (. a b)) (expr (method a b [1])) (expr (method a b [1])) "
                                          "(expr (method (. a b) c []))"},
    ParseCase{"new A; new A(1, 2); new a.B();", "(expr (new A [])) (expr (new A [1 2])) (expr (method (new a []) B []))"},
    ParseCase{"this.x; super.f(); super;", "(expr (. this x)) (expr (call (super. f) [])) (expr this)"},
    ParseCase{"typeof x == \"undefined\";", "(expr (typeof (== x \"undefined\")))"},
    ParseCase{"typeof(x) == \"undefined\";", "(expr (== (typeof x) \"undefined\"))"},
    ParseCase{"void a, b; delete a.b, c;", "(expr (void (, a b))) (expr (delete (, (. a b) c)))"},
    ParseCase{"x = {}; x = {a, b: 1, \"c\": 2, 3: 4, 1.5: 5};",
         "(expr (= x (object []))) (expr (= x (object [(prop a _) (prop b 1) (prop \"c\" 2) (prop 3 4) (prop 1.5 5)])))"},
    ParseCase{"x = []; x = [1, [2], \"s\"];", "(expr (= x (array []))) (expr (= x (array [1 (array [2]) \"s\"])))"},
    ParseCase{"x = /a+/gi; x = null; x = true; x = false; x = NaN; x = 1.5;",
         "(expr (= x /a+/gi)) (expr (= x null)) (expr (= x true)) (expr (= x false)) (expr (= x NaN)) (expr (= x 1.5))"},
    ParseCase{"x = /a/gimgimgim;", "(expr (= x /a/gimgimg))"},
    ParseCase{"\"abc\"(1);", "(expr (call \"abc\" [1]))"},
    ParseCase{"f = function(a, b) { return a; };",
         "(expr (= f (function _ (params (param a) (param b)) (block (return a)) (return ()))))"},
    ParseCase{"x = function g() {};", "(expr (= x (= g (function g (params (param)) (block) (return ())))))"},
    ParseCase{"a.delete(); r.$_;", "(expr (method a delete [])) (expr (. r input))"}));

INSTANTIATE_TEST_SUITE_P(Statements, ParseTable, testing::Values(
    ParseCase{";", "(empty)"},
    ParseCase{"{ a; { } }", "(block (expr a) (block))"},
    ParseCase{"if (a) b; else c;", "(if a (expr b) (expr c))"},
    ParseCase{"if (a) if (b) c; else d;", "(if a (if b (expr c) (expr d)))"},
    ParseCase{"while (a) b;", "(while a (expr b))"},
    ParseCase{"do a; while (b);", "(do b (expr a)) (empty)"},
    ParseCase{"for (var i = 0; i < 3; i++) a;", "(for (var (= i 0)) (< i 3) (post++ i) (expr a))"},
    ParseCase{"for (;;) ;", "(for _ _ _ (empty))"},
    ParseCase{"for (var k in o) a; for (k in o.p) b;", "(forin (var k) o (expr a)) (forin k (. o p) (expr b))"},
    ParseCase{"while (1) { break; continue; }", "(while 1 (block (break) (empty) (continue) (empty)))"},
    ParseCase{"return; return a, b;", "(return) (return (, a b))"},
    ParseCase{"throw; throw e;", "(throw) (throw e)"},
    ParseCase{"with (o) a;", "(with o (expr a))"},
    ParseCase{"switch (x) { case 1: a; b; case /re/: default: c; }",
         "(switch x (case 1 (expr a) (expr b)) (case /re/) (default (expr c)))"},
    ParseCase{"var a, b = 1; static s; global g = 2;",
         "(var (item a) (item b 1)) (static (item s)) (global (item g 2))"},
    ParseCase{"try a; catch (e) b; finally c;", "(try (expr a) (catch e (expr b)) (finally (expr c)))"},
    ParseCase{"try { } catch { } try { } catch () { } try a; finally b;",
         "(try (block) (catch (block))) (try (block) (catch (block))) (try (expr a) (finally (expr b)))"},
    ParseCase{"function f(a) { var x; }", "(function f (params (param a)) (block (var (item x))) (return ()))"},
    ParseCase{"function () { }", "(function _ (params (param)) (block) (return ()))"},
    ParseCase{"class A { var x; y, z = 1; static s; function m() { } }",
         "(class A _ (var (item x)) (var (item y) (item z 1)) (static (item s)) "
         "(function m (params (param)) (block) (return ())))"},
    ParseCase{"class B(A) { } class C extends A { }", "(class B A) (class C A)"},
    ParseCase{"a; } b;", "(expr a)"},
    ParseCase{"a; undefined; b;", "(expr a)"},
    ParseCase{"@set @X = 1 a;", "(empty) (expr a)"}));

INSTANTIATE_TEST_SUITE_P(Defines, ParseTable, testing::Values(
    ParseCase{"a || b; @set @SHORT_CIRCUIT = 0 a || b; a && b; @set @SHORT_CIRCUIT = 1 a && b;",
         "(expr (|| a b)) (empty) (expr (||all a b)) (expr (&&all a b)) (empty) (expr (&& a b))"},
    ParseCase{"@set @VERSION7 = true for (k in o) ; @set @VERSION7 = 0 for (k in o) ;",
         "(empty) (forin7 k o (empty)) (empty) (forin k o (empty))"},
    ParseCase{"@set @X = 1 + 1", "error 1: Text(  )"},
    ParseCase{"@set @X = y;", "error 1: Text( ; )"},
    ParseCase{"@sat @X = 1;", "error 1: Text( sat )"}));

INSTANTIATE_TEST_SUITE_P(Errors, ParseTable, testing::Values(
    ParseCase{"c ? x = 1 : y = 2;", "error 1: Text( = )"},
    ParseCase{"a + b = 1;", "error 1: Text( = )"},
    ParseCase{"1 = 2;", "error 1: Text( = )"},
    ParseCase{"x == undefined;", "error 1: Text( undefined )"},
    ParseCase{"break\n;", "(break) (empty)"},
    ParseCase{"while (1) break", "error 1: Text(  )"},
    ParseCase{"do a; while (b)\nx;", "error 2: Text( x )"},
    ParseCase{"for (in o) a;", "error 1: Text( in )"},
    ParseCase{"switch (x) { }", "error 1: Text( } )"},
    ParseCase{"switch (x) { default: default: }", "error 1: Text( default )"},
    ParseCase{"try a;\nb;", "error 2: not found catch-statement: Text( b )"},
    ParseCase{"[1,,2];", "error 1: Text( , )"},
    ParseCase{"[1, 2,];", "error 1: Text( ] )"},
    ParseCase{"f(1,);", "error 1: Text( ) )"},
    ParseCase{"x = {a: 1,};", "error 1: Text( } )"},
    ParseCase{"x = {if: 1};", "error 1: Text( if )"},
    ParseCase{"a = 1\nb = 2;", "error 2: Text( b )"},
    ParseCase{"a +;", "error 1: Text( ; )"},
    ParseCase{"x = (1;", "error 1: Text( ; )"},
    ParseCase{"function f() x;", "error 1: Text( x )"},
    ParseCase{"new a.b;", "(expr (. (new a []) b))"},
    ParseCase{"new 1;", "error 1: Text( 1 )"},
    ParseCase{"x = 1 +\n\n", "error 3: Text(  )"},
    ParseCase{"import ;", "error 1: Text( ; )"},
    ParseCase{"import A +;", "error 1: Text( + )"},
    ParseCase{"class { }", "error 1: Text( { )"}));

INSTANTIATE_TEST_SUITE_P(NothingToParse, ParseTable, testing::Values(
    ParseCase{"", "<none>"}, ParseCase{"// only a comment\n/* and another */", "<none>"}, ParseCase{"}", "<none>"},
    ParseCase{"const x = 1;", "<none>"}));

// Lines: simple statements take the line of their ';', compound statements the line of
// the token after them; an error inside an if condition reports the line where parsing is.
TEST(Parser, StatementLinesAreTakenAtCompletion) {
  EXPECT_EQ(ParseToText("a;\nif (b)\n  c;\n\nd;", true), "(expr:1 a) (if:5 b (expr:3 c)) (expr:5 d)");
  EXPECT_EQ(ParseToText("function f() {\n  return 1;\n}\n", true),
            "(function:1 f (params (param:1)) (block:4 (return:2 1)) (return:-1 ()))");
  EXPECT_EQ(ParseToText("x = 1;\nif (a +\n\n) b;"), "error 4: Text( ) )");
}

TEST(Parser, FunctionsKnowTheirEnclosingStatement) {
  TJParser parser;
  parser.Source = U"class A { function m() { function inner() { } } }";
  ASSERT_TRUE(parser.Parse());
  const TJStatement* cls = parser.Root->Sub1();
  ASSERT_EQ(cls->Type, stClass);
  EXPECT_EQ(cls->Sub3(), parser.Root);
  const TJStatement* m = cls->Sub1();
  ASSERT_EQ(m->Type, stFunction);
  EXPECT_EQ(m->Sub3(), cls);
  const TJStatement* inner = m->Sub2()->Sub1();
  ASSERT_EQ(inner->Type, stFunction);
  EXPECT_EQ(inner->Sub3(), m);
  EXPECT_TRUE(parser.Nesting.empty());
}

TEST(Parser, EvalWrapsTextInAFunction) {
  TJParser parser;
  TJExpr* f = parser.ParseEval("1 + x");
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(test::DumpExpr(f), "(function _ (params (param)) (block (return (+ 1 x))) (return ()))");
  EXPECT_EQ(f->Statement->Sub3(), nullptr);
  EXPECT_TRUE(parser.Nesting.empty());
  EXPECT_THROW(parser.ParseEval("1 +"), EJSyntaxError);
  EXPECT_NE(parser.ParseEval("2"), nullptr);
}

TEST(Parser, IdentifiersCarryInternedNameAndHash) {
  TJParser parser;
  parser.Source = U"abc; abc;";
  ASSERT_TRUE(parser.Parse());
  const TJExpr* a = parser.Root->Sub1()->Expr;
  const TJExpr* b = parser.Root->Sub1()->Next->Expr;
  EXPECT_EQ(a, b);  // one shared node per name
  EXPECT_EQ(a->Name->Hash(), KeyHash("abc"));
}

// Nesting deeper than the stack allows ends in a syntax error, not a stack overflow.
TEST(Parser, DeepNestingIsASyntaxError) {
  std::string parens(100000, '(');
  EXPECT_EQ(ParseToText(parens), "error 1: too deeply nested: Text( ( )");
  std::string blocks(100000, '{');
  EXPECT_EQ(ParseToText(blocks), "error 1: too deeply nested: Text( { )");
  std::string minus(1000000, '!');
  EXPECT_EQ(ParseToText(minus + "x;"), "error 1: too deeply nested: Text( ! )");
  std::string ifs;
  for (int i = 0; i < 100000; ++i) ifs += "if (1) ";
  EXPECT_EQ(ParseToText(ifs + ";").substr(0, 33), "error 1: too deeply nested: Text(");
}

// The nesting budget is a count of levels, not what the stack of one build holds: nesting
// a few levels under it parses, and nesting as deep as the budget is the syntax error, in
// every build type.
TEST(Parser, NestingBudgetIsTheSameInEveryBuild) {
  struct Case {
    const char* open;
    const char* inner;
    const char* close;
  };
  const Case cases[] = {{"(", "1", ")"}, {"{", "x;", "}"}, {"!", "x", ""}, {"if (1) ", "x;", ""}, {"- ", "x", ""}};
  const auto nested = [](const Case& c, int depth) {
    std::string text;
    for (int i = 0; i < depth; ++i) text += c.open;
    text += c.inner;
    for (int i = 0; i < depth; ++i) text += c.close;
    return text + ";";
  };
  for (const Case& c : cases) {
    TJParser parser;
    parser.Source = DecodeCp932(nested(c, kMaxNesting - 3));
    EXPECT_NO_THROW(parser.Parse()) << c.open;
    EXPECT_EQ(ParseToText(nested(c, kMaxNesting)).substr(0, 28), "error 1: too deeply nested: ") << c.open;
  }
}

// Operator chains, call chains and else-if chains are flat: no length limit, and the same
// tree as a short chain (a left-leaning chain of binary nodes, ifs nested in else parts).
TEST(Parser, FlatChainsHaveNoLengthLimit) {
  TJParser parser;
  std::string sum = "x";
  for (int i = 0; i < 20000; ++i) sum += "+x";
  parser.Source = DecodeCp932(sum + ";");
  ASSERT_TRUE(parser.Parse());
  int links = 0;
  for (const TJExpr* e = parser.Root->Sub1()->Expr; e->Code == ecAdd; e = e->Left) ++links;
  EXPECT_EQ(links, 20000);

  std::string calls = "f";
  for (int i = 0; i < 20000; ++i) calls += "()";
  parser.Source = DecodeCp932(calls + ";");
  ASSERT_TRUE(parser.Parse());

  std::string chain = "if (a) b;";
  for (int i = 0; i < 5000; ++i) chain += " else if (a) b;";
  parser.Source = DecodeCp932(chain + " else c;\nd;");
  ASSERT_TRUE(parser.Parse());
  int ifs = 0;
  const TJStatement* s = parser.Root->Sub1();
  for (; s->Type == stIf; s = s->Sub2()) {
    EXPECT_EQ(s->Line, 2);
    ++ifs;
  }
  EXPECT_EQ(ifs, 5001);
  EXPECT_EQ(s->Type, stExpr);
  EXPECT_EQ(ParseToText("if (a) b; else if (c) d; else e;", true),
            "(if:1 a (expr:1 b) (if:1 c (expr:1 d) (expr:1 e)))");
}

TEST(Parser, NestingWithinTheBudgetParses) {
  std::string e = std::string(100, '(') + "1" + std::string(100, ')') + ";";
  EXPECT_EQ(ParseToText(e), "(expr 1)");
  std::string list = "f(1";
  for (int i = 0; i < 5000; ++i) list += ",1";
  EXPECT_EQ(ParseToText(list + ");").substr(0, 15), "(expr (call f [");
}

}  // namespace
}  // namespace kestrin::script
