// The HTTP request transport: sockets through the replaceable resolver, an optional proxy
// (absolute targets for http, a CONNECT tunnel for https), TLS, the header block within
// its size and time budget, and the body through the shared framing decoder.
#include "platform/net/internet_transport.h"

#include <poll.h>

#include <algorithm>
#include <cstring>

#include "base/paths.h"
#include "platform/net/internet_errors.h"
#include "platform/net/posix_socket.h"
#include "platform/net/resolver.h"
#include "platform/net/wsa_errors.h"

namespace kestrin::net {
namespace {

constexpr size_t kHeaderReadChunk = 16384;

[[noreturn]] void fail_transport(int code, const std::string& what) { throw InternetError(code, what); }

std::string_view trim(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
  return s;
}

// The status code of a status line "HTTP/1.1 200 OK"; 0 when there is none.
int status_of(std::string_view line) {
  const size_t blank = line.find(' ');
  if (line.substr(0, 4) != "HTTP" || blank == std::string_view::npos) return 0;
  int code = 0;
  size_t i = blank + 1;
  for (; i < line.size() && i < blank + 4 && line[i] >= '0' && line[i] <= '9'; ++i) code = code * 10 + (line[i] - '0');
  return i == blank + 4 ? code : 0;
}

// The first line of a block (without its CR LF).
std::string_view first_line(std::string_view block) { return block.substr(0, block.find("\r\n")); }

// A decimal length, -1 when the text is not one.
int64_t length_of(std::string_view text) {
  text = trim(text);
  if (text.empty() || text.size() > 18) return -1;
  int64_t n = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return -1;
    n = n * 10 + (c - '0');
  }
  return n;
}

}  // namespace

Deadline InternetTransport::NextDeadline() const {
  if (timeout_ms_ <= 0) return Deadline::max();
  return std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms_);
}

void InternetTransport::open(const std::string& proxy) {
  close();
  proxy_host_.clear();
  proxy_port_ = 0;
  if (!proxy.empty()) {
    const size_t colon = proxy.find(':');
    proxy_host_ = proxy.substr(0, colon);
    const int64_t port = colon == std::string::npos ? 8080 : length_of(std::string_view(proxy).substr(colon + 1));
    if (proxy_host_.empty() || port <= 0 || port > 65535)
      fail_transport(ERROR_INTERNET_CANNOT_CONNECT, "bad proxy " + proxy);
    proxy_port_ = static_cast<uint16_t>(port);
  }
  opened_ = true;
}

void InternetTransport::setTimeouts(int milliseconds) { timeout_ms_ = milliseconds; }

void InternetTransport::connect(const std::string& host, uint16_t port) {
  if (!opened_) fail_transport(ERROR_INTERNET_INCORRECT_HANDLE_STATE, "no session");
  tls_.Close();
  CloseSocketHandle(fd_);
  host_ = host;
  port_ = port;
  if (proxy_host_.empty()) ConnectSocket(host, port);
  else ConnectSocket(proxy_host_, proxy_port_);
}

void InternetTransport::ConnectSocket(const std::string& host, uint16_t port) {
  const Resolution r = ResolveHostName(host);
  if (!r.ok()) fail_transport(ERROR_INTERNET_NAME_NOT_RESOLVED, "not resolved: " + host);
  int fd = -1;
  if (OpenStreamSocket(fd) != 0 || SetBlocking(fd, false) != 0) {
    CloseSocketHandle(fd);
    fail_transport(ERROR_INTERNET_CANNOT_CONNECT, "no socket");
  }
  int rc = StartConnect(fd, {r.address, port});
  if (rc == WSAEWOULDBLOCK) {
    int error = 0;
    const int ready = WaitFor(fd, POLLOUT, MillisecondsLeft(NextDeadline()), error);
    rc = ready > 0 ? FinishConnect(fd) : ready == 0 ? WSAETIMEDOUT : error;
  }
  if (rc != 0) {
    CloseSocketHandle(fd);
    fail_transport(rc == WSAETIMEDOUT ? ERROR_INTERNET_TIMEOUT : ERROR_INTERNET_CANNOT_CONNECT,
                   "cannot connect to " + host);
  }
  fd_ = fd;
}

void InternetTransport::openRequest(const std::string& method, const std::string& path, const std::string& version,
                                    uint32_t flags) {
  if (fd_ == -1) fail_transport(ERROR_INTERNET_INCORRECT_HANDLE_STATE, "not connected");
  method_ = method;
  version_ = version;
  target_ = path.empty() ? "/" : path;
  sent_ = headers_read_ = eof_ = false;
  raw_headers_.clear();
  pending_.clear();
  pending_pos_ = 0;
  body_ = HttpBodyDecoder();
  const bool secure = (flags & INTERNET_FLAG_SECURE) != 0;
  if (!proxy_host_.empty() && !secure)
    target_ = "http://" + host_ + (port_ == 80 ? "" : ":" + std::to_string(port_)) + target_;
  if (secure && !tls_ready_) {
    if (!proxy_host_.empty()) OpenTunnel();
    tls_.Handshake(fd_, host_, NextDeadline());
    tls_ready_ = true;
  }
  secure_ = secure;
}

// CONNECT host:port through the proxy; any 2xx opens the tunnel.
void InternetTransport::OpenTunnel() {
  const std::string authority = host_ + ":" + std::to_string(port_);
  const Deadline deadline = NextDeadline();
  WriteRaw("CONNECT " + authority + " HTTP/1.0\r\nHost: " + authority + "\r\n\r\n", deadline);
  std::string block;
  ReadHeaderBlock(block, deadline);
  const int status = status_of(first_line(block));
  if (status < 200 || status > 299) fail_transport(ERROR_INTERNET_CANNOT_CONNECT, "proxy refused the tunnel");
  pending_.clear();
  pending_pos_ = 0;
}

void InternetTransport::send(const std::string& header_text, std::string_view body) {
  if (fd_ == -1 || method_.empty()) fail_transport(ERROR_INTERNET_INCORRECT_HANDLE_STATE, "no request");
  std::string head = method_ + " " + target_ + " HTTP/" + version_ + "\r\n" + header_text + "\r\n";
  const Deadline deadline = NextDeadline();
  if (body.size() <= 65536) {
    head.append(body);
    WriteRaw(head, deadline);
  } else {
    WriteRaw(head, deadline);
    WriteRaw(body, deadline);
  }
  sent_ = true;
}

const std::string& InternetTransport::rawHeaders() {
  if (headers_read_) return raw_headers_;
  if (!sent_) fail_transport(ERROR_INTERNET_INCORRECT_HANDLE_STATE, "no request sent");
  const Deadline deadline = NextDeadline();
  std::string block;
  for (;;) {
    ReadHeaderBlock(block, deadline);
    const int status = status_of(first_line(block));
    if (status < 100 || status > 199 || status == 101) break;
  }
  raw_headers_ = block;
  headers_read_ = true;
  StartBody(block);
  return raw_headers_;
}

void InternetTransport::ReadHeaderBlock(std::string& block, Deadline deadline) {
  block.clear();
  size_t block_bytes = 0;
  for (;;) {
    const size_t nl = pending_.find('\n', pending_pos_);
    if (nl == std::string::npos) {
      if (block_bytes + (pending_.size() - pending_pos_) > kMaxRawHeaderBytes)
        fail_transport(ERROR_INSUFFICIENT_BUFFER, "header too long");
      pending_.erase(0, pending_pos_);
      pending_pos_ = 0;
      const size_t old = pending_.size();
      pending_.resize(old + kHeaderReadChunk);
      const size_t n = ReadRaw(pending_.data() + old, kHeaderReadChunk, deadline);
      pending_.resize(old + n);
      if (n == 0) fail_transport(ERROR_HTTP_INVALID_SERVER_RESPONSE, "connection closed in the header");
      continue;
    }
    block_bytes += nl + 1 - pending_pos_;
    if (block_bytes > kMaxRawHeaderBytes) fail_transport(ERROR_INSUFFICIENT_BUFFER, "header too long");
    std::string_view line(pending_.data() + pending_pos_, nl - pending_pos_);
    pending_pos_ = nl + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) {
      if (!block.empty()) return;
      continue;  // blank lines before a status line
    }
    block.append(line);
    block += "\r\n";
  }
}

void InternetTransport::StartBody(const std::string& block) {
  ContentLengthField length;
  bool chunked = false;
  size_t pos = block.find("\r\n") + 2;
  while (pos < block.size()) {
    const size_t end = block.find("\r\n", pos);
    const std::string_view line(block.data() + pos, end - pos);
    pos = end + 2;
    const size_t colon = line.find(':');
    if (colon == std::string_view::npos) continue;
    const std::string name = to_lower_ascii(trim(line.substr(0, colon)));
    const std::string_view value = trim(line.substr(colon + 1));
    if (name == "content-length") {
      try {
        length.Add(value);
      } catch (const HttpBodyError& e) {
        fail_transport(ERROR_HTTP_INVALID_SERVER_RESPONSE, e.what());
      }
    }
    if (name == "transfer-encoding") {
      const std::string codings = to_lower_ascii(value);
      chunked = codings.size() >= 7 && codings.compare(codings.size() - 7, 7, "chunked") == 0;
    }
  }
  body_ = HttpBodyDecoder::ForResponse(method_ == "HEAD", status_of(first_line(block)), chunked, length.length());
}

size_t InternetTransport::read(char* buffer, size_t length) {
  rawHeaders();
  while (length > 0 && !eof_ && !body_.Done()) {
    const size_t limit = body_.ReadLimit(length);
    size_t n = 0;
    if (pending_pos_ < pending_.size()) {
      n = std::min(limit, pending_.size() - pending_pos_);
      std::memcpy(buffer, pending_.data() + pending_pos_, n);
      pending_pos_ += n;
    } else {
      n = ReadRaw(buffer, limit, NextDeadline());
      if (n == 0) {
        eof_ = true;
        if (!body_.CompleteAtClose())
          fail_transport(ERROR_INTERNET_CONNECTION_ABORTED, "connection closed in the body");
        return 0;
      }
    }
    try {
      const size_t out = body_.Decode(buffer, n);
      if (out > 0) return out;
    } catch (const HttpBodyError& e) {
      fail_transport(ERROR_HTTP_INVALID_SERVER_RESPONSE, e.what());
    }
  }
  return 0;
}

size_t InternetTransport::ReadRaw(char* buffer, size_t length, Deadline deadline) {
  if (secure_ || tls_ready_) return tls_.Read(buffer, length, deadline);
  for (;;) {
    int error = 0;
    const int ready = WaitFor(fd_, POLLIN, MillisecondsLeft(deadline), error);
    if (ready == 0) fail_transport(ERROR_INTERNET_TIMEOUT, "receive timed out");
    if (ready < 0) fail_transport(ERROR_INTERNET_CONNECTION_RESET, "receive failed");
    const long n = ReceiveBytes(fd_, buffer, length, false, error);
    if (n >= 0) return static_cast<size_t>(n);
    if (error != WSAEWOULDBLOCK) fail_transport(ERROR_INTERNET_CONNECTION_RESET, "receive failed");
  }
}

void InternetTransport::WriteRaw(std::string_view bytes, Deadline deadline) {
  if (tls_ready_) {
    tls_.Write(bytes.data(), bytes.size(), deadline);
    return;
  }
  while (!bytes.empty()) {
    int error = 0;
    const int ready = WaitFor(fd_, POLLOUT, MillisecondsLeft(deadline), error);
    if (ready == 0) fail_transport(ERROR_INTERNET_TIMEOUT, "send timed out");
    if (ready < 0) fail_transport(ERROR_INTERNET_CONNECTION_RESET, "send failed");
    const long n = SendBytes(fd_, bytes.data(), bytes.size(), error);
    if (n < 0 && error != WSAEWOULDBLOCK) fail_transport(ERROR_INTERNET_CONNECTION_RESET, "send failed");
    if (n > 0) bytes.remove_prefix(static_cast<size_t>(n));
  }
}

void InternetTransport::close() {
  tls_.Close();
  tls_ready_ = secure_ = false;
  CloseSocketHandle(fd_);
  opened_ = sent_ = headers_read_ = eof_ = false;
  method_.clear();
  pending_.clear();
  pending_pos_ = 0;
}

}  // namespace kestrin::net
