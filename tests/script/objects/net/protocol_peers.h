// The real servers of the FTP, SMTP and POP3 tests, each started by the test on free
// loopback ports in a folder of its own and stopped with its object: pyftpdlib over a
// folder, and aiosmtpd delivering into a Maildir that a private dovecot serves over POP3.
#pragma once

#include <cstdint>
#include <string>

#include "support/peer_process.h"
#include "support/temp_dir.h"

namespace kestrin::test {

// pyftpdlib with user "test", password "secret" and write access over root().
class FtpPeer {
public:
  // False with the reason in `why` when it cannot run.
  bool Start(std::string* why);
  const std::string& root() const { return root_; }  // with its trailing '/'
  uint16_t port() const { return server_.port(); }

private:
  TempDir dir_;
  std::string root_;
  PeerProcess server_;
};

// aiosmtpd on smtp_port() writing to the Maildir of user "test" (password "secret"),
// which dovecot serves on pop3_port().
class MailPeers {
public:
  bool Start(std::string* why);
  uint16_t smtp_port() const { return smtp_.port(); }
  uint16_t pop3_port() const { return pop3_.port(); }
  const std::string& maildir() const { return maildir_; }  // with its trailing '/'
  // The folder for the test's own files (readable by the mail user).
  const TempDir& dir() const { return dir_; }

private:
  TempDir dir_;
  std::string maildir_;
  PeerProcess smtp_, pop3_;
};

}  // namespace kestrin::test

// Starts `peer` or skips the test (fails under CI=true).
#define KESTRIN_START_PROTOCOL_PEER(peer)                                       \
  do {                                                                         \
    std::string why_;                                                          \
    if (!(peer).Start(&why_)) {                                                \
      const char* ci = std::getenv("CI");                                      \
      if (ci && std::string(ci) == "true") FAIL() << "peer missing: " << why_;  \
      GTEST_SKIP() << "peer missing: " << why_;                                 \
    }                                                                          \
  } while (0)
