// An HTTP request transport in the manner of the Windows internet library: open a session
// (optionally through a proxy), set the time-outs, connect, open a request, send it, read
// the raw header block and then the body. It speaks plain HTTP or, with the secure flag,
// HTTPS (through a proxy by a CONNECT tunnel). It never follows redirects, keeps no cache
// and no cookies, and decodes a chunked body. Failures throw InternetError.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/net/http_body.h"
#include "platform/net/tls_connection.h"

namespace kestrin::net {

// Request flags, with the internet library's values.
inline constexpr uint32_t INTERNET_FLAG_RELOAD = 0x80000000;
inline constexpr uint32_t INTERNET_FLAG_SECURE = 0x00800000;
inline constexpr uint32_t INTERNET_FLAG_NO_AUTO_REDIRECT = 0x00200000;
inline constexpr uint32_t INTERNET_FLAG_IGNORE_CERT_DATE_INVALID = 0x00002000;
inline constexpr uint32_t INTERNET_FLAG_HYPERLINK = 0x00000400;
inline constexpr uint32_t INTERNET_FLAG_NO_UI = 0x00000200;

// The largest status line and header block accepted, as the library's query buffer.
inline constexpr size_t kMaxRawHeaderBytes = 65535;

class InternetTransport {
public:
  InternetTransport() = default;
  ~InternetTransport() { close(); }
  InternetTransport(const InternetTransport&) = delete;
  InternetTransport& operator=(const InternetTransport&) = delete;

  // Starts a session: direct when `proxy` is empty, else through "host[:port]" (port 8080
  // when none is given).
  void open(const std::string& proxy);
  // Bounds each connect, handshake, send and read, and the header block as a whole.
  void setTimeouts(int milliseconds);
  // Resolves and connects to `host`:`port`, or to the proxy.
  void connect(const std::string& host, uint16_t port);
  // Prepares a request; with INTERNET_FLAG_SECURE the TLS session is set up here (after
  // the CONNECT tunnel when there is a proxy).
  void openRequest(const std::string& method, const std::string& path, const std::string& version, uint32_t flags);
  // Sends the request line, `header_text` (header lines, each ended by CR LF) and `body`.
  void send(const std::string& header_text, std::string_view body);
  // The status line and header lines of the final response, each ended by CR LF (read
  // on the first call; interim 1xx responses are skipped).
  const std::string& rawHeaders();
  // Up to `length` body bytes, 0 at the end of the body. A body cut short by the peer
  // throws ERROR_INTERNET_CONNECTION_ABORTED.
  size_t read(char* buffer, size_t length);
  // Closes the connection; the session may connect again.
  void close();

  bool isOpen() const { return opened_; }
  bool isConnected() const { return fd_ != -1; }

private:
  Deadline NextDeadline() const;
  void ConnectSocket(const std::string& host, uint16_t port);
  void OpenTunnel();
  size_t ReadRaw(char* buffer, size_t length, Deadline deadline);
  void WriteRaw(std::string_view bytes, Deadline deadline);
  // Reads one header block (up to its empty line) into `block`; the bytes after it stay in
  // the pending buffer.
  void ReadHeaderBlock(std::string& block, Deadline deadline);
  void StartBody(const std::string& block);

  bool opened_ = false;
  std::string proxy_host_;
  uint16_t proxy_port_ = 0;
  int timeout_ms_ = 30000;
  std::string host_;
  uint16_t port_ = 0;
  int fd_ = -1;
  bool secure_ = false;
  bool tls_ready_ = false;
  bool eof_ = false;
  TlsConnection tls_;
  std::string method_;
  std::string target_;
  std::string version_;
  bool sent_ = false;
  bool headers_read_ = false;
  std::string raw_headers_;
  std::string pending_;      // bytes read past the header block
  size_t pending_pos_ = 0;
  HttpBodyDecoder body_;
};

}  // namespace kestrin::net
