// Thin calls over the POSIX socket interface for IPv4 stream sockets. Every failure comes
// back as a socket error code in the Windows numbering (wsa_errors.h); nothing throws, and
// no call raises SIGPIPE.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kestrin::net {

// An IPv4 address in network byte order and a port in host order.
struct SocketAddress {
  uint32_t address = 0;
  uint16_t port = 0;
};

// A new blocking stream socket in `fd` (close-on-exec); 0 or an error code.
int OpenStreamSocket(int& fd);
// Closes `fd` when it is not -1 and sets it to -1.
void CloseSocketHandle(int& fd);
int SetBlocking(int fd, bool blocking);

// Starts a connection on a non-blocking socket: 0 when connected at once, WSAEWOULDBLOCK
// while it is under way (wait for writability, then FinishConnect), else the error.
int StartConnect(int fd, const SocketAddress& to);
// The outcome of a connection that became writable: 0 or the error.
int FinishConnect(int fd);

// Waits up to `timeout_ms` (-1 without limit) for `events` (POLLIN, POLLOUT): 1 when ready
// (a hang-up or error on the socket counts as ready, so the next call reports it), 0 when
// the time ran out, -1 with `error` set when the wait itself failed. EINTR restarts the wait.
// `revents`, when given, receives what poll reported.
int WaitFor(int fd, short events, int timeout_ms, int& error, short* revents = nullptr);

// recv (with MSG_PEEK when `peek`, without waiting when `dont_wait`): the byte count, 0 when
// the peer has closed, -1 with `error` set (WSAEWOULDBLOCK when nothing is there and the
// call may not wait).
long ReceiveBytes(int fd, void* buffer, size_t length, bool peek, int& error, bool dont_wait = false);
// One send without blocking and without SIGPIPE: the count accepted, or -1 with `error`.
long SendBytes(int fd, const void* buffer, size_t length, int& error);

// Binds to `address` (network order; 0 is any local address) and `port` (0: the system
// picks), SO_REUSEADDR set first.
int BindTo(int fd, uint16_t port, uint32_t address = 0);
int ListenOn(int fd, int backlog);
// Accepts one waiting connection into `accepted` (blocking, close-on-exec).
int AcceptConnection(int fd, int& accepted, SocketAddress& peer);

int PeerAddressOf(int fd, SocketAddress& peer);
int LocalAddressOf(int fd, SocketAddress& local);

}  // namespace kestrin::net
