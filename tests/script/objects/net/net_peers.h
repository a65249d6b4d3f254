// The loopback peers of the network client tests, each started on first use and stopped
// when the test program ends, and the resolver every test runs with: kestrin.test and
// localhost are 127.0.0.1, missing.test and every other name are not found, so no lookup
// leaves the machine.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "support/peer_process.h"

namespace kestrin::test {

class NetPeers {
public:
  static NetPeers& Get();

  // `python3 -m http.server` over FilesFolder(); nullptr when it cannot run.
  PeerProcess* FileServer();
  // tests/peers/http_routes.py; with a certificate, the same over TLS.
  PeerProcess* Routes();
  PeerProcess* TlsRoutes(const std::string& certificate, const std::string& key);
  const TestCertificates& Certificates();
  // The folder the file server serves: hello.txt, data.bin (100,000 bytes) and dir/index.html.
  const std::string& FilesFolder();
  std::string why_not;  // the reason a peer is missing

  void StopAll();

private:
  NetPeers() = default;
  PeerProcess file_server_, routes_, tls_[4];
  std::string tls_certificates_[4];
  TestCertificates certificates_;
  std::string files_;
};

// The body of /bytes?n=N and of data.bin: byte i is i mod 256.
std::string PatternBytes(size_t n);

}  // namespace kestrin::test

// Skips the test unless the peer is there (fails under CI=true).
#define KESTRIN_REQUIRE_NET_PEER(peer)                                                          \
  do {                                                                                         \
    if (!(peer)) {                                                                             \
      const char* ci = std::getenv("CI");                                                      \
      if (ci && std::string(ci) == "true") FAIL() << "peer missing: " << NetPeers::Get().why_not; \
      GTEST_SKIP() << "peer missing: " << NetPeers::Get().why_not;                              \
    }                                                                                          \
  } while (0)
