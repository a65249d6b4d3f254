// Fuzz target: the POP3 client fed a server's bytes through a socket pair: status replies,
// then a fetched message (byte-stuffing, the final ".") parsed into the mail message, whose
// attachment files go to a folder of this process that is emptied after each input.
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "script/objects/net/pop3_client.h"
#include "script/objects/net/socket_errors.h"
#include "paired_socket.h"

using namespace kestrin::script;

namespace {

const std::string& attachment_folder() {
  static const std::string folder = [] {
    std::string f = std::filesystem::temp_directory_path().string() + "/kestrin-pop3-fuzz-" + std::to_string(::getpid());
    std::filesystem::create_directories(f);
    ::setenv("TMPDIR", f.c_str(), 1);  // unnamed attachments become temporary files: here too
    return f;
  }();
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  int client = -1, server = -1;
  if (!PairWith(data, size, client, server)) return 0;
  {
    TnPOP3 pop(65536);
    pop.Socket = client;
    pop.Connected = true;
    pop.Timeout = 1;
    pop.AttachPath = attachment_folder();
    pop.MaxMessageBytes = 1u << 16;
    try {
      pop.CheckReply();
      pop.GetMail(1);
      pop.GetSummary(2);
    } catch (const std::exception&) {
    }
  }
  ::close(server);
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(attachment_folder(), ec))
    std::filesystem::remove(entry.path(), ec);
  return 0;
}
