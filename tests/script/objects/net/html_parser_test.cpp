// The HTML scanner: text and tags, names and attributes, and the br rule.
#include <gtest/gtest.h>

#include "script/objects/net/html_parser.h"

namespace kestrin::script {
namespace {

TEST(HtmlParser, SplitsTextAndTags) {
  THtmlParser p("<b>a, b</b><BR>c > d<!DOCTYPE html><!-- note -->");
  EXPECT_EQ(p.Text, "a, b\r\nc > d");
  ASSERT_EQ(p.Count(), 4);
  EXPECT_EQ(p.GetTag(0)->Name, "b");
  EXPECT_EQ(p.GetTag(1)->Name, "/b");
  EXPECT_EQ(p.GetTag(2)->Name, "!doctype");
  EXPECT_EQ(p.GetTag(3)->Name, "!--");
  EXPECT_EQ(p.GetTag(3)->Attributes.Count(), 0u);
  EXPECT_EQ(p.GetTag(-1), nullptr);
  EXPECT_EQ(p.GetTag(4), nullptr);

  p.Parse("x<br/><i>y<unclosed");  // the text grows; an open tag at the end is dropped
  EXPECT_EQ(p.Text, "a, b\r\nc > dxy");
  ASSERT_EQ(p.Count(), 2);
  EXPECT_EQ(p.GetTag(0)->Name, "br/");
  EXPECT_EQ(p.GetTag(1)->Name, "i");
  THtmlParser restart("a<b<c>d");  // "<" inside a tag restarts it
  EXPECT_EQ(restart.Text, "ad");
  ASSERT_EQ(restart.Count(), 1);
  EXPECT_EQ(restart.GetTag(0)->Name, "c");
}

TEST(HtmlParser, ReadsTagNamesAndAttributes) {
  const struct {
    const char* tag;
    const char* name;
    std::vector<std::pair<std::string, std::string>> attributes;
  } cases[] = {
      {"<A HREF=\"two words\" class=Big>", "a", {{"href", "two words"}, {"class", "Big"}}},
      {"<img alt='say \"hi\"' title=\"it's\">", "img", {{"alt", "say \"hi\""}, {"title", "it's"}}},
      {"<a title=\"x>y\">", "a", {{"title", "x"}}},  // ">" ends even a quoted value
      {"<input checked name=n>", "input", {{"checked name", "n"}}},  // a bare name runs into the next
      {"<input disabled>", "input", {}},
      {"<a\r\nhref\t=\t'u'>", "a", {{"href", "u"}}},
      {"<a href=\"?a=1&amp;b=2\" q=&quot;x&QUOT;>", "a", {{"href", "?a=1&b=2"}, {"q", "\"x\""}}},
      {"<  p  >", "p", {}},
      {"<a x=>", "a", {}},
  };
  for (const auto& c : cases) {
    THtmlTag tag(c.tag);
    EXPECT_EQ(tag.Name, c.name) << c.tag;
    EXPECT_EQ(tag.Attributes.Count(), c.attributes.size()) << c.tag;
    for (const auto& [name, value] : c.attributes) {
      EXPECT_TRUE(tag.Attributes.HasKey(name)) << c.tag << " " << name;
      EXPECT_EQ(tag.GetAttribute(name), value) << c.tag;
      EXPECT_EQ(tag.GetAttribute(name), tag.GetAttribute(std::string(1, static_cast<char>(std::toupper(name[0]))) + name.substr(1)));
    }
  }
}

}  // namespace
}  // namespace kestrin::script
