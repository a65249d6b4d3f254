// The POSIX calls behind the socket layer, with errno mapped to the Windows codes.
#include "platform/net/posix_socket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include "platform/net/wsa_errors.h"

namespace kestrin::net {
namespace {

int last_error() { return WsaFromErrno(errno); }

sockaddr_in to_sockaddr(const SocketAddress& a) {
  sockaddr_in sa{};
  sa.sin_family = AF_INET;
  sa.sin_port = htons(a.port);
  sa.sin_addr.s_addr = a.address;
  return sa;
}

SocketAddress from_sockaddr(const sockaddr_in& sa) { return {sa.sin_addr.s_addr, ntohs(sa.sin_port)}; }

// getpeername or getsockname.
int address_of(int fd, int (*query)(int, sockaddr*, socklen_t*), SocketAddress& out) {
  sockaddr_in sa{};
  socklen_t len = sizeof sa;
  if (query(fd, reinterpret_cast<sockaddr*>(&sa), &len) != 0) return last_error();
  out = from_sockaddr(sa);
  return 0;
}

}  // namespace

int OpenStreamSocket(int& fd) {
  fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  return fd < 0 ? last_error() : 0;
}

void CloseSocketHandle(int& fd) {
  if (fd == -1) return;
  ::close(fd);
  fd = -1;
}

int SetBlocking(int fd, bool blocking) {
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags < 0) return last_error();
  const int wanted = blocking ? flags & ~O_NONBLOCK : flags | O_NONBLOCK;
  return wanted == flags || ::fcntl(fd, F_SETFL, wanted) == 0 ? 0 : last_error();
}

int StartConnect(int fd, const SocketAddress& to) {
  const sockaddr_in sa = to_sockaddr(to);
  if (::connect(fd, reinterpret_cast<const sockaddr*>(&sa), sizeof sa) == 0) return 0;
  return errno == EINPROGRESS ? WSAEWOULDBLOCK : last_error();
}

int FinishConnect(int fd) {
  int err = 0;
  socklen_t len = sizeof err;
  if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len) != 0) return last_error();
  return err == 0 ? 0 : WsaFromErrno(err);
}

int WaitFor(int fd, short events, int timeout_ms, int& error, short* revents) {
  if (fd < 0) {  // poll would skip it and wait out the time
    error = WSAENOTSOCK;
    return -1;
  }
  pollfd p{fd, events, 0};
  for (;;) {
    const int rc = ::poll(&p, 1, timeout_ms);
    if (revents) *revents = p.revents;
    if (rc > 0) {
      if (p.revents & POLLNVAL) {
        error = WSAENOTSOCK;
        return -1;
      }
      return 1;
    }
    if (rc == 0) return 0;
    if (errno != EINTR) {
      error = last_error();
      return -1;
    }
  }
}

long ReceiveBytes(int fd, void* buffer, size_t length, bool peek, int& error, bool dont_wait) {
  const int flags = (peek ? MSG_PEEK : 0) | (dont_wait ? MSG_DONTWAIT : 0);
  for (;;) {
    const ssize_t n = ::recv(fd, buffer, length, flags);
    if (n >= 0) return static_cast<long>(n);
    if (errno == EINTR) continue;
    error = last_error();
    return -1;
  }
}

long SendBytes(int fd, const void* buffer, size_t length, int& error) {
  for (;;) {
    const ssize_t n = ::send(fd, buffer, length, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n >= 0) return static_cast<long>(n);
    if (errno == EINTR) continue;
    error = last_error();
    return -1;
  }
}

int BindTo(int fd, uint16_t port, uint32_t address) {
  const int on = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  const sockaddr_in sa = to_sockaddr({address, port});
  return ::bind(fd, reinterpret_cast<const sockaddr*>(&sa), sizeof sa) == 0 ? 0 : last_error();
}

int ListenOn(int fd, int backlog) { return ::listen(fd, backlog) == 0 ? 0 : last_error(); }

int AcceptConnection(int fd, int& accepted, SocketAddress& peer) {
  sockaddr_in sa{};
  socklen_t len = sizeof sa;
  for (;;) {
    accepted = ::accept4(fd, reinterpret_cast<sockaddr*>(&sa), &len, SOCK_CLOEXEC);
    if (accepted >= 0) break;
    if (errno != EINTR) return last_error();
  }
  peer = from_sockaddr(sa);
  return 0;
}

int PeerAddressOf(int fd, SocketAddress& peer) { return address_of(fd, ::getpeername, peer); }

int LocalAddressOf(int fd, SocketAddress& local) { return address_of(fd, ::getsockname, local); }

}  // namespace kestrin::net
