// TLS over OpenSSL 3: one client context for the process, made on first use; each
// connection checks the peer against the host it was asked for. The library is loaded with
// the first context: relocating it would cost every start of a program that links this, and
// most never open a secure connection.
#include "platform/net/tls_connection.h"

#include <openssl/err.h>
#include <openssl/ssl.h>
#include <dlfcn.h>
#include <openssl/opensslv.h>
#include <openssl/x509v3.h>
#include <poll.h>

#include <algorithm>
#include <mutex>

#include "base/symbol_binder.h"
#include "platform/net/internet_errors.h"
#include "platform/net/posix_socket.h"
#include "platform/net/resolver.h"

namespace kestrin::net {
namespace {

#define KESTRIN_STRING(x) #x
#define KESTRIN_SHLIB(name, version) "lib" name ".so." KESTRIN_STRING(version)

// The functions of the library this file calls.
struct OpenSsl {
  decltype(&::TLS_client_method) TLS_client_method;
  decltype(&::SSL_CTX_new) SSL_CTX_new;
  decltype(&::SSL_CTX_set_default_verify_paths) SSL_CTX_set_default_verify_paths;
  decltype(&::SSL_CTX_set_verify) SSL_CTX_set_verify;
  decltype(&::SSL_CTX_get0_param) SSL_CTX_get0_param;
  decltype(&::X509_VERIFY_PARAM_set_flags) X509_VERIFY_PARAM_set_flags;
  decltype(&::SSL_CTX_ctrl) SSL_CTX_ctrl;
  decltype(&::SSL_CTX_set_options) SSL_CTX_set_options;
  decltype(&::ERR_clear_error) ERR_clear_error;
  decltype(&::SSL_get_verify_result) SSL_get_verify_result;
  decltype(&::SSL_free) SSL_free;
  decltype(&::SSL_get_error) SSL_get_error;
  decltype(&::SSL_new) SSL_new;
  decltype(&::SSL_set_fd) SSL_set_fd;
  decltype(&::X509_VERIFY_PARAM_set1_ip_asc) X509_VERIFY_PARAM_set1_ip_asc;
  decltype(&::SSL_get0_param) SSL_get0_param;
  decltype(&::SSL_set1_host) SSL_set1_host;
  decltype(&::SSL_ctrl) SSL_ctrl;
  decltype(&::SSL_connect) SSL_connect;
  decltype(&::SSL_read_ex) SSL_read_ex;
  decltype(&::SSL_write_ex) SSL_write_ex;
};

// The library's functions once loaded (its crypto library comes with it); null when it cannot
// be loaded.
const OpenSsl* openssl() {
  static const OpenSsl* loaded = [] () -> const OpenSsl* {
    void* lib = dlopen(KESTRIN_SHLIB("ssl", OPENSSL_SHLIB_VERSION), RTLD_NOW | RTLD_LOCAL);
    if (!lib) return nullptr;
    static OpenSsl f;
    SymbolBinder symbols(lib);
    symbols.bind(f.TLS_client_method, "TLS_client_method");
    symbols.bind(f.SSL_CTX_new, "SSL_CTX_new");
    symbols.bind(f.SSL_CTX_set_default_verify_paths, "SSL_CTX_set_default_verify_paths");
    symbols.bind(f.SSL_CTX_set_verify, "SSL_CTX_set_verify");
    symbols.bind(f.SSL_CTX_get0_param, "SSL_CTX_get0_param");
    symbols.bind(f.X509_VERIFY_PARAM_set_flags, "X509_VERIFY_PARAM_set_flags");
    symbols.bind(f.SSL_CTX_ctrl, "SSL_CTX_ctrl");
    symbols.bind(f.SSL_CTX_set_options, "SSL_CTX_set_options");
    symbols.bind(f.ERR_clear_error, "ERR_clear_error");
    symbols.bind(f.SSL_get_verify_result, "SSL_get_verify_result");
    symbols.bind(f.SSL_free, "SSL_free");
    symbols.bind(f.SSL_get_error, "SSL_get_error");
    symbols.bind(f.SSL_new, "SSL_new");
    symbols.bind(f.SSL_set_fd, "SSL_set_fd");
    symbols.bind(f.X509_VERIFY_PARAM_set1_ip_asc, "X509_VERIFY_PARAM_set1_ip_asc");
    symbols.bind(f.SSL_get0_param, "SSL_get0_param");
    symbols.bind(f.SSL_set1_host, "SSL_set1_host");
    symbols.bind(f.SSL_ctrl, "SSL_ctrl");
    symbols.bind(f.SSL_connect, "SSL_connect");
    symbols.bind(f.SSL_read_ex, "SSL_read_ex");
    symbols.bind(f.SSL_write_ex, "SSL_write_ex");
    return symbols.all_found() ? &f : nullptr;
  }();
  return loaded;
}

// The verification policy: a trusted chain and the right name, no date checks, no
// revocation checks.
SSL_CTX* client_context() {
  static SSL_CTX* context = nullptr;
  static std::once_flag made;
  std::call_once(made, [] {
    const OpenSsl* f = openssl();
    if (!f) return;
    SSL_CTX* ctx = f->SSL_CTX_new(f->TLS_client_method());
    if (!ctx) return;
    f->SSL_CTX_set_default_verify_paths(ctx);
    f->SSL_CTX_set_verify(ctx, SSL_VERIFY_PEER, nullptr);
    f->X509_VERIFY_PARAM_set_flags(f->SSL_CTX_get0_param(ctx), X509_V_FLAG_NO_CHECK_TIME);
    f->SSL_CTX_ctrl(ctx, SSL_CTRL_SET_MIN_PROTO_VERSION, TLS1_2_VERSION, nullptr);
    f->SSL_CTX_set_options(ctx, SSL_OP_IGNORE_UNEXPECTED_EOF);
    f->SSL_CTX_ctrl(ctx, SSL_CTRL_MODE, SSL_MODE_ACCEPT_MOVING_WRITE_BUFFER, nullptr);
    context = ctx;
  });
  return context;
}

[[noreturn]] void fail_tls(int code, const std::string& what) {
  if (const OpenSsl* f = openssl()) f->ERR_clear_error();
  throw InternetError(code, what);
}

int handshake_error_code(SSL* ssl) {
  switch (openssl()->SSL_get_verify_result(ssl)) {
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
  if (ssl_) openssl()->SSL_free(ssl_);
  ssl_ = nullptr;
  fd_ = -1;
}

bool TlsConnection::WaitAfter(int rc, Deadline deadline, const char* what) {
  const int err = openssl()->SSL_get_error(ssl_, rc);
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
  const OpenSsl* f = openssl();  // there when the context is
  if (!ctx || !(ssl_ = f->SSL_new(ctx))) fail_tls(ERROR_INTERNET_SECURITY_CHANNEL_ERROR, "TLS unavailable");
  fd_ = fd;
  f->SSL_set_fd(ssl_, fd);
  if (ParseNumericAddress(host)) {
    f->X509_VERIFY_PARAM_set1_ip_asc(f->SSL_get0_param(ssl_), host.c_str());
  } else {
    f->SSL_set1_host(ssl_, host.c_str());
    f->SSL_ctrl(ssl_, SSL_CTRL_SET_TLSEXT_HOSTNAME, TLSEXT_NAMETYPE_host_name, const_cast<char*>(host.c_str()));
  }
  for (;;) {
    const int rc = f->SSL_connect(ssl_);
    if (rc == 1) return;
    if (!WaitAfter(rc, deadline, "TLS handshake")) fail_tls(handshake_error_code(ssl_), "TLS handshake failed");
  }
}

size_t TlsConnection::Read(char* buffer, size_t length, Deadline deadline) {
  if (!ssl_) fail_tls(ERROR_INTERNET_INCORRECT_HANDLE_STATE, "not connected");
  size_t total = 0;
  for (;;) {
    size_t got = 0;
    const int rc = openssl()->SSL_read_ex(ssl_, buffer + total, length - total, &got);
    if (rc == 1) {
      // A record holds at most 16 KiB: take the records already there, up to `length`.
      total += got;
      if (total == length) return total;
      continue;
    }
    const int err = openssl()->SSL_get_error(ssl_, rc);
    if (total > 0 && (err == SSL_ERROR_WANT_READ || err == SSL_ERROR_ZERO_RETURN)) return total;
    if (err == SSL_ERROR_ZERO_RETURN) return 0;
    if (!WaitAfter(rc, deadline, "receive")) fail_tls(ERROR_INTERNET_CONNECTION_RESET, "TLS receive failed");
  }
}

void TlsConnection::Write(const char* buffer, size_t length, Deadline deadline) {
  if (!ssl_) fail_tls(ERROR_INTERNET_INCORRECT_HANDLE_STATE, "not connected");
  while (length > 0) {
    size_t put = 0;
    const int rc = openssl()->SSL_write_ex(ssl_, buffer, length, &put);
    if (rc == 1) {
      buffer += put;
      length -= put;
      continue;
    }
    if (!WaitAfter(rc, deadline, "send")) fail_tls(ERROR_INTERNET_CONNECTION_RESET, "TLS send failed");
  }
}

}  // namespace kestrin::net
