// A TLS client connection over a connected non-blocking socket, on OpenSSL 3. The peer's
// chain must lead to a trusted root (the system's store, or the file SSL_CERT_FILE names)
// and the certificate must name the host (or the address, for an address literal); its
// validity dates are not checked.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>

struct ssl_st;

namespace kestrin::net {

using Deadline = std::chrono::steady_clock::time_point;

// Milliseconds left until `deadline`, at least 0.
int MillisecondsLeft(Deadline deadline);

class TlsConnection {
public:
  TlsConnection() = default;
  ~TlsConnection();
  TlsConnection(const TlsConnection&) = delete;
  TlsConnection& operator=(const TlsConnection&) = delete;

  // Runs the handshake on `fd` for `host`. Throws InternetError: ERROR_INTERNET_INVALID_CA
  // for an untrusted chain, ERROR_INTERNET_SEC_CERT_CN_INVALID for a certificate of another
  // name, ERROR_INTERNET_TIMEOUT, ERROR_INTERNET_SECURITY_CHANNEL_ERROR for any other failure.
  void Handshake(int fd, const std::string& host, Deadline deadline);
  // Up to `length` bytes; 0 when the peer has closed. Throws InternetError.
  size_t Read(char* buffer, size_t length, Deadline deadline);
  // All `length` bytes. Throws InternetError.
  void Write(const char* buffer, size_t length, Deadline deadline);
  // Drops the session without waiting for the peer.
  void Close();

private:
  // Waits as SSL_get_error asks after a call that returned `rc`; false when the call failed.
  bool WaitAfter(int rc, Deadline deadline, const char* what);

  ssl_st* ssl_ = nullptr;
  int fd_ = -1;
};

}  // namespace kestrin::net
