// Hostile servers for FTP, POP3 and SMTP: replies that stop, trickle, never end or never
// come, endless lines, floods of listing and message lines, and data connections that hang.
// Every client ends within its time-out and a second, in bounded memory, with a clear error.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

#include "script/objects/net/ftp_client.h"
#include "script/objects/net/pop3_client.h"
#include "script/objects/net/smtp_client.h"
#include "script/objects/net/socket_errors.h"
#include "support/peer_process.h"
#include "support/scripted_peer.h"
#include "support/temp_dir.h"

namespace kestrin::script {
namespace {

using test::ScriptedPeer;
using Clock = std::chrono::steady_clock;

// Logs in with a fresh client of `protocol` (timeout 1 s) and returns the error's message.
std::string hostile_log_in(const std::string& protocol, uint16_t port) {
  auto connect = [&](TnSocket& client) {
    client.Host = "127.0.0.1";
    client.Port = port;
    client.Timeout = 1;
    try {
      client.Connect();
    } catch (const std::exception& e) {
      return std::string(e.what());
    }
    return std::string();
  };
  if (protocol == "ftp") {
    TnFTP ftp(65536);
    return connect(ftp);
  }
  if (protocol == "pop3") {
    TnPOP3 pop(65536);
    pop.UserName = "u";
    return connect(pop);
  }
  TnSMTP smtp(65536);
  return connect(smtp);
}

struct Budget {
  Budget() : rss(test::CurrentRssBytes()), start(Clock::now()) {}
  void Check(const std::string& what, int timeout_s) const {
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(timeout_s) + std::chrono::seconds(5)) << what;  // slack for a loaded machine
    EXPECT_LT(test::CurrentRssBytes(), rss + (32u << 20)) << what;
  }
  size_t rss;
  Clock::time_point start;
};

TEST(HostileMailAndFtpServers, GreetingsEndWithinTheirBudget) {
  const struct {
    const char* name;
    std::function<void(ScriptedPeer&)> script;
    std::vector<std::pair<std::string, std::string>> errors;  // protocol, message
  } servers[] = {
      {"stops in a multi-line reply", [](ScriptedPeer& p) { p.Send("220-Welcome\r\n"); },
       {{"ftp", "connection closed before the end of the reply"}, {"smtp", "connection closed before the end of the reply"}}},
      {"closes at once", [](ScriptedPeer&) {}, {{"pop3", "connection closed before the end of the reply"}}},
      {"a byte every 300 ms", [](ScriptedPeer& p) { p.SendRepeatedly("2", 300, 100); },
       {{"ftp", "socket timeout"}, {"pop3", "socket timeout"}, {"smtp", "socket timeout"}}},
      {"endless continuation lines", [](ScriptedPeer& p) { p.SendRepeatedly(std::string(4096, 'x').insert(0, "220-") + "\r\n", 0, 64u << 20); },
       {{"ftp", "reply too long"}, {"smtp", "reply too long"}}},
      {"endless line", [](ScriptedPeer& p) { p.Send("220 ").SendRepeatedly(std::string(65536, 'a'), 0, 64u << 20); },
       {{"ftp", "line too long"}, {"pop3", "line too long"}, {"smtp", "line too long"}}},
      {"never answers", [](ScriptedPeer& p) { p.Hold(3000); },
       {{"ftp", "socket timeout"}, {"pop3", "socket timeout"}, {"smtp", "socket timeout"}}},
  };
  for (const auto& server : servers) {
    for (const auto& [protocol, message] : server.errors) {
      ScriptedPeer peer;
      server.script(peer);
      peer.Start();
      const Budget budget;
      EXPECT_EQ(hostile_log_in(protocol, peer.port()), message) << server.name << " / " << protocol;
      budget.Check(std::string(server.name) + " / " + protocol, 1);
    }
  }
}

std::string pasv_reply(uint16_t port) {
  return "227 Entering Passive Mode (127,0,0,1," + std::to_string(port / 256) + "," + std::to_string(port % 256) + ").\r\n";
}

TEST(HostileMailAndFtpServers, DataConnectionsEndWithinTheirBudget) {
  test::TempDir dir;
  const struct {
    const char* name;
    std::function<void(ScriptedPeer&)> data;
    const char* verb;
    std::function<void(TnFTP&)> call;
    const char* error;
  } cases[] = {
      {"download that never ends", [](ScriptedPeer& p) { p.Send("some").Hold(5000); }, "RETR",
       [&](TnFTP& f) { f.Download("x", dir.file("x")); }, "socket timeout"},
      {"listing flood", [](ScriptedPeer& p) { p.SendRepeatedly(std::string(1000, 'y') + "\r\n", 0, 64u << 20); }, "LIST",
       [](TnFTP& f) { f.List(); }, "listing too long"},
      {"endless listing line", [](ScriptedPeer& p) { p.SendRepeatedly(std::string(65536, 'y'), 0, 64u << 20); }, "LIST",
       [](TnFTP& f) { f.List(); }, "line too long"},
  };
  for (const auto& k : cases) {
    ScriptedPeer data;
    k.data(data);
    data.Start();
    ScriptedPeer control;
    control.Send("220 hi\r\n").ReadUntil("USER").Send("230 in\r\n").ReadUntil("TYPE").Send("200 ok\r\n")
        .ReadUntil("PASV").Send(pasv_reply(data.port())).ReadUntil(k.verb);
    if (std::string(k.verb) == "RETR") control.Send("350 ok\r\n").ReadUntil("RETR");  // the REST
    control.Send("150 here it comes\r\n").Hold(5000);
    control.Start();
    TnFTP ftp(65536);
    ftp.Host = "127.0.0.1";
    ftp.Port = control.port();
    ftp.Timeout = 1;
    ftp.Passive = true;
    ftp.MaxListingBytes = 1u << 20;
    ftp.Connect();
    const Budget budget;
    std::string error;
    try {
      k.call(ftp);
    } catch (const std::exception& e) {
      error = e.what();
    }
    EXPECT_EQ(error, k.error) << k.name;
    // The data wait, then the wait for the server's word on the broken transfer.
    budget.Check(k.name, 2);
    EXPECT_FALSE(ftp.Busy);
    EXPECT_EQ(ftp.DataSocket, -1);
  }
  EXPECT_FALSE(std::filesystem::exists(dir.file("x"))) << "a broken download leaves no file";
}

TEST(HostileMailAndFtpServers, MessagesEndWithinTheirBudget) {
  const struct {
    const char* name;
    std::function<void(ScriptedPeer&)> message;
    const char* error;
  } cases[] = {
      {"no final dot", [](ScriptedPeer& p) { p.Send("Subject: x\r\n\r\nbody\r\n").Hold(5000); }, "socket timeout"},
      {"closed before the dot", [](ScriptedPeer& p) { p.Send("Subject: x\r\n\r\nbody"); },
       "connection closed before the end of the message"},
      {"message flood", [](ScriptedPeer& p) { p.SendRepeatedly(std::string(1000, 'z') + "\r\n", 0, 64u << 20); },
       "message too long"},
  };
  for (const auto& k : cases) {
    ScriptedPeer peer;
    peer.Send("+OK\r\n").ReadUntil("USER").Send("+OK\r\n").ReadUntil("PASS").Send("+OK\r\n").ReadUntil("STAT").Send("+OK 1 10\r\n").ReadUntil("RETR 1\r\n")
        .Send("+OK\r\n");
    k.message(peer);
    peer.Start();
    TnPOP3 pop(65536);
    pop.Host = "127.0.0.1";
    pop.Port = peer.port();
    pop.Timeout = 1;
    pop.UserName = "u";
    pop.MaxMessageBytes = 1u << 20;
    pop.Connect();
    const Budget budget;
    std::string error;
    try {
      pop.GetMail(1);
    } catch (const std::exception& e) {
      error = e.what();
    }
    EXPECT_EQ(error, k.error) << k.name;
    budget.Check(k.name, 1);
  }
}

}  // namespace
}  // namespace kestrin::script
