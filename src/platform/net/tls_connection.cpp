// TLS over OpenSSL 3: one client context for the process, made on first use; each
// connection checks the peer against the host it was asked for.
#include "platform/net/tls_connection.h"

#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>
#include <poll.h>

#include <algorithm>
#include <mutex>

#include "platform/net/internet_errors.h"
#include "platform/net/posix_socket.h"
#include "platform/net/resolver.h"

namespace kestrin::net {
namespace {

// The verification policy: a trusted chain and the right name, no date checks, no
// revocation checks.
SSL_CTX* client_context() {
  static SSL_CTX* context = nullptr;
  static std::once_flag made;
  std::call_once(made, [] {
    SSL_CTX* ctx = SSL_CTX_new(TLS_client_method());
    if (!ctx) return;
    SSL_CTX_set_default_verify_paths(ctx);
    SSL_CTX_set_verify(ctx, SSL_VERIFY_PEER, nullptr);
    X509_VERIFY_PARAM_set_flags(SSL_CTX_get0_param(ctx), X509_V_FLAG_NO_CHECK_TIME);
    SSL_CTX_set_min_proto_version(ctx, TLS1_2_VERSION);
    SSL_CTX_set_options(ctx, SSL_OP_IGNORE_UNEXPECTED_EOF);
    SSL_CTX_set_mode(ctx, SSL_MODE_ACCEPT_MOVING_WRITE_BUFFER);
    context = ctx;
  });
  return context;
}

[[noreturn]] void fail_tls(int code, const std::string& what) {
  ERR_clear_error();
  throw InternetError(code, what);
}

int handshake_error_code(SSL* ssl) {
  switch (SSL_get_verify_result(ssl)) {
    case X509_V_OK:
      return ERROR_INTERNET_SECURITY_CHANNEL_ERROR;
    case X509_V_ERR_HOSTNAME_MISMATCH:
    case X509_V_ERR_IP_ADDRESS_MISMATCH:
      return ERROR_INTERNET_SEC_CERT_CN_INVALID;
    default:
      return ERROR_INTERNET_INVALID_CA;
  }
}

}  // namespace

int MillisecondsLeft(Deadline deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
  return left.count() <= 0 ? 0 : static_cast<int>(std::min<long long>(left.count(), 1 << 30));
}

TlsConnection::~TlsConnection() { Close(); }

void TlsConnection::Close() {
  if (ssl_) SSL_free(ssl_);
  ssl_ = nullptr;
  fd_ = -1;
}

bool TlsConnection::WaitAfter(int rc, Deadline deadline, const char* what) {
  const int err = SSL_get_error(ssl_, rc);
  short events = 0;
  if (err == SSL_ERROR_WANT_READ) events = POLLIN;
  else if (err == SSL_ERROR_WANT_WRITE) events = POLLOUT;
  else return false;
  int error = 0;
  const int ready = WaitFor(fd_, events, MillisecondsLeft(deadline), error);
  if (ready == 0) fail_tls(ERROR_INTERNET_TIMEOUT, std::string(what) + " timed out");
  if (ready < 0) fail_tls(ERROR_INTERNET_CONNECTION_ABORTED, what);
  return true;
}

void TlsConnection::Handshake(int fd, const std::string& host, Deadline deadline) {
  Close();
  SSL_CTX* ctx = client_context();
  if (!ctx || !(ssl_ = SSL_new(ctx))) fail_tls(ERROR_INTERNET_SECURITY_CHANNEL_ERROR, "TLS unavailable");
  fd_ = fd;
  SSL_set_fd(ssl_, fd);
  if (ParseNumericAddress(host)) {
    X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(ssl_), host.c_str());
  } else {
    SSL_set1_host(ssl_, host.c_str());
    SSL_set_tlsext_host_name(ssl_, host.c_str());
  }
  for (;;) {
    const int rc = SSL_connect(ssl_);
    if (rc == 1) return;
    if (!WaitAfter(rc, deadline, "TLS handshake")) fail_tls(handshake_error_code(ssl_), "TLS handshake failed");
  }
}

size_t TlsConnection::Read(char* buffer, size_t length, Deadline deadline) {
  if (!ssl_) fail_tls(ERROR_INTERNET_INCORRECT_HANDLE_STATE, "not connected");
  size_t total = 0;
  for (;;) {
    size_t got = 0;
    const int rc = SSL_read_ex(ssl_, buffer + total, length - total, &got);
    if (rc == 1) {
      // A record holds at most 16 KiB: take the records already there, up to `length`.
      total += got;
      if (total == length) return total;
      continue;
    }
    const int err = SSL_get_error(ssl_, rc);
    if (total > 0 && (err == SSL_ERROR_WANT_READ || err == SSL_ERROR_ZERO_RETURN)) return total;
    if (err == SSL_ERROR_ZERO_RETURN) return 0;
    if (!WaitAfter(rc, deadline, "receive")) fail_tls(ERROR_INTERNET_CONNECTION_RESET, "TLS receive failed");
  }
}

void TlsConnection::Write(const char* buffer, size_t length, Deadline deadline) {
  if (!ssl_) fail_tls(ERROR_INTERNET_INCORRECT_HANDLE_STATE, "not connected");
  while (length > 0) {
    size_t put = 0;
    const int rc = SSL_write_ex(ssl_, buffer, length, &put);
    if (rc == 1) {
      buffer += put;
      length -= put;
      continue;
    }
    if (!WaitAfter(rc, deadline, "send")) fail_tls(ERROR_INTERNET_CONNECTION_RESET, "TLS send failed");
  }
}

}  // namespace kestrin::net
