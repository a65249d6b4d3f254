// TnSocket against scripted loopback peers: lines, status texts by level, events, time-outs,
// binding and accepting, and name lookups through the test resolver.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "base/cp932.h"
#include "platform/net/resolver.h"
#include "script/objects/net/socket.h"
#include "script/objects/net/socket_errors.h"
#include "support/peer_process.h"
#include "support/scripted_peer.h"

namespace kestrin::script {
namespace {

using test::ScriptedPeer;
using Clock = std::chrono::steady_clock;

// A socket whose status lines are collected in UTF-8.
struct SocketClient {
  explicit SocketClient(int level = 2) : status(), socket(65536) {
    socket.StatusLevel = level;
    socket.Host = "127.0.0.1";
    socket.OnStatus = [this](TnSocket&, const std::string& msg) { status.push_back(cp932_to_utf8(msg)); };
  }
  void ConnectTo(const ScriptedPeer& peer) {
    socket.Port = peer.port();
    socket.Connect();
  }
  std::vector<std::string> status;  // before the socket: it reports while it is destroyed
  TnSocket socket;
};

// Every line up to the peer's close.
std::vector<std::string> read_lines(TnSocket& s) {
  std::vector<std::string> lines;
  for (int i = 0; i < 100 && !s.IsDisconnected(s.Socket); ++i) {
    std::string line;
    s.ReadLn(line);
    lines.push_back(line);
  }
  return lines;
}

TEST(Socket, ReadsLinesAtTheEarliestTerminator) {
  const struct {
    std::vector<std::string> segments;  // sent with a pause between them
    std::vector<std::string> lines;
  } cases[] = {
      {{"a\nb\r\n"}, {"a", "b", ""}},
      {{"abc\r", "\ndef\r\n"}, {"abc", "def", ""}},  // CR LF split over two segments: no empty line
      {{"abc\rdef\n"}, {"abc", "def", ""}},
      {{"abc\r"}, {"abc"}},                          // a CR at the close ends the line
      {{"ab", "c\r\n\r\n"}, {"abc", "", ""}},
      {{std::string(3000, 'x')}, {std::string(3000, 'x')}},
  };
  for (const auto& c : cases) {
    ScriptedPeer peer;
    for (const std::string& s : c.segments) peer.Send(s).Pause(100);
    peer.Start();
    SocketClient client;
    client.ConnectTo(peer);
    EXPECT_EQ(read_lines(client.socket), c.lines) << c.segments[0];
  }
}

TEST(Socket, LineReadsConsumeOnlyTheirLine) {
  ScriptedPeer peer;
  peer.Send("abc\nxyz\r\nrest");
  peer.Start();
  SocketClient client;
  client.ConnectTo(peer);
  std::string line;
  client.socket.ReadLn(line);
  EXPECT_EQ(line, "abc");
  EXPECT_EQ(client.socket.BytesRead, 4);
  client.socket.ReadLn(line);
  EXPECT_EQ(line, "xyz");
  EXPECT_EQ(client.socket.BytesRead, 9);
  std::string rest;
  client.socket.ReadString(rest, -1);
  EXPECT_EQ(rest, "rest");
  EXPECT_EQ(client.socket.BytesTotal, 13);
}

TEST(Socket, EndlessLineStopsAtItsBudget) {
  ScriptedPeer peer;
  peer.SendRepeatedly(std::string(65536, 'x'), 0, 4u << 20);
  peer.Start();
  SocketClient client;
  client.ConnectTo(peer);
  std::string line;
  try {
    client.socket.ReadLn(line);
    FAIL() << "no error";
  } catch (const ELocalError& e) {
    EXPECT_STREQ(e.what(), "line too long");
  }
  EXPECT_LE(client.socket.BytesRead, static_cast<int64_t>(kMaxLineBytes + 1024));
}

TEST(Socket, StatusLinesByLevel) {
  const std::string disconnect_prefix = "nfo>127.0.0.1:";
  for (int level : {2, 4, 8}) {
    ScriptedPeer peer;
    peer.Send("hi");
    peer.Start();
    SocketClient client(level);
    client.ConnectTo(peer);
    std::string data;
    client.socket.Read(data, 2);
    client.socket.SendString("yo");
    client.socket.Disconnect();
    const std::string where = "127.0.0.1(127.0.0.1):" + std::to_string(peer.port());
    std::vector<std::string> expected;
    if (level >= 4) expected.push_back("rtn>127.0.0.1を探しています");
    expected.push_back("suc>127.0.0.1が見つかりました");
    if (level >= 4) expected.push_back("rtn>socketを作成します");
    std::vector<std::string> got = client.status;
    // Socket handles differ from run to run: compare those lines by their shape.
    for (std::string& line : got) {
      const size_t open = line.find("socket("), close = line.find(')');
      if (open != std::string::npos && close != std::string::npos && close > open) line.replace(open + 7, close - open - 7, "N");
    }
    if (level >= 8) expected.push_back("dbg>socket(N)を作成しました");
    if (level >= 4) expected.push_back("rtn>127.0.0.1にconnectします");
    expected.push_back("suc>" + where + "にconnect成功しました");
    if (level >= 8) expected.push_back("dbg>socketから 2 bytes読み込みました");
    if (level >= 8) expected.push_back("dbg>socketに 2 bytes書き込みました");
    expected.push_back(disconnect_prefix + std::to_string(peer.port()) + "から切断します");
    if (level >= 4) expected.push_back("rtn>socket(N)をcloseします");
    EXPECT_EQ(got, expected) << level;
  }
}

TEST(Socket, EventsCountAndCancel) {
  ScriptedPeer peer;
  peer.ReadUntil("end").Send(std::string(200000, 'z'));
  peer.Start();
  SocketClient client;
  client.socket.Port = peer.port();
  int connects = 0, disconnects = 0;
  int64_t written = 0;
  client.socket.OnConnect = [&](TnSocket&) { ++connects; };
  client.socket.OnDisconnect = [&](TnSocket&) { ++disconnects; };
  client.socket.OnWrite = [&](TnSocket&, int n, bool&) { written += n; };
  client.socket.Connect();
  const std::string big(300000, 'q');
  client.socket.SendString(big + "end");
  EXPECT_EQ(written, 300003);
  EXPECT_EQ(client.socket.BytesWrote, 300003);
  client.socket.OnRead = [](TnSocket&, int, bool& cancel) { cancel = true; };
  std::string data;
  try {
    client.socket.Read(data, -1);
    FAIL() << "no cancel";
  } catch (const ESocketError& e) {
    EXPECT_STREQ(e.what(), "socket error no.0");
    EXPECT_EQ(e.ErrorCode, 0);
  }
  EXPECT_TRUE(data.empty());  // the cancelled packet is counted but not delivered
  EXPECT_GT(client.socket.BytesRead, 0);
  client.socket.Disconnect();
  client.socket.Disconnect();
  EXPECT_EQ(connects, 1);
  EXPECT_EQ(disconnects, 1);
  EXPECT_EQ(peer.Received()[0], big + "end");
}

TEST(Socket, PeerCloseEndsAReceiveWithoutError) {
  ScriptedPeer peer;
  peer.Send("partial");
  peer.Start();
  SocketClient client;
  client.ConnectTo(peer);
  std::string data;
  client.socket.Read(data, 100);  // asks for more than comes
  EXPECT_EQ(data, "partial");
  EXPECT_TRUE(client.socket.Disconnected);
  EXPECT_EQ(client.socket.Socket, -1);
  char buf[4];
  try {
    client.socket.PeekBuffer(client.socket.Socket, buf, 4);  // no handle left: an error, at once
    FAIL();
  } catch (const ESocketError& e) {
    EXPECT_EQ(e.ErrorCode, 10038);
  }
}

TEST(Socket, SilentPeerTimesOutAfterTimeoutWaits) {
  ScriptedPeer peer;
  peer.Hold(5000);
  peer.Start();
  SocketClient client(8);
  client.socket.Port = peer.port();
  client.socket.Timeout = 1;
  int idles = 0, errors = 0;
  client.socket.OnIdle = [&](TnSocket&, bool&) { ++idles; };
  client.socket.OnError = [&](TnSocket&, int code, const std::string& text) {
    ++errors;
    EXPECT_EQ(code, 10060);
    EXPECT_EQ(text, "WSAETIMEDOUT");
  };
  client.socket.Connect();
  const auto start = Clock::now();
  char buf[16];
  try {
    client.socket.RecvBuffer(client.socket.Socket, buf, sizeof buf);
    FAIL() << "no time-out";
  } catch (const ESocketTimeout& e) {
    EXPECT_STREQ(e.what(), "socket timeout");
  }
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(client.socket.Timeout) + test::kLoadSlack);
  EXPECT_TRUE(client.socket.TimedOut);
  EXPECT_EQ(idles, 1);
  EXPECT_EQ(errors, 1);
  EXPECT_EQ(client.socket.LastError, 10060);
  EXPECT_EQ(client.status.end()[-2], "err>recv timeout");
  EXPECT_EQ(client.status.back(), "dbg>WSAETIMEDOUT");

  client.socket.OnIdle = [&](TnSocket&, bool& abort) { abort = true; };  // Abort ends the wait at once
  client.socket.Timeout = 30;
  const auto aborted = Clock::now();
  EXPECT_THROW(client.socket.RecvBuffer(client.socket.Socket, buf, sizeof buf), ESocketTimeout);
  EXPECT_LT(Clock::now() - aborted, test::kLoadSlack);  // long before the 30 s time-out
}

TEST(Socket, ConnectFailuresAndLookups) {
  SocketClient client(4);
  client.socket.Port = test::FreeLoopbackPort();
  int failed = 0;
  client.socket.OnConnectFailed = [&](TnSocket&) { ++failed; };
  try {
    client.socket.Connect();
    FAIL();
  } catch (const ESocketError& e) {
    EXPECT_EQ(e.ErrorCode, 10061);
    EXPECT_STREQ(e.what(), "socket error no.10061");
  }
  EXPECT_EQ(failed, 1);
  EXPECT_EQ(client.status.back(),
            "err>127.0.0.1(127.0.0.1):" + std::to_string(client.socket.Port) + "にconnect失敗しました");
  EXPECT_FALSE(client.socket.Connected);

  for (bool retry : {false, true}) {
    SocketClient lookup(4);
    lookup.socket.Host = "missing.test";
    int asked = 0;
    lookup.socket.OnHostNotFound = [&](bool& again) {
      ++asked;
      again = retry;
    };
    try {
      lookup.socket.Connect();
      FAIL();
    } catch (const ETCPIPError& e) {
      EXPECT_STREQ(e.what(), "not found missing.test");
      EXPECT_EQ(e.Address, kNoAddress);
    }
    EXPECT_EQ(asked, retry ? 5 : 1);  // at most five lookups
    EXPECT_EQ(lookup.socket.LastError, 11001);
    EXPECT_EQ(lookup.status[0], "rtn>missing.testを探しています");
    EXPECT_EQ(lookup.status[1], "err>missing.testが見つかりません");
  }
}

TEST(Socket, ListensAcceptsAndBindsInARange) {
  SocketClient server(4);
  server.socket.Port = 0;
  server.socket.Listen();
  ASSERT_NE(server.socket.Port, 0);
  EXPECT_TRUE(server.socket.Listening);
  SocketClient client;
  client.socket.Port = server.socket.Port;
  client.socket.Connect();
  int accepted_events = 0;
  server.socket.OnAccept = [&](TnSocket&, int, const net::SocketAddress& from) {
    ++accepted_events;
    EXPECT_EQ(AddressToText(from.address), "127.0.0.1");
  };
  const int handle = server.socket.Accept();
  ASSERT_GE(handle, 0);
  EXPECT_EQ(accepted_events, 1);
  EXPECT_TRUE(TnSocket::ClaimAcceptedHandle(handle));
  EXPECT_FALSE(TnSocket::ClaimAcceptedHandle(handle));  // once only
  EXPECT_FALSE(TnSocket::ClaimAcceptedHandle(0));
  TnSocket accepted(TnSocket::Accepted{}, handle, 65536);
  EXPECT_EQ(accepted.Timeout, 120);
  EXPECT_TRUE(accepted.IsConnected());
  EXPECT_EQ(AddressToText(accepted.RemoteAddress), "127.0.0.1");
  client.socket.SendLine("ping");
  std::string line;
  accepted.ReadLn(line);
  EXPECT_EQ(line, "ping");

  server.socket.Timeout = 1;  // nobody else comes: the wait ends, -1
  const auto start = Clock::now();
  EXPECT_EQ(server.socket.Accept(), -1);
  EXPECT_TRUE(server.socket.TimedOut);
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(server.socket.Timeout) + test::kLoadSlack);
  EXPECT_EQ(server.status.back(), "err>acceptに失敗しました");

  SocketClient ranged(4);
  int fd = ranged.socket.CreateSocket();
  uint16_t port = 0;
  EXPECT_THROW(ranged.socket.BindRange(fd, 40000, 0, port), EBindError);  // no bind, no listen
  EXPECT_EQ(ranged.status.back(), "rtn>port 40000～40000の範囲でbindを開始します");
  const uint16_t low = test::FreeLoopbackPort();
  ranged.socket.BindRange(fd, low, 1, port);
  EXPECT_EQ(port, low);
  EXPECT_EQ(ranged.status.back(), "suc>listen成功しました");
  ranged.socket.CloseSocket(fd);

  SocketClient taken(2);
  taken.socket.Port = server.socket.Port;
  try {
    taken.socket.Listen();
    FAIL();
  } catch (const EBindError& e) {
    EXPECT_STREQ(e.what(), "WSAEADDRINUSE");
  }
  EXPECT_EQ(taken.status.back(), "err>port " + std::to_string(server.socket.Port) + "でbind失敗しました");
}

TEST(Socket, AddressTextsAndNotConnected) {
  TnSocket s(1024);
  s.Port = 5001;
  std::string text;
  s.GetPortText(text);
  EXPECT_EQ(text, "19,137");
  s.Port = 21;
  s.GetPortText(text);
  EXPECT_EQ(text, "0,21");
  s.GetLocalAddressText(text);
  EXPECT_EQ(text, "127,0,0,1,");
  EXPECT_EQ(s.SocketState(s.Socket), TnSocket::ssNoSocket);
  EXPECT_FALSE(s.IsConnected());
  EXPECT_EQ(s.Poll(), 0);
  EXPECT_THROW(s.HandleNotConnected(), ETCPIPError);
  EXPECT_THROW(s.Cancel(), ESocketCancel);
  EXPECT_TRUE(s.Cancelled);

  ScriptedPeer peer;
  peer.ReadUntil("\r\n").Send("220-ready\r\n220 go\r\n\r\n").ReadUntil("QUIT\r\n");
  peer.Start();
  s.Host = "kestrin.test";
  s.Port = peer.port();
  bool asked = false;
  s.OnNotConnected = [&](bool& reconnect) { asked = reconnect = true; };
  s.HandleNotConnected();  // the handler asks for a reconnection
  EXPECT_TRUE(asked);
  EXPECT_TRUE(s.IsConnected());
  std::string reply;
  s.SendAndReadLines("HELLO", reply);
  EXPECT_EQ(reply, "220-ready\r\n220 go\r\n");  // lines up to the empty one
  EXPECT_EQ(s.LastReply, reply);
  s.GetLocalAddressText(text);
  EXPECT_EQ(text, "127,0,0,1,");
  s.SendCommand("QUIT", false);
  EXPECT_EQ(peer.Received()[0], "HELLO\r\nQUIT\r\n");
}

}  // namespace
}  // namespace kestrin::script
