// The two comma splitters and the CSV header test, each over a table of lines.
#include <gtest/gtest.h>

#include "base/comma_text.h"
#include "base/runtime_errors.h"
#include "base/text_file.h"
#include "support/temp_dir.h"

namespace kestrin {
namespace {

using Cells = std::vector<std::string>;

struct SplitCase {
  const char* line;
  Cells cells;
};

TEST(SplitCommas, SpacesBelongToCellsAndControlCharactersSeparate) {
  const SplitCase cases[] = {
      {"a b,\"c,d\",e", {"a b", "c,d", "e"}},
      {"\"c\"x,e", {"c", "x", "e"}},  // after the closing quote the rest is a cell of its own
      {"  a , b ", {"  a ", " b "}},
      {"\t a,\x01" "b\x02,c", {" a", "b", "c"}},
      {"\"say \"\"hi\"\"\",x", {"say \"hi\"", "x"}},
      {"a,,b", {"a", "", "b"}},
      {"a,", {"a", ""}},
      {"a,\r", {"a", ""}},
      {",", {"", ""}},
      {"", {}},
      {"\r\n", {}},
      {"\"open", {"open"}},
      {"x\"y,z", {"x\"y", "z"}},
      {"1.5,2.5\r", {"1.5", "2.5"}},
  };
  for (const auto& c : cases) EXPECT_EQ(split_commas(c.line), c.cells) << c.line;
}

TEST(SplitCommaText, BlanksSplitOutsideQuotesAsTheStringLists) {
  const SplitCase cases[] = {
      {"  one two , three", {"one", "two", "three"}},
      {"\"b c\",d", {"b c", "d"}},
      {"a,,b", {"a", "", "b"}},
      {"a,", {"a", ""}},
      {"a, ", {"a"}},  // the empty last item comes only from a comma that ends the text
      {"\"c\"x,e", {"c", "x", "e"}},
      {"\"a \"\"q\"\"\"", {"a \"q\""}},
      {"", {}},
      {" \t ", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(split_comma_text(c.line), c.cells) << c.line;
}

TEST(CsvHasHeader, TheFirstNonNumericCellBeforeAnEmptyOneMakesAHeader) {
  test::TempDir dir;
  const struct {
    const char* first_line;
    bool header;
  } cases[] = {
      {"1,2.5,,x", false},  // the empty third cell ends the examination
      {"no,x,y", true},
      {" 1, 2.5 ,1e3 ", false},
      {"1 2 x", true},  // blanks split as commas do
      {"\"1\",\"x\"", true},
      {"+1,.5,5.,-2E-3", false},
      {"12a", true},
      {"1e", true},
      {"", false},
      {"  ", false},
  };
  for (const auto& c : cases) {
    const std::string file = dir.file("list.csv");
    ASSERT_TRUE(write_text_file(file, {c.first_line, "x,y,z"}));
    EXPECT_EQ(csv_has_header(file), c.header) << c.first_line;
  }
  try {
    csv_has_header(dir.file("missing.csv"));
    ADD_FAILURE() << "no error";
  } catch (const EInOutError& e) {
    EXPECT_STREQ(e.what(), "File not found");
  }
}

}  // namespace
}  // namespace kestrin
