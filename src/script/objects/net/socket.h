// TnSocket: the blocking TCP socket every network client stands on. It resolves and
// connects, listens and accepts, sends and receives with a time-out counted in one-second
// waits (with OnIdle between them), reads protocol lines, reports each step as a levelled
// status line, and raises the EnSocket family on failure.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/net/posix_socket.h"
#include "script/objects/net/byte_stream.h"
#include "script/objects/net/net_utils.h"

namespace kestrin::script {

// The longest line ReadLine assembles before it gives up with ELocalError "line too long".
inline constexpr size_t kMaxLineBytes = size_t{1} << 20;

// The buffer of every socket the script objects open.
inline constexpr int kObjectSocketBufferSize = 0x10000;

class TnSocket {
public:
  // Socket state (SocketState).
  enum { ssNoSocket = 0, ssNotConnected = 1, ssConnected = 2, ssError = 3 };
  // Poll results.
  enum { pollReadable = 1, pollWritable = 2, pollError = 4 };

  explicit TnSocket(int buffer_size);
  // An accepted connection: Timeout 120, connected, the peer's address recorded.
  struct Accepted {};
  TnSocket(Accepted, int sock, int buffer_size);
  virtual ~TnSocket();
  TnSocket(const TnSocket&) = delete;
  TnSocket& operator=(const TnSocket&) = delete;

  bool Cancelled = false;
  bool TimedOut = false;  // the last send or receive ran out of time
  int64_t BytesRead = 0;
  int64_t BytesWrote = 0;
  int64_t BytesTotal = 0;
  bool Connected = false;
  int Socket = -1;
  std::string Host;
  int LastError = 0;
  uint16_t Port = 0;
  std::string Proxy;
  int ReplyCode = 0;
  int StatusLevel = 2;
  std::string ReplyText;
  int Timeout = 30;  // seconds, counted as one-second waits; 0: no wait
  std::string LastReply;
  uint32_t RemoteAddress = kNoAddress;
  int BufferSize;
  bool Disconnected = false;  // the peer closed, or the current receive has no data yet
  net::SocketAddress RemoteSockAddr;
  bool Listening = false;
  uint16_t ConnectedPort = 0;

  // Events; an empty slot is skipped.
  std::function<void(TnSocket&)> OnConnect;
  std::function<void(TnSocket&)> OnConnectFailed;
  std::function<void(bool& reconnect)> OnNotConnected;
  std::function<void(TnSocket&)> OnDisconnect;
  std::function<void(TnSocket&, int code, const std::string& text)> OnError;
  std::function<void(TnSocket&)> OnHostFound;
  std::function<void(bool& retry)> OnHostNotFound;
  std::function<void(TnSocket&, int count, bool& cancel)> OnRead;
  std::function<void(TnSocket&, int count, bool& cancel)> OnWrite;
  std::function<void(TnSocket&)> OnReadReady;
  std::function<void(TnSocket&, const std::string& msg)> OnStatus;
  std::function<void(TnSocket&, int sock, const net::SocketAddress& addr)> OnAccept;
  std::function<void(TnSocket&, bool& abort)> OnIdle;

  // Virtual operations, in the order clients override them.
  virtual void Initialize();
  virtual void Finalize();
  virtual void DoStatus(const std::string& msg, int level);
  virtual bool IsDisconnected(int sock);
  virtual void SetDisconnected(int sock, bool value);
  virtual int Poll();
  virtual int Receive(void* buf, int len);
  virtual void Abort();
  virtual int Accept();
  virtual void Listen();
  virtual void Cancel();
  virtual void CaptureFile(const std::string& file_name);
  virtual void CaptureStream(TnStream& stream, int count);
  virtual void Read(std::string& s, int count);
  virtual void HandleNotConnected();
  virtual void Connect();
  virtual void Disconnect();
  virtual void GetLocalAddressText(std::string& s);
  virtual void GetPortText(std::string& s);
  virtual void ReadString(std::string& s, int count);
  virtual void ReadLn(std::string& s);
  virtual void SendAndReadLines(const std::string& cmd, std::string& s);
  virtual void SendCommand(const std::string& cmd, bool log_only);
  virtual void ReadReply(std::string& s);

  void ConnectHost(const std::string& host, uint16_t port);
  void ConnectTo(int& sock, uint16_t port, uint32_t address);
  int CreateSocket();
  void CloseSocket(int& sock);
  int AcceptOn(int& sock);
  // Binds to a random port of low .. low + count - 1 on `address` (network order; 0 is any
  // local address) and listens.
  void BindRange(int& sock, uint16_t low, uint16_t count, uint16_t& port, uint32_t address = 0);
  void BindAndListen(int& sock, uint16_t port);
  int RecvBuffer(int& sock, void* buf, int len);
  int PeekBuffer(int& sock, void* buf, int len);
  void SendBuffer(int& sock, const void* buf, int len);
  void ReceiveToStream(int& sock, TnStream& stream, int64_t position, int count);
  void SendStream(int& sock, TnStream& stream, int64_t position, int count);
  void SendFile(const std::string& file_name);
  void SendString(const std::string& s);
  void SendLine(const std::string& s);
  void ReadLine(int& sock, std::string& s);
  bool IsConnected();
  void GetLocalAddress(std::string& s);
  int SocketState(int sock);

  // Takes `sock` off the list of handles AcceptOn returned and no object has adopted yet;
  // false for any other handle (the script layer wraps only its own accepted handles).
  static bool ClaimAcceptedHandle(int sock);

  // A bound on every wait of the receives until it is cleared (the HTTP client gives the
  // whole header block one time-out, so a server sending a byte at a time still ends).
  using Clock = std::chrono::steady_clock;
  void SetReceiveDeadline(Clock::time_point deadline) { receive_deadline_ = deadline; }
  void ClearReceiveDeadline() { receive_deadline_ = Clock::time_point::max(); }

protected:
  char* Buffer() { return buffer_.get(); }
  // The longest line ReadLine accepts and the ELocalError text past it (the HTTP client
  // narrows it to its header budget while it reads a header block).
  void SetLineLimit(size_t bytes, const char* error) {
    line_limit_ = bytes;
    line_limit_error_ = error;
  }
  // True when a status line of `level` would reach the handler; callers build the text
  // only then.
  bool WantsStatus(int level) const { return level <= StatusLevel && OnStatus != nullptr; }
  template <class MakeText>
  void Status(int level, MakeText&& make) {
    if (WantsStatus(level)) DoStatus(make(), level);
  }
  // The failure pattern: LastError, "err>" + text (2), "dbg>" + the error's name (8),
  // OnError; the caller raises.
  void ReportFailure(int code, const std::string& err_text);
  void FireError(int code);

private:
  enum class WaitResult { Ready, TimedOut, Failed };
  void ListenAfterBind(int& sock);
  WaitResult WaitReady(int sock, short events, int& error);
  // WaitReady; a time-out or failure is reported and raised (ESocketTimeout with
  // `timeout_message`, ESocketError).
  void WaitOrRaise(int sock, short events, const char* timeout_status, const char* timeout_message);
  int ReceiveOnce(int& sock, void* buf, int len, bool peek);
  void SendChunk(int& sock, const char* data, int len);
  void SendAll(int& sock, const char* data, int len);
  bool CallIdle();

  std::unique_ptr<char[]> buffer_;
  size_t line_limit_ = kMaxLineBytes;
  const char* line_limit_error_ = "line too long";
  Clock::time_point receive_deadline_ = Clock::time_point::max();
};

}  // namespace kestrin::script
