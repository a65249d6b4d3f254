// Cookies: parsing Set-Cookie values, the request Cookie text and the written-back form.
#include <gtest/gtest.h>

#include "script/objects/net/cookie.h"

namespace kestrin::script {
namespace {

TEST(Cookie, ParsesPairsAndAttributes) {
  TCookie c;
  c.Parse("http://Example.com/dir/page.html?q=1", " a = 1 ; b=2; Path=/x; secure; HttpOnly; max-age=60");
  EXPECT_EQ(c.GetValue("a"), "1");
  EXPECT_EQ(c.GetValue("b"), "2");
  EXPECT_EQ(c.GetValue("max-age"), "60");  // unknown attributes become pairs
  EXPECT_FALSE(c.HasValue("secure"));
  EXPECT_EQ(c.Path, "/x");
  EXPECT_EQ(c.Domain, "example.com");
  EXPECT_FALSE(c.Secure);
  EXPECT_EQ(c.Count(), 3);

  TCookie plain;
  plain.Parse("http://Example.com/dir/page.html?q=1", "k=v");
  EXPECT_EQ(plain.Path, "/dir/page.html?q=1");  // the whole path, query included
  EXPECT_EQ(plain.Domain, "example.com");
  plain.Parse("k=w=x; DOMAIN=other.test");    // first "=" splits; the URL-less form resets the path
  EXPECT_EQ(plain.GetValue("k"), "w=x");
  EXPECT_EQ(plain.Domain, "other.test");
  EXPECT_EQ(plain.Path, "/");
  plain.SetValue("K", "upper");                // names keep their case
  EXPECT_EQ(plain.GetValue("k"), "w=x");
  EXPECT_EQ(plain.Count(), 2);
}

TEST(Cookie, WritesRequestAndCookieTexts) {
  TCookie c;
  c.SetValue("a", "1");
  EXPECT_EQ(c.ToString(), "path=/;a=1;");
  c.SetValue("empty", "");
  EXPECT_EQ(c.GetValuesText(), "a=1;");
  EXPECT_EQ(c.ToString(), "path=/;empty=;a=1;");  // the table's key order
  c.Domain = "d.test";
  c.Path = "";
  c.Secure = true;
  EXPECT_EQ(c.ToString(), "domain=d.test;path=/;secure;empty=;a=1;");

  TCookie copy;
  copy.Assign(c);
  EXPECT_EQ(copy.ToString(), c.ToString());
  copy.Clear();
  EXPECT_EQ(copy.ToString(), "path=/;secure;");  // Clear keeps Secure
  EXPECT_EQ(copy.Count(), 0);
}

TEST(Cookie, ListsPairsInTheTableKeyOrder) {
  TCookie c;
  for (const char* name : {"zeta", "alpha", "mid", "b"}) c.SetValue(name, "1");
  std::string expected;
  for (const std::string& name : c.GetNames()) expected += name + "=1;";
  EXPECT_EQ(c.GetValuesText(), expected);
  EXPECT_EQ(c.GetNames(), c.Values.Keys());
}

}  // namespace
}  // namespace kestrin::script
