// Hostile servers: endless header lines, floods of short ones, a huge announced length, a
// server sending a byte every half second, one that never answers, and one that keeps the
// line open after its body. Both clients end each within the time-out (plus slack for a
// loaded machine), in bounded memory, with a clear error (or, for the last, the complete
// body, long before the server closes).
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>

#include "script/objects/net/https.h"
#include "script/objects/net/socket_errors.h"
#include "support/peer_process.h"
#include "support/scripted_peer.h"

namespace kestrin::script {
namespace {

using test::ScriptedPeer;
using Clock = std::chrono::steady_clock;

struct Hostile {
  const char* name;
  std::function<void(ScriptedPeer&)> script;
  const char* http_error;   // what TnHTTP raises ("" for success)
  const char* https_error;  // what TnHTTPS raises
};

const Hostile kServers[] = {
    {"endless header line",
     [](ScriptedPeer& p) { p.Send("HTTP/1.0 200 OK\r\nX-Long: ").SendRepeatedly(std::string(65536, 'a'), 0, 64u << 20); },
     "header too long", "socket error no.122"},
    {"endless short header lines",
     [](ScriptedPeer& p) { p.Send("HTTP/1.0 200 OK\r\n").SendRepeatedly("X-A: b\r\n", 0, 64u << 20); },
     "header too long", "socket error no.122"},
    {"huge length, short body",
     [](ScriptedPeer& p) { p.Send("HTTP/1.0 200 OK\r\nContent-Length: 99999999999\r\n\r\nabc"); },
     "connection closed before the end of the body", "socket error no.12030"},
    {"a byte every half second", [](ScriptedPeer& p) { p.SendRepeatedly("H", 500, 100); }, "socket timeout",
     "socket error no.12002"},
    {"never answers", [](ScriptedPeer& p) { p.Hold(5000); }, "socket timeout", "socket error no.12002"},
    {"open after the body",
     [](ScriptedPeer& p) { p.Send("HTTP/1.0 200 OK\r\nContent-Length: 5\r\n\r\nhello").Hold(60000); }, "", ""},
};

void run(TnHTTP& client, const Hostile& server, const char* expected) {
  ScriptedPeer peer;
  peer.ReadUntil("\r\n\r\n");
  server.script(peer);
  peer.Start();
  client.Timeout = 1;
  const size_t rss = test::CurrentRssBytes();
  const auto start = Clock::now();
  std::string data, error;
  try {
    client.Get("http://127.0.0.1:" + std::to_string(peer.port()) + "/", data);
  } catch (const EnSocket& e) {
    error = e.what();
  }
  EXPECT_EQ(error, expected) << server.name;
  if (error.empty()) {
    EXPECT_EQ(data, "hello") << server.name;
  }
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(client.Timeout) + test::kLoadSlack) << server.name;
  // The floods send 64 MiB: a client that kept them would pass this; what the allocator
  // keeps around does not.
  EXPECT_LT(test::CurrentRssBytes(), rss + (32u << 20)) << server.name;
}

TEST(HostileServers, HttpClientEndsEachWithinItsBudget) {
  for (const Hostile& server : kServers) {
    TnHTTP http(65536);
    run(http, server, server.http_error);
  }
}

TEST(HostileServers, HttpsClientEndsEachWithinItsBudget) {
  for (const Hostile& server : kServers) {
    TnHTTPS https(65536);
    run(https, server, server.https_error);
  }
}

TEST(HostileServers, StringsStopAtTheirLimit) {
  std::string text = "ab";
  TnStringStream stream(text, 4);
  stream.SetPosition(2);
  stream.Write("cd", 2);
  EXPECT_EQ(text, "abcd");
  EXPECT_THROW(stream.Write("e", 1), ELocalError);
  EXPECT_EQ(text, "abcd");
}

}  // namespace
}  // namespace kestrin::script
