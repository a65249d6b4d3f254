// The HTTP transport over plain sockets against scripted loopback peers: the request on the
// wire, body framing, proxies, and the failures with their internet-library numbers.
#include <gtest/gtest.h>

#include <arpa/inet.h>

#include <chrono>
#include <string>

#include "platform/net/internet_errors.h"
#include "platform/net/internet_transport.h"
#include "platform/net/resolver.h"
#include "platform/net/wsa_errors.h"
#include "support/peer_process.h"
#include "support/scripted_peer.h"

namespace kestrin::net {
namespace {

using test::ScriptedPeer;
using Clock = std::chrono::steady_clock;

// A transport connected to 127.0.0.1:`port` with a GET of `path` sent.
void start_get(InternetTransport& t, uint16_t port, const std::string& path, int timeout_ms = 2000,
               const std::string& method = "GET", std::string_view body = {}) {
  t.open("");
  t.setTimeouts(timeout_ms);
  t.connect("127.0.0.1", port);
  t.openRequest(method, path, "1.0", INTERNET_FLAG_RELOAD);
  t.send("Host: 127.0.0.1\r\n", body);
}

std::string read_all(InternetTransport& t) {
  std::string body;
  char buf[7];  // small reads cross every framing boundary
  for (size_t n; (n = t.read(buf, sizeof buf)) > 0;) body.append(buf, n);
  return body;
}

int error_code(const std::function<void()>& f) {
  try {
    f();
  } catch (const InternetError& e) {
    return e.code();
  }
  return 0;
}

TEST(InternetTransport, SendsTheRequestAndReadsAFramedBody) {
  ScriptedPeer peer;
  peer.ReadUntil("body!")
      .Send("HTTP/1.1 100 Continue\r\n\r\nHTTP/1.0 200 OK\nContent-Length: 5\n\nhello and more")
      .Hold(60000);
  peer.Start();
  InternetTransport t;
  start_get(t, peer.port(), "/a?b=1", 30000, "POST", "body!");
  EXPECT_EQ(t.rawHeaders(), "HTTP/1.0 200 OK\r\nContent-Length: 5\r\n");
  const auto start = Clock::now();
  EXPECT_EQ(read_all(t), "hello");  // the connection stays open: the length ends the body
  EXPECT_LT(Clock::now() - start, test::kLoadSlack);  // not the peer's close, nor the time-out
  t.close();
  EXPECT_EQ(peer.Received()[0], "POST /a?b=1 HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\nbody!");
}

TEST(InternetTransport, DecodesChunkedBodies) {
  ScriptedPeer peer;
  peer.ReadUntil("\r\n\r\n")
      .Send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n4\r\nWiki\r\n")
      .Pause(50)
      .Send("5\r\npedia\r\n0\r\n\r\n")
      .Hold(3000);
  peer.Start();
  InternetTransport t;
  start_get(t, peer.port(), "/");
  EXPECT_EQ(read_all(t), "Wikipedia");
}

TEST(InternetTransport, HeadAndNoContentHaveNoBody) {
  for (const char* method : {"HEAD", "GET"}) {
    ScriptedPeer peer;
    const std::string status = std::string(method) == "HEAD" ? "200 OK" : "204 No Content";
    peer.ReadUntil("\r\n\r\n").Send("HTTP/1.0 " + status + "\r\nContent-Length: 99\r\n\r\n").Hold(3000);
    peer.Start();
    InternetTransport t;
    start_get(t, peer.port(), "/", 2000, method);
    EXPECT_EQ(read_all(t), "") << method;
  }
}

TEST(InternetTransport, FailuresCarryTheLibraryNumbers) {
  InternetTransport t;
  // A body cut short by the peer.
  {
    ScriptedPeer peer;
    peer.ReadUntil("\r\n\r\n").Send("HTTP/1.0 200 OK\r\nContent-Length: 100\r\n\r\nshort");
    peer.Start();
    start_get(t, peer.port(), "/");
    EXPECT_EQ(error_code([&] { read_all(t); }), ERROR_INTERNET_CONNECTION_ABORTED);
  }
  // A header block over 65,535 bytes.
  {
    ScriptedPeer peer;
    peer.ReadUntil("\r\n\r\n").Send("HTTP/1.0 200 OK\r\n").SendRepeatedly("X-Filler: 0123456789abcdef\r\n", 0, 1 << 20);
    peer.Start();
    start_get(t, peer.port(), "/");
    EXPECT_EQ(error_code([&] { t.rawHeaders(); }), ERROR_INSUFFICIENT_BUFFER);
  }
  // A header trickling a byte every 100 ms ends with the one time-out for the whole block.
  {
    ScriptedPeer peer;
    peer.ReadUntil("\r\n\r\n").SendRepeatedly("X", 100, 1000);
    peer.Start();
    start_get(t, peer.port(), "/", 500);
    const auto start = Clock::now();
    EXPECT_EQ(error_code([&] { t.rawHeaders(); }), ERROR_INTERNET_TIMEOUT);
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(500) + test::kLoadSlack);
  }
  // A connection closed before any reply; a broken chunk.
  {
    ScriptedPeer peer;
    peer.ReadUntil("\r\n\r\n");
    peer.Start();
    start_get(t, peer.port(), "/");
    EXPECT_EQ(error_code([&] { t.rawHeaders(); }), ERROR_HTTP_INVALID_SERVER_RESPONSE);
  }
  {
    ScriptedPeer peer;
    peer.ReadUntil("\r\n\r\n").Send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nnot hex\r\n");
    peer.Start();
    start_get(t, peer.port(), "/");
    EXPECT_EQ(error_code([&] { read_all(t); }), ERROR_HTTP_INVALID_SERVER_RESPONSE);
  }
  // Nobody listening; a name nobody knows; calls out of order.
  const uint16_t closed = test::FreeLoopbackPort();
  t.open("");
  EXPECT_EQ(error_code([&] { t.connect("127.0.0.1", closed); }), ERROR_INTERNET_CANNOT_CONNECT);
  ResolverFunction old = SetResolver([](const std::string&) { return Resolution{0, WSAHOST_NOT_FOUND}; });
  EXPECT_EQ(error_code([&] { t.connect("missing.test", 80); }), ERROR_INTERNET_NAME_NOT_RESOLVED);
  SetResolver(old);
  InternetTransport fresh;
  EXPECT_EQ(error_code([&] { fresh.connect("127.0.0.1", closed); }), ERROR_INTERNET_INCORRECT_HANDLE_STATE);
  EXPECT_EQ(error_code([&] { fresh.rawHeaders(); }), ERROR_INTERNET_INCORRECT_HANDLE_STATE);
}

TEST(InternetTransport, ProxiesGetTheAbsoluteTargetOrATunnel) {
  ScriptedPeer proxy;
  proxy.ReadUntil("\r\n\r\n").Send("HTTP/1.0 200 OK\r\nContent-Length: 2\r\n\r\nok");
  proxy.Start();
  InternetTransport t;
  t.open("127.0.0.1:" + std::to_string(proxy.port()));
  t.connect("example.test", 8000);  // the proxy resolves the target, not we
  t.openRequest("GET", "/p", "1.0", INTERNET_FLAG_RELOAD);
  t.send("Host: example.test:8000\r\n", {});
  EXPECT_EQ(read_all(t), "ok");
  t.close();
  EXPECT_EQ(proxy.Received()[0], "GET http://example.test:8000/p HTTP/1.0\r\nHost: example.test:8000\r\n\r\n");

  ScriptedPeer refusing;
  refusing.ReadUntil("\r\n\r\n").Send("HTTP/1.0 403 Forbidden\r\n\r\n");
  refusing.Start();
  t.open("127.0.0.1:" + std::to_string(refusing.port()));
  t.connect("secure.test", 443);
  EXPECT_EQ(error_code([&] { t.openRequest("GET", "/", "1.0", INTERNET_FLAG_SECURE); }), ERROR_INTERNET_CANNOT_CONNECT);
  t.close();
  EXPECT_EQ(refusing.Received()[0], "CONNECT secure.test:443 HTTP/1.0\r\nHost: secure.test:443\r\n\r\n");
  EXPECT_EQ(error_code([&] { t.open("proxy.test:http"); }), ERROR_INTERNET_CANNOT_CONNECT);
}

}  // namespace
}  // namespace kestrin::net
