// TnFTP against pyftpdlib, with Python's ftplib as a second client: round trips of a binary
// file full of CR and LF bytes in both modes (upload, list, download after the list, resume,
// append, upload from an offset, unique names), transfer types, folders and file search.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <set>
#include <sstream>

#include "base/cp932.h"
#include "base/text_file.h"
#include "script/objects/net/ftp_client.h"
#include "script/objects/net/socket_errors.h"
#include "protocol_peers.h"

namespace kestrin::script {
namespace {

// Bytes a text-mode transfer would change: lone LF, lone CR, CR LF and NUL, all over.
std::string binary_payload(size_t n) {
  std::string s(n, '\0');
  uint32_t x = 12345;
  for (size_t i = 0; i < n; ++i) {
    x = x * 1103515245u + 12345u;
    const uint32_t r = (x >> 16) % 8;
    s[i] = r == 0 ? '\n' : r == 1 ? '\r' : static_cast<char>(x >> 24);
  }
  return s;
}

std::string bytes_of(const std::string& path) {
  std::string out;
  EXPECT_TRUE(read_file_bytes(path, out)) << path;
  return out;
}

// The local addresses, in the hex of /proc/net/tcp, of the sockets listening on `port`.
std::vector<std::string> listeners_on(uint16_t port) {
  std::vector<std::string> found;
  std::string table;
  if (!read_file_bytes("/proc/net/tcp", table)) return found;
  char wanted[8];
  std::snprintf(wanted, sizeof wanted, "%04X", port);
  for (const std::string& line : split_lines(table)) {
    std::istringstream words(line);
    std::string slot, local, remote, state;
    words >> slot >> local >> remote >> state;
    const size_t colon = local.find(':');
    if (state == "0A" && colon != std::string::npos && local.substr(colon + 1) == wanted)
      found.push_back(local.substr(0, colon));
  }
  return found;
}

struct PeerFtpClient {
  explicit PeerFtpClient(uint16_t port, bool passive) : ftp(65536) {
    ftp.Host = "127.0.0.1";
    ftp.Port = port;
    ftp.UserName = "test";
    ftp.Password = "secret";
    ftp.Passive = passive;
    ftp.Timeout = 10;
    ftp.OnStatus = [this](TnSocket&, const std::string& msg) { status.push_back(cp932_to_utf8(msg)); };
  }
  bool has_status(const std::string& line) const { return std::find(status.begin(), status.end(), line) != status.end(); }
  std::vector<std::string> status;
  TnFTP ftp;
};

// What ftplib sees: the names of the root (NLST) and the bytes of `name` (RETR in binary).
void ftplib_view(const test::FtpPeer& peer, const std::string& name, const std::string& into, std::set<std::string>& names) {
  test::TempDir dir;
  std::string out;
  const int rc = test::run_peer_script(dir,
                                       "import ftplib\n"
                                       "f = ftplib.FTP()\n"
                                       "f.connect('127.0.0.1', " + std::to_string(peer.port()) + ", timeout=10)\n"
                                       "f.login('test', 'secret')\n"
                                       "for n in f.nlst(): print(n)\n"
                                       "with open('" + into + "', 'wb') as out: f.retrbinary('RETR " + name + "', out.write)\n"
                                       "f.quit()\n",
                                       &out);
  ASSERT_EQ(rc, 0) << out;
  for (const std::string& line : split_lines(out)) names.insert(line);
}

TEST(FtpPeers, BinaryRoundTripsInBothModes) {
  for (const bool passive : {true, false}) {
    test::FtpPeer peer;
    KESTRIN_START_PROTOCOL_PEER(peer);
    test::TempDir local;
    const std::string data = binary_payload(300000);
    const std::string tail = "\r\nappended\n\r";
    ASSERT_TRUE(write_file_bytes(local.file("bin.dat"), data));
    ASSERT_TRUE(write_file_bytes(local.file("tail.dat"), tail));
    const char* mode = passive ? "passive" : "active";

    PeerFtpClient c(peer.port(), passive);
    // Active: the data listener is bound to the control connection's own address alone.
    std::vector<std::string> listener_addresses;
    c.ftp.OnStatus = [&](TnSocket&, const std::string& msg) {
      c.status.push_back(cp932_to_utf8(msg));
      if (msg.rfind("cmd>PORT ", 0) == 0) listener_addresses = listeners_on(c.ftp.DataPort);
    };
    c.ftp.Connect();
    ASSERT_TRUE(c.ftp.Upload(local.file("bin.dat"), "bin.dat")) << mode;
    if (!passive) {
      EXPECT_EQ(listener_addresses, std::vector<std::string>{"0100007F"});
      EXPECT_GE(c.ftp.DataPort, 10000);
      EXPECT_LT(c.ftp.DataPort, 60000);
    }
    EXPECT_EQ(bytes_of(peer.root() + "bin.dat"), data) << mode;

    ASSERT_TRUE(c.ftp.List()) << mode;  // leaves the server in ASCII
    ASSERT_NE(c.ftp.DirectoryList.Find("bin.dat"), nullptr) << mode;
    EXPECT_EQ(c.ftp.DirectoryList.Find("bin.dat")->Size, static_cast<int64_t>(data.size()));
    EXPECT_EQ(c.ftp.DirectoryList.Find("bin.dat")->Kind, TFTPFileProperty::kFile);

    ASSERT_TRUE(c.ftp.Download("bin.dat", local.file("copy.dat"))) << mode;
    EXPECT_EQ(bytes_of(local.file("copy.dat")), data) << mode;

    ASSERT_TRUE(write_file_bytes(local.file("partial.dat"), data.substr(0, 1000)));
    ASSERT_TRUE(c.ftp.DownloadRestore("bin.dat", local.file("partial.dat"))) << mode;
    EXPECT_EQ(bytes_of(local.file("partial.dat")), data) << mode;
    EXPECT_TRUE(c.has_status("cmd>REST 1000")) << mode;

    ASSERT_TRUE(c.ftp.UploadAppend(local.file("tail.dat"), "bin.dat")) << mode;
    EXPECT_EQ(bytes_of(peer.root() + "bin.dat"), data + tail) << mode;

    ASSERT_TRUE(c.ftp.UploadFrom(local.file("bin.dat"), "part.dat", 1234)) << mode;
    EXPECT_EQ(bytes_of(peer.root() + "part.dat"), data.substr(1234)) << mode;

    ASSERT_TRUE(c.ftp.UploadUnique(local.file("bin.dat"))) << mode;
    EXPECT_EQ(bytes_of(peer.root() + "bin_000.dat"), data) << mode;

    ASSERT_TRUE(c.ftp.NameList()) << mode;
    std::set<std::string> ours;
    for (size_t i = 0; i < c.ftp.DirectoryList.Count(); ++i) ours.insert(c.ftp.DirectoryList.Items(i).Name);
    c.ftp.Disconnect();

    std::set<std::string> theirs;
    ftplib_view(peer, "bin.dat", local.file("ftplib.dat"), theirs);
    EXPECT_EQ(ours, theirs) << mode;
    EXPECT_EQ(ours, (std::set<std::string>{"bin.dat", "bin_000.dat", "part.dat"})) << mode;
    EXPECT_EQ(bytes_of(local.file("ftplib.dat")), data + tail) << mode;
  }
}

TEST(FtpPeers, TransferTypesAndMaskedPassword) {
  test::FtpPeer peer;
  KESTRIN_START_PROTOCOL_PEER(peer);
  test::TempDir local;
  ASSERT_TRUE(write_file_bytes(peer.root() + "text.txt", "a\nb\n"));
  PeerFtpClient c(peer.port(), true);
  c.ftp.Connect();
  EXPECT_TRUE(c.has_status("cmd>PASS ******"));
  ASSERT_TRUE(c.ftp.SetTransferType(ftAscii));
  EXPECT_TRUE(c.has_status("cmd>TYPE A"));
  ASSERT_TRUE(c.ftp.Download("text.txt", local.file("ascii.txt")));
  EXPECT_EQ(bytes_of(local.file("ascii.txt")), "a\r\nb\r\n");  // the server's text mode, as chosen
  EXPECT_THROW(c.ftp.SetTransferType(ftTypeB), EProtocolError);
  EXPECT_TRUE(c.has_status("cmd>TYPE B"));
  ASSERT_TRUE(c.ftp.SetTransferType(7));
  EXPECT_TRUE(c.has_status("cmd>TYPE I"));
  ASSERT_TRUE(c.ftp.Download("text.txt", local.file("image.txt")));
  EXPECT_EQ(bytes_of(local.file("image.txt")), "a\nb\n");
}

TEST(FtpPeers, FoldersAndRecursiveSearch) {
  test::FtpPeer peer;
  KESTRIN_START_PROTOCOL_PEER(peer);
  for (const char* path : {"tree/a.txt", "tree/b.TXT", "tree/c.log", "tree/sub/d.txt", "tree/sub/deeper/e.txt"}) {
    std::filesystem::create_directories(std::filesystem::path(peer.root() + path).parent_path());
    ASSERT_TRUE(write_file_bytes(peer.root() + path, path));
  }
  PeerFtpClient c(peer.port(), true);
  c.ftp.Connect();
  std::vector<std::string> found;
  c.ftp.FindFiles("/tree", "*.txt", true, found);
  EXPECT_EQ(found, (std::vector<std::string>{"/tree/a.txt", "/tree/b.TXT", "/tree/sub/d.txt", "/tree/sub/deeper/e.txt"}));
  EXPECT_EQ(c.ftp.CurrentDir, "/");

  ASSERT_TRUE(c.ftp.MakeDir("made"));
  ASSERT_TRUE(c.ftp.ChangeDir("made"));
  EXPECT_EQ(c.ftp.CurrentDir, "/made");
  ASSERT_TRUE(c.ftp.ChangeDir(".."));
  ASSERT_TRUE(c.ftp.Rename("tree/c.log", "made/c.txt"));
  EXPECT_TRUE(std::filesystem::exists(peer.root() + "made/c.txt"));

  TFTPFileProperty entry;
  c.ftp.GetFileInfo("made/c.txt", entry);
  EXPECT_EQ(entry.Size, 10);  // from SIZE: the listing names it c.txt
  c.ftp.GetFileInfo("missing.txt", entry);
  EXPECT_EQ(entry.Size, -1);

  ASSERT_TRUE(c.ftp.Delete("made/c.txt"));
  ASSERT_TRUE(c.ftp.RemoveDir("made"));
  EXPECT_FALSE(std::filesystem::exists(peer.root() + "made"));
  EXPECT_THROW(c.ftp.Delete("made/c.txt"), EProtocolError);
  EXPECT_TRUE(c.ftp.PrintWorkDir());
  EXPECT_EQ(c.ftp.CurrentDir, "/");
}

}  // namespace
}  // namespace kestrin::script
