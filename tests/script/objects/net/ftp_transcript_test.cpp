// TnFTP against scripted servers: the exact commands sent, the replies real servers do not
// give on demand (multi-line replies, a refused login retried, a proxy, refusals without a
// closing reply, probes answered 550), and the outcome events.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "base/cp932.h"
#include "base/text_file.h"
#include "script/objects/net/ftp_client.h"
#include "script/objects/net/socket_errors.h"
#include "support/scripted_peer.h"
#include "support/temp_dir.h"

namespace kestrin::script {
namespace {

using test::ScriptedPeer;
using Clock = std::chrono::steady_clock;

// A client with its status lines in UTF-8 and its outcome events as text.
struct FtpClient {
  explicit FtpClient(uint16_t port) : ftp(65536) {
    ftp.Host = "127.0.0.1";
    ftp.Port = port;
    ftp.Timeout = 2;
    ftp.Passive = true;
    ftp.OnStatus = [this](TnSocket&, const std::string& msg) { status.push_back(cp932_to_utf8(msg)); };
    ftp.OnSuccess = [this](TnFTP&, TFTPCmdType c) { events.push_back(std::string("success ") + FTPCmdTypeName(c)); };
    ftp.OnError = [this](TnFTP&, TFTPCmdType c) { events.push_back(std::string("error ") + FTPCmdTypeName(c)); };
    ftp.OnFailure = [this](TnFTP&, bool& handled, TFTPCmdType c) {
      events.push_back(std::string("failure ") + FTPCmdTypeName(c));
      handled = handle_failures;
    };
  }
  bool has_status(const std::string& line) const {
    return std::find(status.begin(), status.end(), line) != status.end();
  }
  std::vector<std::string> status, events;
  bool handle_failures = false;
  TnFTP ftp;
};

// The server's side of an anonymous login.
ScriptedPeer& login(ScriptedPeer& peer) {
  return peer.Send("220 ready\r\n").ReadUntil("USER anonymous\r\n").Send("331 password\r\n").ReadUntil("PASS \r\n")
      .Send("230 in\r\n");
}

std::string pasv(uint16_t port) {
  return "227 Entering Passive Mode (127,0,0,1," + std::to_string(port / 256) + "," + std::to_string(port % 256) + ").\r\n";
}

// The commands in what a client sent, one per line.
std::vector<std::string> commands(const std::string& received) {
  std::vector<std::string> out;
  for (const std::string& line : split_lines(received)) out.push_back(line);
  return out;
}

TEST(FtpTranscript, MultiLineRepliesEndAtTheirOwnCode) {
  ScriptedPeer peer;
  peer.Send("220-Welcome\r\n220-150 files here\r\n 230 is not the end either\r\n220 ready\r\n")
      .ReadUntil("USER anonymous\r\n")
      .Send("331 password\r\n")
      .ReadUntil("PASS secret\r\n")
      .Send("230-Hello\r\n230-Second line\r\n230 Logged in.\r\n")
      .ReadUntil("NOOP\r\n")
      .Send("200 noop\r\n");
  peer.Start();
  {
    FtpClient c(peer.port());
    c.ftp.Password = "secret";
    c.ftp.Connect();
    EXPECT_EQ(c.ftp.ReplyCode, 230);
    EXPECT_EQ(c.ftp.ReplyText, "Logged in.");
    EXPECT_TRUE(c.has_status("cmd>PASS ******")) << "the password is never shown";
    EXPECT_FALSE(c.has_status("cmd>PASS secret"));
    EXPECT_TRUE(c.has_status("nfo>loginします"));
    EXPECT_EQ(c.ftp.DoCommand("NOOP"), "200 noop");
  }
  EXPECT_EQ(commands(peer.Received()[0]),
            (std::vector<std::string>{"USER anonymous", "PASS secret", "NOOP", "QUIT"}));
}

TEST(FtpTranscript, ARetryAfterARefusedLoginLogsInAgain) {
  ScriptedPeer server;
  server.Send("220 ready\r\n")
      .ReadUntil("USER u\r\n")
      .Send("331 password\r\n")
      .ReadUntil("PASS wrong\r\n")
      .Send("530 Login incorrect.\r\n")
      .ReadUntil("PASS wrong\r\nUSER u\r\n")
      .Send("331 password\r\n")
      .ReadUntil("PASS right\r\n")
      .Send("230 in\r\n");
  server.Start();
  {
    FtpClient c(server.port());
    c.ftp.UserName = "u";
    c.ftp.Password = "wrong";
    int asked = 0;
    c.ftp.OnLoginError = [&](TnFTP& ftp, bool& retry) {
      ++asked;
      ftp.Password = "right";
      retry = true;
    };
    c.ftp.Connect();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(c.ftp.ReplyCode, 230);
  }
  EXPECT_EQ(commands(server.Received()[0]),
            (std::vector<std::string>{"USER u", "PASS wrong", "USER u", "PASS right", "QUIT"}));
}

TEST(FtpTranscript, LoginFailsUnlessItEndsOn230) {
  const struct {
    const char* reply_to_pass;
    const char* message;
    int code;
  } cases[] = {
      {"530 Login incorrect.\r\n", "Login incorrect.", 530},
      {"332 Need account\r\n", "ftp login failed", 332},
  };
  for (const auto& k : cases) {
    ScriptedPeer peer;
    peer.Send("220 ready\r\n").ReadUntil("USER u\r\n").Send("331 pw\r\n").ReadUntil("PASS p\r\n").Send(k.reply_to_pass);
    peer.Start();
    FtpClient c(peer.port());
    c.ftp.UserName = "u";
    c.ftp.Password = "p";
    bool asked = false;
    c.ftp.OnLoginError = [&](TnFTP&, bool& retry) {
      asked = true;
      retry = false;
    };
    try {
      c.ftp.Connect();
      ADD_FAILURE() << k.reply_to_pass;
    } catch (const EProtocolError& e) {
      EXPECT_EQ(e.what(), std::string(k.message));
      EXPECT_EQ(e.Code, k.code);
      EXPECT_EQ(e.Protocol, "ftp");
    }
    EXPECT_TRUE(asked);
  }
}

TEST(FtpTranscript, ProxyGetsTheTargetHostInUser) {
  ScriptedPeer proxy;
  proxy.Send("220 proxy\r\n").ReadUntil("USER anonymous@target.example\r\n").Send("230 through\r\n");
  proxy.Start();
  {
    FtpClient c(21);
    c.ftp.Host = "target.example";
    c.ftp.Proxy = " 127.0.0.1 : " + std::to_string(proxy.port());
    c.ftp.Connect();
    EXPECT_EQ(c.ftp.ReplyCode, 230);
  }
  EXPECT_EQ(commands(proxy.Received()[0])[0], "USER anonymous@target.example");
}

TEST(FtpTranscript, PasvRepliesGiveAddressAndPort) {
  const struct {
    const char* text;
    bool ok;
    const char* address;
    uint16_t port;
  } cases[] = {
      {"Entering Passive Mode (10,1,2,3,4,1).", true, "10.1.2.3", 1025},
      {"=( 127, 0, 0, 1, 255, 255 )", true, "127.0.0.1", 65535},
      {"Entering Passive Mode (10,1,2,3,4).", false, "", 0},
      {"Entering Passive Mode (10,1,2,3,4,256).", false, "", 0},
      {"Entering Passive Mode (10,1,2,3,4,1", false, "", 0},
      {"Entering Passive Mode (10,1,2,3,-4,1).", false, "", 0},
      {"Entering Passive Mode (a,b,c,d,e,f).", false, "", 0},
      {"Entering Passive Mode", false, "", 0},
  };
  for (const auto& k : cases) {
    uint32_t address = 0;
    uint16_t port = 0;
    EXPECT_EQ(ParsePasvReply(k.text, address, port), k.ok) << k.text;
    if (!k.ok) continue;
    EXPECT_EQ(AddressToText(address), k.address);
    EXPECT_EQ(port, k.port);
  }
}

TEST(FtpTranscript, PassiveDownloadPutsImageTypeInForceFirst) {
  test::TempDir dir;
  const std::string bytes = std::string("a\r\nb\nc\rd") + std::string(1, '\0') + "end";
  ScriptedPeer data;
  data.Send(bytes);
  data.Start();
  ScriptedPeer peer;
  login(peer)
      .ReadUntil("TYPE I\r\n")
      .Send("200 Type set to: Binary.\r\n")
      .ReadUntil("PASV\r\n")
      .Send(pasv(data.port()))
      .ReadUntil("REST 0\r\n")
      .Send("350 Restarting at position 0.\r\n")
      .ReadUntil("RETR remote.bin\r\n")
      .Send("125 Data connection already open.\r\n")
      .Pause(200)
      .Send("226 Transfer complete.\r\n");
  peer.Start();
  {
    FtpClient c(peer.port());
    c.ftp.Connect();
    EXPECT_TRUE(c.ftp.Download("remote.bin", dir.file("local.bin")));
    EXPECT_EQ(c.events, (std::vector<std::string>{"success cmdDownload"}));
    EXPECT_TRUE(c.has_status("nfo>remote.binのdownloadを開始します"));
    EXPECT_TRUE(c.has_status("nfo>download終了しました"));
    EXPECT_EQ(c.ftp.TransferType, ftImage);
    EXPECT_EQ(c.ftp.ReplyCode, 226);
  }
  std::string got;
  ASSERT_TRUE(read_file_bytes(dir.file("local.bin"), got));
  EXPECT_EQ(got, bytes);
  EXPECT_EQ(commands(peer.Received()[0]), (std::vector<std::string>{"USER anonymous", "PASS ", "TYPE I", "PASV",
                                                                   "REST 0", "RETR remote.bin", "QUIT"}));
}

// A PASV reply that names another address gets its port used on the control connection's
// own peer: the listener on 127.0.0.2 at that port sees no connection.
TEST(FtpTranscript, PassiveDataGoesOnlyToTheControlPeer) {
  test::TempDir dir;
  // One port number on both addresses: the port the system gives the bait can be busy on
  // 127.0.0.1 (an earlier connection's), and then another one is tried.
  std::unique_ptr<ScriptedPeer> bait, data;
  for (int attempt = 0; attempt < 50 && !data; ++attempt) {
    bait = std::make_unique<ScriptedPeer>();
    ASSERT_TRUE(bait->StartOn("127.0.0.2", 0));
    auto candidate = std::make_unique<ScriptedPeer>();
    candidate->Send("the data");
    if (candidate->StartOn("127.0.0.1", bait->port())) data = std::move(candidate);
  }
  ASSERT_TRUE(data) << "no port free on both addresses";
  ScriptedPeer peer;
  login(peer)
      .ReadUntil("TYPE I\r\n")
      .Send("200 Type set to: Binary.\r\n")
      .ReadUntil("PASV\r\n")
      .Send("227 Entering Passive Mode (127,0,0,2," + std::to_string(bait->port() / 256) + "," +
            std::to_string(bait->port() % 256) + ").\r\n")
      .ReadUntil("REST 0\r\n")
      .Send("350 Restarting at position 0.\r\n")
      .ReadUntil("RETR remote.bin\r\n")
      .Send("150 Opening.\r\n")
      .Pause(200)
      .Send("226 Transfer complete.\r\n");
  peer.Start();
  {
    FtpClient c(peer.port());
    c.ftp.Connect();
    EXPECT_TRUE(c.ftp.Download("remote.bin", dir.file("local.bin")));
    EXPECT_EQ(c.ftp.DataPort, bait->port());
  }
  std::string got;
  ASSERT_TRUE(read_file_bytes(dir.file("local.bin"), got));
  EXPECT_EQ(got, "the data");
  EXPECT_EQ(data->accepted(), 1);
  EXPECT_EQ(bait->accepted(), 0);
}

// A refused RETR, STOR or LIST ends at once with the refusal (no wait for a closing
// reply), and a refused download leaves the local file as it was.
TEST(FtpTranscript, RefusalsEndAtOnceAndKeepTheLocalFile) {
  test::TempDir dir;
  ASSERT_TRUE(write_file_bytes(dir.file("keep.txt"), "precious"));
  ASSERT_TRUE(write_file_bytes(dir.file("up.txt"), "upload me"));
  const struct {
    const char* name;
    const char* verb;
    TFTPCmdType type;
    std::function<bool(TnFTP&)> call;
  } cases[] = {
      {"download", "RETR", TFTPCmdType::cmdDownload, [&](TnFTP& f) { return f.Download("gone.txt", dir.file("keep.txt")); }},
      {"upload", "STOR", TFTPCmdType::cmdUpload, [&](TnFTP& f) { return f.Upload(dir.file("up.txt"), "denied.txt"); }},
      {"list", "LIST", TFTPCmdType::cmdList, [&](TnFTP& f) { return f.List(); }},
  };
  for (const auto& k : cases) {
    ScriptedPeer data;
    data.Hold(3000);
    data.Start();
    // The scripted server answers in order: the type, PASV and REST replies come first.
    ScriptedPeer server;
    login(server);
    std::string verb = k.verb;
    if (verb == "RETR") {
      server.ReadUntil("TYPE I\r\n").Send("200 ok\r\n").ReadUntil("PASV\r\n").Send(pasv(data.port()))
          .ReadUntil("REST 0\r\n").Send("350 ok\r\n");
    } else if (verb == "STOR") {
      server.ReadUntil("TYPE I\r\n").Send("200 ok\r\n").ReadUntil("PASV\r\n").Send(pasv(data.port()));
    } else {
      server.ReadUntil("TYPE A\r\n").Send("200 ok\r\n").ReadUntil("PASV\r\n").Send(pasv(data.port()));
    }
    server.ReadUntil(verb).Pause(50).Send("550 No such file or directory.\r\n").ReadUntil("QUIT").Send("221 bye\r\n");
    server.Start();
    FtpClient c(server.port());
    c.ftp.Connect();
    const auto start = Clock::now();
    try {
      k.call(c.ftp);
      ADD_FAILURE() << k.name << " succeeded";
    } catch (const EProtocolError& e) {
      EXPECT_EQ(e.Code, 550) << k.name;
    }
    EXPECT_LT(Clock::now() - start, test::kLoadSlack) << k.name;
    const std::string name = FTPCmdTypeName(k.type);
    EXPECT_EQ(c.events, (std::vector<std::string>{"error " + name, "failure " + name})) << k.name;
    EXPECT_FALSE(c.ftp.Busy);
  }
  std::string kept;
  ASSERT_TRUE(read_file_bytes(dir.file("keep.txt"), kept));
  EXPECT_EQ(kept, "precious");
}

TEST(FtpTranscript, HandledFailureReturnsFalse) {
  ScriptedPeer peer;
  login(peer).ReadUntil("DELE missing.txt\r\n").Send("550 No such file.\r\n").ReadUntil("QUIT").Send("221 bye\r\n");
  peer.Start();
  FtpClient c(peer.port());
  c.handle_failures = true;
  c.ftp.Connect();
  EXPECT_FALSE(c.ftp.Delete("missing.txt"));
  EXPECT_EQ(c.events, (std::vector<std::string>{"error cmdDelete", "failure cmdDelete"}));
  EXPECT_TRUE(c.has_status("nfo>missing.txtを削除します"));
  EXPECT_TRUE(c.has_status("err>550 No such file."));
  EXPECT_TRUE(c.has_status("err>DELEコマンドを失敗しました"));
  EXPECT_FALSE(c.has_status("nfo>delete終了しました"));
}

// The probe of a unique upload: 550 (no such name) is an empty listing; names taken get
// numbered variants.
TEST(FtpTranscript, UniqueUploadProbesTheName) {
  test::TempDir dir;
  ASSERT_TRUE(write_file_bytes(dir.file("up.txt"), "upload me"));
  const struct {
    const char* probe_reply;
    const char* listing;
    const char* stored_as;
  } cases[] = {
      {"550 No such file or directory.\r\n", "", "up.txt"},
      {"150 Here it comes.\r\n", "-rw-r--r-- 1 o g 3 Jun 01 09:00 up.txt\r\n-rw-r--r-- 1 o g 3 Jun 01 09:00 up_000.txt\r\n",
       "up_001.txt"},
  };
  for (const auto& k : cases) {
    ScriptedPeer probe_data, store_data;
    probe_data.Send(k.listing);
    store_data.ReadUntil("upload me");
    probe_data.Start();
    store_data.Start();
    ScriptedPeer peer;
    login(peer)
        .ReadUntil("TYPE A\r\n").Send("200 ok\r\n")
        .ReadUntil("PASV\r\n").Send(pasv(probe_data.port()))
        .ReadUntil("LIST up.txt\r\n").Send(k.probe_reply);
    if (*k.listing) peer.Pause(100).Send("226 done\r\n");
    peer.ReadUntil("TYPE I\r\n").Send("200 ok\r\n")
        .ReadUntil("TYPE I\r\nPASV\r\n").Send(pasv(store_data.port()))
        .ReadUntil(std::string("STOR ") + k.stored_as + "\r\n").Send("150 ok\r\n").Pause(100).Send("226 stored\r\n")
        .ReadUntil("QUIT").Send("221 bye\r\n");
    peer.Start();
    {
      FtpClient c(peer.port());
      c.ftp.Connect();
      EXPECT_TRUE(c.ftp.UploadUnique(dir.file("up.txt"))) << k.stored_as;
      EXPECT_EQ(c.events, (std::vector<std::string>{"success cmdUpload"}));
    }
    EXPECT_EQ(store_data.Received()[0], "upload me");
  }
}

TEST(FtpTranscript, FindFilesSkipsDotFoldersAndReturnsWhereItStarted) {
  const std::string dot_dirs = "drwxr-xr-x 2 o g 4096 Jun 01 09:00 .\r\ndrwxr-xr-x 2 o g 4096 Jun 01 09:00 ..\r\n";
  ScriptedPeer top, sub;
  top.Send(dot_dirs + "-rw-r--r-- 1 o g 1 Jun 01 09:00 a.txt\r\n-rw-r--r-- 1 o g 1 Jun 01 09:00 B.TXT\r\n"
                      "-rw-r--r-- 1 o g 1 Jun 01 09:00 c.log\r\ndrwxr-xr-x 2 o g 4096 Jun 01 09:00 sub\r\n");
  sub.Send(dot_dirs + "-rw-r--r-- 1 o g 1 Jun 01 09:00 d.txt\r\n");
  top.Start();
  sub.Start();
  ScriptedPeer peer;
  login(peer)
      .ReadUntil("PWD\r\n").Send("257 \"/\" is the current directory.\r\n")
      .ReadUntil("TYPE A\r\n").Send("200 ok\r\n")
      .ReadUntil("PASV\r\n").Send(pasv(top.port()))
      .ReadUntil("LIST\r\n").Send("150 ok\r\n").Pause(100).Send("226 done\r\n")
      .ReadUntil("CWD /sub\r\n").Send("250 ok\r\n")
      .ReadUntil("CWD /sub\r\nPWD\r\n").Send("257 \"/sub\"\r\n")
      .ReadUntil("PWD\r\nPASV\r\n").Send(pasv(sub.port()))
      .ReadUntil("PASV\r\nLIST\r\n").Send("150 ok\r\n").Pause(100).Send("226 done\r\n")
      .ReadUntil("CWD /\r\n").Send("250 ok\r\n")
      .ReadUntil("CWD /\r\nPWD\r\n").Send("257 \"/\"\r\n")
      .ReadUntil("QUIT").Send("221 bye\r\n");
  peer.Start();
  {
    FtpClient c(peer.port());
    c.ftp.Connect();
    std::vector<std::string> found;
    c.ftp.FindFiles("", "*.txt", true, found);
    EXPECT_EQ(found, (std::vector<std::string>{"/a.txt", "/B.TXT", "/sub/d.txt"}));
    EXPECT_EQ(c.ftp.CurrentDir, "/");
  }
  EXPECT_EQ(commands(peer.Received()[0]),
            (std::vector<std::string>{"USER anonymous", "PASS ", "PWD", "TYPE A", "PASV", "LIST", "CWD /sub", "PWD",
                                      "PASV", "LIST", "CWD /", "PWD", "QUIT"}));
}

// A folder the server refuses to enter (a name with a blank reads as its last word) is
// left out with its refusal in the status lines; the other folders are still searched.
TEST(FtpTranscript, FindFilesSkipsFoldersItCannotEnter) {
  const std::string dot_dirs = "drwxr-xr-x 2 o g 4096 Jun 01 09:00 .\r\ndrwxr-xr-x 2 o g 4096 Jun 01 09:00 ..\r\n";
  ScriptedPeer top, sub;
  top.Send(dot_dirs + "-rw-r--r-- 1 o g 1 Jun 01 09:00 a.txt\r\ndrwxr-xr-x 2 o g 4096 Jun 01 09:00 my docs\r\n"
                      "drwxr-xr-x 2 o g 4096 Jun 01 09:00 sub\r\n");
  sub.Send(dot_dirs + "-rw-r--r-- 1 o g 1 Jun 01 09:00 d.txt\r\n");
  top.Start();
  sub.Start();
  ScriptedPeer peer;
  login(peer)
      .ReadUntil("PWD\r\n").Send("257 \"/\" is the current directory.\r\n")
      .ReadUntil("TYPE A\r\n").Send("200 ok\r\n")
      .ReadUntil("PASV\r\n").Send(pasv(top.port()))
      .ReadUntil("LIST\r\n").Send("150 ok\r\n").Pause(100).Send("226 done\r\n")
      .ReadUntil("CWD /docs\r\n").Send("550 /docs: No such file or directory.\r\n")
      .ReadUntil("CWD /sub\r\n").Send("250 ok\r\n")
      .ReadUntil("CWD /sub\r\nPWD\r\n").Send("257 \"/sub\"\r\n")
      .ReadUntil("PWD\r\nPASV\r\n").Send(pasv(sub.port()))
      .ReadUntil("PASV\r\nLIST\r\n").Send("150 ok\r\n").Pause(100).Send("226 done\r\n")
      .ReadUntil("CWD /\r\n").Send("250 ok\r\n")
      .ReadUntil("CWD /\r\nPWD\r\n").Send("257 \"/\"\r\n")
      .ReadUntil("QUIT").Send("221 bye\r\n");
  peer.Start();
  {
    FtpClient c(peer.port());
    c.ftp.Connect();
    std::vector<std::string> found;
    c.ftp.FindFiles("", "*.txt", true, found);
    EXPECT_EQ(found, (std::vector<std::string>{"/a.txt", "/sub/d.txt"}));
    EXPECT_EQ(c.ftp.CurrentDir, "/");
    EXPECT_TRUE(c.has_status("nfo>currentdirを/docsに変更します"));
    EXPECT_TRUE(c.has_status("err>CWDコマンドを失敗しました"));
  }
  EXPECT_EQ(commands(peer.Received()[0]),
            (std::vector<std::string>{"USER anonymous", "PASS ", "PWD", "TYPE A", "PASV", "LIST", "CWD /docs",
                                      "CWD /sub", "PWD", "PASV", "LIST", "CWD /", "PWD", "QUIT"}));
}

}  // namespace
}  // namespace kestrin::script
