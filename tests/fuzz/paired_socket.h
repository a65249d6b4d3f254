// Fuzz support: a connected socket pair whose far end has sent `data` and shut down, so a
// client reads the input as a server's bytes and then the close, never waiting.
#pragma once

#include <sys/socket.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>

// The near end in `client` and the far end in `server` (close both); false when the pair
// cannot be made or cannot hold `size` bytes.
inline bool PairWith(const uint8_t* data, size_t size, int& client, int& server) {
  int fds[2];
  if (size > 60000 || ::socketpair(AF_UNIX, SOCK_STREAM, 0, fds) != 0) return false;
  int buffer = 1 << 20;
  ::setsockopt(fds[1], SOL_SOCKET, SO_SNDBUF, &buffer, sizeof buffer);
  if (size > 0 && ::write(fds[1], data, size) != static_cast<ssize_t>(size)) {
    ::close(fds[0]);
    ::close(fds[1]);
    return false;
  }
  ::shutdown(fds[1], SHUT_WR);
  client = fds[0];
  server = fds[1];
  return true;
}
