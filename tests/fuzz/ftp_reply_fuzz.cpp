// Fuzz target: the FTP reply reader fed a server's bytes through a socket pair: replies are
// read until one fails or the input ends; each reply text also goes through the PASV parser.
#include <cstddef>
#include <cstdint>
#include <string>

#include "script/objects/net/ftp_client.h"
#include "script/objects/net/socket_errors.h"
#include "paired_socket.h"

using namespace kestrin::script;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  uint32_t address = 0;
  uint16_t port = 0;
  (void)ParsePasvReply(std::string(reinterpret_cast<const char*>(data), size), address, port);
  int client = -1, server = -1;
  if (!PairWith(data, size, client, server)) return 0;
  {
    TnFTP ftp(65536);
    ftp.Socket = client;
    ftp.Connected = true;
    ftp.Timeout = 1;
    try {
      for (int i = 0; i < 1000; ++i) {
        ftp.ReadFtpReply();
        (void)ParsePasvReply(ftp.ReplyText, address, port);
      }
    } catch (const EnSocket&) {
    }
  }
  ::close(server);
  return 0;
}
