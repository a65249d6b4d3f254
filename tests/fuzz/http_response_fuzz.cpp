// Fuzz target: the HTTP client's response reader (status line, header block, cookies,
// redirects and body framing) fed from a byte buffer through a socket pair in place of a
// server. It must end in a result or an EnSocket error.
#include <cstddef>
#include <cstdint>
#include <string>

#include "script/objects/net/http.h"
#include "script/objects/net/socket_errors.h"
#include "paired_socket.h"

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
  int client = -1, server = -1;
  if (!PairWith(data, size, client, server)) return 0;
  {
    PairedHttp http(client);
    http.Timeout = 1;
    std::string body;
    try {
      http.Get("http://fuzz.test/page", body);
    } catch (const EnSocket&) {
    }
  }
  ::close(server);
  return 0;
}
