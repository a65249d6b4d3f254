// Socket error numbers: POSIX errno and resolver failures in the Windows numbering, the
// names the status lines show, and numeric host texts.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netdb.h>

#include <cerrno>

#include "platform/net/resolver.h"
#include "platform/net/wsa_errors.h"

namespace kestrin::net {
namespace {

TEST(WsaErrors, MapsErrnoAndResolverFailures) {
  const struct {
    int err, code;
    const char* name;
  } cases[] = {
      {ECONNREFUSED, 10061, "WSAECONNREFUSED"}, {ETIMEDOUT, 10060, "WSAETIMEDOUT"},
      {ECONNRESET, 10054, "WSAECONNRESET"},     {EPIPE, 10054, "WSAECONNRESET"},
      {ENOTCONN, 10057, "WSAENOTCONN"},         {EADDRINUSE, 10048, "WSAEADDRINUSE"},
      {EWOULDBLOCK, 10035, "WSAEWOULDBLOCK"},   {EHOSTUNREACH, 10065, "WSAEHOSTUNREACH"},
      {ENETUNREACH, 10051, "WSAENETUNREACH"},   {EINTR, 10004, "WSAEINTR"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WsaFromErrno(c.err), c.code) << c.name;
    EXPECT_EQ(GetWSAErrorText(c.code), c.name);
  }
  EXPECT_EQ(WsaFromResolver(EAI_NONAME), 11001);
  EXPECT_EQ(WsaFromResolver(EAI_AGAIN), 11002);
  EXPECT_EQ(GetWSAErrorText(11001), "WSAHOST_NOT_FOUND");
  EXPECT_EQ(GetWSAErrorText(11004), "WSANO_DATA");
  EXPECT_EQ(GetWSAErrorText(10101), "WSAEDISCON");
  EXPECT_EQ(GetWSAErrorText(0), "UNKNOWN ERROR");
  EXPECT_EQ(GetWSAErrorText(10005), "UNKNOWN ERROR");
  EXPECT_EQ(GetWSAErrorText(EIO), "UNKNOWN ERROR");
  EXPECT_EQ(WsaFromErrno(EIO), EIO);  // no counterpart: kept, names no socket error
}

TEST(Resolver, NumericTextsNeedNoLookupAndNamesGoThroughTheInstalledResolver) {
  int lookups = 0;
  ResolverFunction old = SetResolver([&](const std::string& host) -> Resolution {
    ++lookups;
    if (host == "kestrin.test") return {htonl(0x7F000002), 0};
    return {0, WSAHOST_NOT_FOUND};
  });
  EXPECT_EQ(ResolveHostName("127.0.0.1").address, htonl(0x7F000001));
  EXPECT_EQ(ResolveHostName("127.1").address, htonl(0x7F000001));  // inet_aton forms
  EXPECT_EQ(lookups, 0);
  EXPECT_EQ(DottedAddress(ResolveHostName("kestrin.test").address), "127.0.0.2");
  EXPECT_EQ(ResolveHostName("nowhere.test").error, WSAHOST_NOT_FOUND);
  EXPECT_EQ(lookups, 2);
  EXPECT_FALSE(ParseNumericAddress("1.2.3.4.5"));
  EXPECT_FALSE(ParseNumericAddress(""));
  SetResolver(old);
}

}  // namespace
}  // namespace kestrin::net
