// Fuzz target: the HTTP client's response reader (status line, header block, cookies,
// redirects and body framing) fed from a byte buffer through a socket pair in place of a
// server. It must end in a result or an EnSocket error.
#include <sys/socket.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "script/objects/net/http.h"
#include "script/objects/net/socket_errors.h"

using namespace kestrin::script;

namespace {

// A client whose connection is one end of a socket pair holding the response.
class PairedHttp : public TnHTTP {
public:
  PairedHttp(int fd) : TnHTTP(65536), fd_(fd) {}
  void Connect() override {
    Socket = fd_;
    Connected = true;
  }

private:
  int fd_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 60000) return 0;  // the pair's buffer holds the whole response
  int fds[2];
  if (::socketpair(AF_UNIX, SOCK_STREAM, 0, fds) != 0) return 0;
  int buffer = 1 << 20;
  ::setsockopt(fds[1], SOL_SOCKET, SO_SNDBUF, &buffer, sizeof buffer);
  if (size > 0 && ::write(fds[1], data, size) != static_cast<ssize_t>(size)) {
    ::close(fds[0]);
    ::close(fds[1]);
    return 0;
  }
  ::shutdown(fds[1], SHUT_WR);
  {
    PairedHttp http(fds[0]);
    http.Timeout = 1;
    std::string body;
    try {
      http.Get("http://fuzz.test/page", body);
    } catch (const EnSocket&) {
    }
  }
  ::close(fds[1]);
  return 0;
}
