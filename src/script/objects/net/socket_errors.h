// The exceptions of the socket library: EnSocket and its family. The script objects turn
// every one of them into the script error "ESocketError".
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace kestrin::script {

class EnSocket : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// A socket failure with its code (Windows numbering); code 0 when an OnRead or OnWrite
// handler cancelled.
class ESocketError : public EnSocket {
public:
  explicit ESocketError(int code) : EnSocket("socket error no." + std::to_string(code)), ErrorCode(code) {}
  int ErrorCode;
};

// A protocol reply that reports failure (an HTTP status of 400 or more).
class EProtocolError : public EnSocket {
public:
  EProtocolError(std::string protocol, int code, const std::string& text)
      : EnSocket(text), Protocol(std::move(protocol)), Code(code), Text(text) {}
  std::string Protocol;
  int Code;
  std::string Text;
};

// "not found <host>", "not connected"; Address is the remote address of the moment.
class ETCPIPError : public EnSocket {
public:
  ETCPIPError(const std::string& text, uint32_t address) : EnSocket(text), Address(address) {}
  uint32_t Address;
};

// "socket timeout" (receive, peek), "Send Timeout" (send).
class ESocketTimeout : public EnSocket {
public:
  using EnSocket::EnSocket;
};

class ESocketCancel : public EnSocket {
public:
  ESocketCancel() : EnSocket("cancel") {}
};

class EProtocolBusy : public EnSocket {
public:
  using EnSocket::EnSocket;
};

// Local failures of the clients: "line too long", "header too long", "too many redirects".
class ELocalError : public EnSocket {
public:
  using EnSocket::EnSocket;
};

// A failed bind or listen; the message is the socket error's name.
class EBindError : public EnSocket {
public:
  using EnSocket::EnSocket;
};

}  // namespace kestrin::script
