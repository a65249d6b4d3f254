// Parser imports: libraries as namespace modules and as textual includes, the library
// search, missing libraries and import cycles, in temporary folders.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "parse_helpers.h"

namespace kestrin::script {
namespace {

namespace fs = std::filesystem;

// A fresh folder for library files, also the working folder while the test runs (libraries
// imported by libraries are found by their bare name).
class ImportTest : public testing::Test {
protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("kestrin_import_" + std::to_string(getpid()) + "_" +
                                        testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "lib");
    old_cwd_ = fs::current_path();
    fs::current_path(dir_);
  }
  void TearDown() override {
    fs::current_path(old_cwd_);
    fs::remove_all(dir_);
  }
  void Write(const fs::path& name, std::string_view text) {
    std::ofstream(dir_ / name, std::ios::binary) << text;
  }
  std::string Parse(std::string_view source, std::vector<std::string> path = {}) {
    TJParser parser;
    parser.LibraryPath = std::move(path);
    return test::ParseToText(parser, source);
  }
  std::string Lib() const { return (dir_ / "lib").string(); }

  fs::path dir_;
  fs::path old_cwd_;
};

constexpr const char* kUtil = "function f() { return 1; }\n";
constexpr const char* kUtilTree = "(function f (params (param)) (block (return 1)) (return ()))";

TEST_F(ImportTest, ByNameParsesAModule) {
  Write("lib/Util.dms", kUtil);
  EXPECT_EQ(Parse("import Util; x;", {Lib()}), std::string("(module Util ") + kUtilTree + ") (expr x)");
}

TEST_F(ImportTest, TextualImportSplicesTheText) {
  Write("lib/Util.dms", kUtil);
  EXPECT_EQ(Parse("import Util.*; x;", {Lib() + "/"}), std::string("(empty) ") + kUtilTree + " (expr x)");
  EXPECT_EQ(Parse("import Util.*; import Util.*;", {Lib()}),
            std::string("(empty) ") + kUtilTree + " (empty) " + kUtilTree);
}

TEST_F(ImportTest, EmptyLibraryLeavesAnEmptyStatement) {
  Write("E.dms", "// nothing here\n");
  EXPECT_EQ(Parse("import E; x;"), "(empty) (expr x)");
  EXPECT_EQ(Parse("import E.*; x;"), "(empty) (expr x)");
}

TEST_F(ImportTest, FindsANameThatDiffersInCase) {
  Write("lib/util.dms", kUtil);
  EXPECT_EQ(Parse("import Util;", {Lib()}), std::string("(module Util ") + kUtilTree + ")");
}

TEST_F(ImportTest, ExactNameWinsOverCaseMatch) {
  Write("lib/A.dms", "exact;");
  Write("lib/a.dms", "folded;");
  EXPECT_EQ(Parse("import A.*;", {Lib()}), "(empty) (expr exact)");
}

TEST_F(ImportTest, LibraryPathIsSearchedInOrder) {
  fs::create_directories(dir_ / "second");
  Write("second/A.dms", "second;");
  Write("lib/A.dms", "first;");
  EXPECT_EQ(Parse("import A.*;", {(dir_ / "none").string(), Lib(), (dir_ / "second").string()}),
            "(empty) (expr first)");
  EXPECT_EQ(Parse("import A.*;", {(dir_ / "second").string(), Lib()}), "(empty) (expr second)");
}

TEST_F(ImportTest, MissingLibraryCanNotBeOpened) {
  EXPECT_EQ(Parse("x;\nimport Nope;", {Lib()}), "error 2: can not open: Nope.dms: Text( ; )");
}

// A library's parser has an empty library path: its imports find files by bare name only.
TEST_F(ImportTest, LibrariesImportByBareName) {
  Write("lib/A.dms", "\nimport B;");
  Write("lib/B.dms", "b;");
  EXPECT_EQ(Parse("import A;", {Lib()}), "error 2: can not open: B.dms: Text( ; )");
  Write("B.dms", "b;");
  EXPECT_EQ(Parse("import A;", {Lib()}), "(module A (module B (expr b)))");
}

TEST_F(ImportTest, SyntaxErrorInLibraryHasItsLine) {
  Write("A.dms", "a;\nb +;");
  EXPECT_EQ(Parse("import A;"), "error 2: Text( ; )");
  EXPECT_EQ(Parse("\n\n\nimport A.*;"), "error 5: Text( ; )");
}

TEST_F(ImportTest, CyclesAreSyntaxErrors) {
  Write("A.dms", "import B;");
  Write("B.dms", "import A;");
  EXPECT_EQ(Parse("import A;"), "error 1: circular import: A.dms: Text( ; )");
  Write("Self.dms", "x;\nimport Self.*;");
  EXPECT_EQ(Parse("import Self.*;"), "error 2: circular import: Self.dms: Text( ; )");
  Write("C.dms", "import D.*;");
  Write("D.dms", "import C;");
  EXPECT_EQ(Parse("import C.*;"), "error 1: circular import: C.dms: Text( ; )");
  Write("E.dms", "import e.*;");
  Write("e.dms", "import E.*;");
  EXPECT_EQ(Parse("import E.*;"), "error 1: circular import: E.dms: Text( ; )");
}

TEST_F(ImportTest, TooManyImportsEndTheParse) {
  for (int i = 0; i < 12; ++i) {
    std::string next = "L" + std::to_string(i + 1);
    Write("L" + std::to_string(i) + ".dms", "import " + next + ".*; import " + next + ".*;");
  }
  Write("L12.dms", "x;");
  EXPECT_EQ(Parse("import L0.*;").substr(0, 28), "error 1: too many imports: L");
}

TEST_F(ImportTest, LongImportChainsAreTooDeep) {
  for (int i = 0; i < 300; ++i) Write("N" + std::to_string(i) + ".dms", "import N" + std::to_string(i + 1) + ";");
  Write("N300.dms", "x;");
  EXPECT_EQ(Parse("import N0;"), "error 1: too deeply nested: Text( ; )");
  Write("N200.dms", "x;");
  EXPECT_EQ(Parse("import N0;").substr(0, 20), "(module N0 (module N");
}

TEST_F(ImportTest, Cp932LibraryIsDecoded) {
  Write("J.dms", "s = \"\x95\x5C\";");  // a kanji whose trail byte is 0x5C
  EXPECT_EQ(Parse("import J.*;"), "(empty) (expr (= s \"\x95\\x5C\"))");
}

}  // namespace
}  // namespace kestrin::script
