// Peer programs of the network tests and benchmarks (Python servers, openssl s_server):
// started as child processes on loopback ports, ready once their port accepts connections,
// stopped with their object.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

namespace kestrin::test {

class PeerProcess {
public:
  PeerProcess() = default;
  ~PeerProcess() { Stop(); }
  PeerProcess(const PeerProcess&) = delete;
  PeerProcess& operator=(const PeerProcess&) = delete;

  // Starts `argv` (argv[0] a path), in `folder` when one is given. With `port` 0 the first
  // line the program prints is its port; otherwise it listens on `port`. True once the port
  // accepts connections (within 15 s); false with the reason in `error`.
  bool Start(const std::vector<std::string>& argv, uint16_t port = 0, std::string* error = nullptr,
             const std::string& folder = std::string());
  void Stop();
  bool running() const { return pid_ > 0; }
  uint16_t port() const { return port_; }

private:
  pid_t pid_ = -1;
  int output_ = -1;
  uint16_t port_ = 0;
};

// A loopback port that was free a moment ago (for peers that take their port as an argument).
uint16_t FreeLoopbackPort();
// True when a TCP connection to 127.0.0.1:`port` succeeds.
bool PortAccepts(uint16_t port);
// The peak resident set of this process (VmHWM) and its current one (VmRSS), in bytes.
size_t PeakRssBytes();
size_t CurrentRssBytes();

// A CA and server certificates made with the openssl command-line tool, once per folder
// (later calls reuse them): valid (IP 127.0.0.1 and DNS kestrin.test), expired, for the
// wrong name, and self-signed (untrusted). Every server certificate uses server.key, the
// self-signed one self.key.
struct TestCertificates {
  std::string folder, ca, server_key, valid, expired, wrong_name, self_signed, self_key;
  // Empty `folder` when the certificates could not be made (`error` says why).
  static TestCertificates Make(const std::string& parent_folder, std::string* error = nullptr);
};

}  // namespace kestrin::test
