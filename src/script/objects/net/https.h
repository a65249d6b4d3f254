// TnHTTPS: the HTTP client with its transport replaced by the internet-library style
// transport (TLS, proxy tunnel, body framing done below it). Request headers, response
// parsing, cookies, events and the redirect loop are TnHTTP's.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/net/internet_transport.h"
#include "script/objects/net/http.h"

namespace kestrin::script {

class TnHTTPS : public TnHTTP {
public:
  explicit TnHTTPS(int buffer_size) : TnHTTP(buffer_size) {}
  ~TnHTTPS() override;

  uint32_t RequestFlags = 0;  // flags of the last request

  bool IsDisconnected(int sock) override;
  int Receive(void* buf, int len) override;
  void Cancel() override;
  void CaptureFile(const std::string& file_name) override;
  void CaptureStream(TnStream& stream, int count) override;
  void Read(std::string& s, int count) override;
  void Connect() override;
  void Disconnect() override;
  void ReadString(std::string& s, int count) override;
  void ReadLn(std::string& s) override;
  void SendCommand(const std::string& cmd, bool log_only) override;
  void SendRequest(const std::string& url, const std::string& method, const std::string& body) override;
  void ReadResponse() override;
  // No more data is to come.
  virtual bool EndOfData();

  // Up to `len` body bytes from the transport; fires OnRead.
  int ReadChunk(void* buf, int len);

private:
  net::InternetTransport& Transport();
  // Body bytes in BufferSize pieces into `stream` until `count` (-1: all) or the end.
  void ReadChunksTo(TnStream& stream, int count);

  std::unique_ptr<net::InternetTransport> transport_;  // made on first use
};

}  // namespace kestrin::script
