// The HTTPS client: the certificate policy (checked against `openssl verify`), names and
// SNI, requests through the transport, the proxy tunnel, and its failure numbers.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "base/cp932.h"
#include "base/text_file.h"
#include "net_peers.h"
#include "script/objects/net/https.h"
#include "script/objects/net/socket_errors.h"
#include "support/scripted_peer.h"
#include "support/temp_dir.h"

namespace kestrin::script {
namespace {

using test::NetPeers;
using Clock = std::chrono::steady_clock;

std::string https_at(const test::PeerProcess* peer, const std::string& path, const std::string& host = "127.0.0.1") {
  return "https://" + host + ":" + std::to_string(peer->port()) + path;
}

// The socket error number a call ends with (0 when it succeeds).
int socket_error(const std::function<void()>& call) {
  try {
    call();
  } catch (const ESocketError& e) {
    return e.ErrorCode;
  }
  return 0;
}

TEST(Https, CertificatePolicyMatchesOpensslVerify) {
  const test::TestCertificates& certs = NetPeers::Get().Certificates();
  KESTRIN_REQUIRE_NET_PEER(!certs.folder.empty());
  const struct {
    std::string certificate, key;
    int error;
  } cases[] = {{certs.valid, certs.server_key, 0},
               {certs.expired, certs.server_key, 0},  // dates are not checked
               {certs.wrong_name, certs.server_key, 12038},
               {certs.self_signed, certs.self_key, 12045}};
  for (const auto& c : cases) {
    const int verified = test::run_command("openssl verify -no_check_time -verify_ip 127.0.0.1 -CAfile " + certs.ca + " " +
                                           c.certificate + " >/dev/null 2>&1");
    EXPECT_EQ(verified == 0, c.error == 0) << c.certificate;
    test::PeerProcess* server = NetPeers::Get().TlsRoutes(c.certificate, c.key);
    KESTRIN_REQUIRE_NET_PEER(server);
    TnHTTPS https(65536);
    std::string data;
    EXPECT_EQ(socket_error([&] { https.Get(https_at(server, "/target"), data); }), c.error) << c.certificate;
    EXPECT_EQ(data, c.error == 0 ? "target reached" : "");
  }
}

TEST(Https, NamesAreCheckedAndSent) {
  const test::TestCertificates& certs = NetPeers::Get().Certificates();
  KESTRIN_REQUIRE_NET_PEER(!certs.folder.empty());
  test::PeerProcess* valid = NetPeers::Get().TlsRoutes(certs.valid, certs.server_key);
  test::PeerProcess* wrong = NetPeers::Get().TlsRoutes(certs.wrong_name, certs.server_key);
  KESTRIN_REQUIRE_NET_PEER(valid && wrong);
  TnHTTPS https(65536);
  std::string data;
  https.Get(https_at(valid, "/headers", "kestrin.test"), data);
  EXPECT_NE(data.find("Host: kestrin.test:" + std::to_string(valid->port())), std::string::npos);
  EXPECT_EQ(https.RequestFlags, 0x80A02600u);
  EXPECT_EQ(socket_error([&] { https.Get(https_at(wrong, "/target", "kestrin.test"), data); }), 12038);
}

TEST(Https, RequestsGoThroughTheTransport) {
  const test::TestCertificates& certs = NetPeers::Get().Certificates();
  KESTRIN_REQUIRE_NET_PEER(!certs.folder.empty());
  test::PeerProcess* server = NetPeers::Get().TlsRoutes(certs.valid, certs.server_key);
  KESTRIN_REQUIRE_NET_PEER(server);
  TnHTTPS https(65536);
  std::string data;
  https.Post(https_at(server, "/echo"), "k=v", data);
  EXPECT_EQ(data, "method=POST\nlength=3\ntype=application/x-www-form-urlencoded\nbody=k=v");
  for (const char* method : {"PUT", "TRACE"}) {  // their bodies are sent too
    https.SendRequest(https_at(server, "/echo"), method, "abc");
    https.ReadResponse();
    std::string body;
    https.Read(body, -1);
    https.Disconnect();
    EXPECT_EQ(body, std::string("method=") + method + "\nlength=3\ntype=application/x-www-form-urlencoded\nbody=abc");
  }
  https.Head(https_at(server, "/bytes?n=10"));
  EXPECT_EQ(https.ContentLength, 10);
  https.Get(https_at(server, "/cookie"), data);
  EXPECT_EQ(https.ResponseHeader.Cookie.GetValue("session"), "abc");
  https.Version = "1.1";
  data.clear();
  https.Get(https_at(server, "/chunked"), data);
  EXPECT_EQ(data, "hello world");
  https.Version = "1.0";
  https.AutoRedirect = true;
  data.clear();
  https.Get(https_at(server, "/redirect/relative"), data);
  EXPECT_EQ(data, "target reached");
  EXPECT_THROW(https.Get(https_at(server, "/status/404"), data), EProtocolError);
  EXPECT_EQ(https.ReplyCode, 404);
  EXPECT_EQ(https.ResponseHeader.Version, "1.0");

  test::TempDir dir;
  https.GetFile(https_at(server, "/bytes?n=200000"), dir.file("big.bin"));
  std::string bytes;
  ASSERT_TRUE(read_file_bytes(dir.file("big.bin"), bytes));
  EXPECT_EQ(bytes, test::PatternBytes(200000));
  EXPECT_THROW(https.GetFile(https_at(server, "/truncated"), dir.file("big.bin")), ESocketError);
  ASSERT_TRUE(read_file_bytes(dir.file("big.bin"), bytes));
  EXPECT_EQ(bytes.size(), 200000u);
}

TEST(Https, TunnelsThroughAProxyAndSpeaksPlainHttp) {
  const test::TestCertificates& certs = NetPeers::Get().Certificates();
  KESTRIN_REQUIRE_NET_PEER(!certs.folder.empty());
  test::PeerProcess* server = NetPeers::Get().TlsRoutes(certs.valid, certs.server_key);
  test::PeerProcess* proxy = NetPeers::Get().Routes();
  KESTRIN_REQUIRE_NET_PEER(server && proxy);
  TnHTTPS https(65536);
  https.Proxy = "127.0.0.1:" + std::to_string(proxy->port());
  std::string data;
  https.Get(https_at(server, "/target"), data);
  EXPECT_EQ(data, "target reached");
  https.Proxy.clear();
  data.clear();
  https.Get("http://127.0.0.1:" + std::to_string(proxy->port()) + "/target", data);
  EXPECT_EQ(data, "target reached");
  EXPECT_EQ(https.RequestFlags, 0x80200600u);
}

TEST(Https, FailuresCarryTheLibraryNumbers) {
  TnHTTPS https(65536);
  https.StatusLevel = 4;
  std::vector<std::string> status;
  https.OnStatus = [&](TnSocket&, const std::string& msg) { status.push_back(cp932_to_utf8(msg)); };
  int asked = 0, errors = 0;
  https.OnHostNotFound = [&](bool& retry) { retry = ++asked > 0; };
  https.OnError = [&](TnSocket&, int, const std::string& text) {
    ++errors;
    EXPECT_EQ(text, "connect error");
  };
  std::string data;
  const uint16_t closed = test::FreeLoopbackPort();
  EXPECT_EQ(socket_error([&] { https.Get("http://127.0.0.1:" + std::to_string(closed) + "/", data); }), 12029);
  EXPECT_EQ(asked, 5);  // the retry loop ends after five attempts
  EXPECT_EQ(errors, 5);
  EXPECT_EQ(status[1], "rtn>127.0.0.1にconnectします");
  EXPECT_EQ(status[2], "err>127.0.0.1:" + std::to_string(closed) + "にconnect失敗しました");
  https.OnHostNotFound = nullptr;
  https.OnError = nullptr;
  EXPECT_EQ(socket_error([&] { https.Get("https://missing.test/", data); }), 12007);

  test::ScriptedPeer silent;
  silent.Hold(5000);
  silent.Start();
  https.Timeout = 1;
  const auto start = Clock::now();
  EXPECT_EQ(socket_error([&] { https.Get("http://127.0.0.1:" + std::to_string(silent.port()) + "/", data); }), 12002);
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(https.Timeout) + test::kLoadSlack);

  test::ScriptedPeer flood;
  flood.ReadUntil("\r\n\r\n").Send("HTTP/1.0 200 OK\r\n").SendRepeatedly("X-Filler: 0123456789\r\n", 0, 1 << 20);
  flood.Start();
  try {
    https.Get("http://127.0.0.1:" + std::to_string(flood.port()) + "/", data);
    FAIL();
  } catch (const ESocketError& e) {
    EXPECT_STREQ(e.what(), "socket error no.122");
  }
}

TEST(Https, ConnectionEventsAndLineReads) {
  test::ScriptedPeer peer;
  peer.ReadUntil("\r\n\r\n").Send("HTTP/1.0 200 OK\r\n\r\nline one\r\nline two\nrest");
  peer.Start();
  TnHTTPS https(65536);
  int disconnects = 0;
  https.OnDisconnect = [&](TnSocket&) { ++disconnects; };
  https.Disconnect();  // even when not connected
  EXPECT_EQ(disconnects, 1);
  https.SendRequest("http://127.0.0.1:" + std::to_string(peer.port()) + "/lines", "GET", "");
  https.ReadResponse();
  std::string line;
  https.ReadLn(line);
  EXPECT_EQ(line, "line one");
  https.ReadLn(line);
  EXPECT_EQ(line, "line two");
  std::string rest;
  https.ReadString(rest, -1);
  EXPECT_EQ(rest, "rest");
  EXPECT_TRUE(https.EndOfData());
  EXPECT_THROW(https.Cancel(), ESocketCancel);
  EXPECT_FALSE(https.Cancelled);
  EXPECT_FALSE(https.Connected);
  EXPECT_EQ(disconnects, 2);
}

}  // namespace
}  // namespace kestrin::script
