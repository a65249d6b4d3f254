// URLs taken apart, built and resolved.
#include <gtest/gtest.h>

#include "base/convert.h"
#include "script/objects/net/url_info.h"

namespace kestrin::script {
namespace {

TEST(UrlInfo, ParsesEveryPart) {
  const struct {
    const char* url;
    const char *protocol, *user, *password, *host, *port, *path, *directory, *file, *query;
  } cases[] = {
      {"http://User:Pa:ss@Www.Example.COM:8080/a/b/c.html?x=1", "http", "User", "Pa:ss", "www.example.com", "8080",
       "/a/b/c.html?x=1", "/a/b/", "c.html", "?x=1"},
      {"HTTP://host", "http", "", "", "host", "", "/", "/", "", ""},
      {"  https://h/dir/  ", "https", "", "", "h", "", "/dir/", "/dir/", "", ""},
      {"http://u@h/p?a?b", "http", "u", "", "h", "", "/p?a?b", "/", "p?a", "?b"},
      {"ftp://h/pub/a?b.txt", "ftp", "", "", "h", "", "/pub/a?b.txt", "/pub/", "a?b.txt", ""},  // no query for ftp
      {"h:81/x", "", "", "", "h", "81", "/x", "/", "x", ""},
      {"http://h: 81 /x", "http", "", "", "h", "81", "/x", "/", "x", ""},
      {"", "", "", "", "", "", "/", "/", "", ""},
      // The user part ends at the last "@"; a backslash ends the authority.
      {"http://user:p@ss@h/x", "http", "user", "p@ss", "h", "", "/x", "/", "x", ""},
      {"http://a:1\\@b:2/", "http", "", "", "a", "1", "\\@b:2/", "\\@b:2/", "", ""},
  };
  for (const auto& c : cases) {
    const TUrlInfo u = ParseURL(c.url);
    EXPECT_EQ(u.Url, c.url);
    EXPECT_EQ(u.Protocol, c.protocol) << c.url;
    EXPECT_EQ(u.UserName, c.user) << c.url;
    EXPECT_EQ(u.Password, c.password) << c.url;
    EXPECT_EQ(u.Host, c.host) << c.url;
    EXPECT_EQ(u.Port, c.port) << c.url;
    EXPECT_EQ(u.Path, c.path) << c.url;
    EXPECT_EQ(u.Directory, c.directory) << c.url;
    EXPECT_EQ(u.FileName, c.file) << c.url;
    EXPECT_EQ(u.Query, c.query) << c.url;
  }
  EXPECT_THROW(ParseURL("http://h:http/"), ConversionError);
  EXPECT_THROW(ParseURL("http://h:/"), ConversionError);
  EXPECT_EQ(GetHostAndPort("http://Host:8080/x"), "host:8080");
  EXPECT_EQ(GetHostAndPort("http://Host/x"), "host");
}

TEST(UrlInfo, BuildsWithDefaultPortsLeftOut) {
  const struct {
    const char *protocol, *port, *url;
  } cases[] = {
      {"http", "80", "http://h/p"},        {"http", "8080", "http://h:8080/p"}, {"ftp", "21", "ftp://h/p"},
      {"ftp", "2121", "ftp://h:2121/p"},   {"https", "443", "https://h/p"},     {"https", "80", "https://h:80/p"},
      {"gopher", "70", "gopher://h/p"},    {"http", "", "http://h/p"},
  };
  for (const auto& c : cases) {
    TUrlInfo u;
    u.Protocol = c.protocol;
    u.Host = "h";
    u.Port = c.port;
    u.Path = "/p";
    EXPECT_EQ(BuildURL(u), c.url);
  }
  TUrlInfo u = ParseURL("http://a:b@h/x?q");
  EXPECT_EQ(BuildURL(u), "http://a:b@h/x?q");
}

TEST(UrlInfo, ResolvesReferences) {
  const char* base = "http://h:8080/a/b/c.html?q=1";
  const struct {
    const char *relative, *resolved;
  } cases[] = {
      {"../d.html", "http://h:8080/a/d.html"},
      {"../../../d.html", "http://h:8080/d.html"},  // never above the host
      {"./d.html", "http://h:8080/a/b/d.html"},
      {"d.html", "http://h:8080/a/b/d.html"},
      {"/d.html", "http://h:8080/d.html"},
      {"d.html;jsessionid=1", "http://h:8080/a/b/d.html"},
      {"https://o/x", "https://o/x"},
      {"", "http://h:8080/a/b/"},  // the base's query is never kept
      {"?z=2", "http://h:8080/a/b/?z=2"},
  };
  for (const auto& c : cases) EXPECT_EQ(ResolveURL(base, c.relative), c.resolved) << c.relative;
  EXPECT_EQ(ResolveURL("http://h", "../x"), "http://h/x");
}

}  // namespace
}  // namespace kestrin::script
