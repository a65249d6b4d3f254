// TnSocket transfers: waits counted in one-second steps, receives and peeks, sends that
// always deliver the whole buffer, protocol lines and the stream and file transfers.
#include <poll.h>

#include <algorithm>

#include "platform/net/wsa_errors.h"
#include "script/core/script_string.h"
#include "script/objects/net/protocol_reply.h"
#include "script/objects/net/socket.h"
#include "script/objects/net/socket_errors.h"
#include "script/objects/net/status_texts.h"

namespace kestrin::script {

bool TnSocket::CallIdle() {
  bool abort = false;
  if (OnIdle) OnIdle(*this, abort);
  return abort;
}

// Up to Timeout one-second waits with OnIdle after each empty one; Timeout 0 waits without
// limit (the platform's direct blocking call). A receive deadline, when set, bounds the
// total.
TnSocket::WaitResult TnSocket::WaitReady(int sock, short events, int& error) {
  const bool bounded = receive_deadline_ != Clock::time_point::max() && (events & POLLIN);
  auto slice = [&](int ms) {
    if (!bounded) return ms;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(receive_deadline_ - Clock::now()).count();
    return static_cast<int>(std::clamp<long long>(left, 0, ms < 0 ? 1LL << 30 : ms));
  };
  if (Timeout <= 0) {
    const int r = net::WaitFor(sock, events, slice(-1), error);
    return r > 0 ? WaitResult::Ready : r == 0 ? WaitResult::TimedOut : WaitResult::Failed;
  }
  for (int waits = 0; waits < Timeout; ++waits) {
    const int ms = slice(1000);
    if (bounded && ms == 0) return WaitResult::TimedOut;
    const int r = net::WaitFor(sock, events, ms, error);
    if (r > 0) return WaitResult::Ready;
    if (r < 0) return WaitResult::Failed;
    if (CallIdle()) return WaitResult::TimedOut;
  }
  return WaitResult::TimedOut;
}

void TnSocket::WaitOrRaise(int sock, short events, const char* timeout_status, const char* timeout_message) {
  int error = 0;
  switch (WaitReady(sock, events, error)) {
    case WaitResult::Ready:
      return;
    case WaitResult::TimedOut:
      TimedOut = true;
      ReportFailure(net::WSAETIMEDOUT, timeout_status);
      throw ESocketTimeout(timeout_message);
    case WaitResult::Failed:
      ReportFailure(error, "socket error");
      throw ESocketError(error);
  }
}

// The receive common to RecvBuffer and PeekBuffer: the wait, one recv, and a peer close
// turned into a closed handle and the result 0.
int TnSocket::ReceiveOnce(int& sock, void* buf, int len, bool peek) {
  SetDisconnected(sock, true);
  TimedOut = false;
  const auto length = static_cast<size_t>(std::max(len, 0));
  int error = 0;
  // What is there already is taken without a wait (a stream arrives faster than it is read);
  // only an empty socket is waited for.
  long n = sock < 0 ? -1 : net::ReceiveBytes(sock, buf, length, peek, error, true);
  if (n < 0 && (sock < 0 || error == net::WSAEWOULDBLOCK)) {
    WaitOrRaise(sock, POLLIN, "recv timeout", "socket timeout");
    n = net::ReceiveBytes(sock, buf, length, peek, error);
  }
  if (n < 0) {
    if (error == net::WSAEWOULDBLOCK) return -1;
    ReportFailure(error, "socket error");
    throw ESocketError(error);
  }
  if (n == 0 && len > 0) {
    SetDisconnected(sock, true);
    CloseSocket(sock);
  }
  return static_cast<int>(n);
}

int TnSocket::RecvBuffer(int& sock, void* buf, int len) {
  const int n = ReceiveOnce(sock, buf, len, false);
  if (n <= 0) return n;
  SetDisconnected(sock, false);
  Status(8, [&] { return "dbg>" + T().read_from + std::to_string(n) + T().bytes_read; });
  BytesRead += n;
  BytesTotal += n;
  bool cancel = false;
  if (OnRead) OnRead(*this, n, cancel);
  if (cancel) throw ESocketError(0);
  return n;
}

int TnSocket::PeekBuffer(int& sock, void* buf, int len) { return ReceiveOnce(sock, buf, len, true); }

// One chunk, sent whole: a send that takes part of it is followed by another for the rest.
void TnSocket::SendChunk(int& sock, const char* data, int len) {
  TimedOut = false;
  while (len > 0) {
    WaitOrRaise(sock, POLLOUT, "send timeout", "Send Timeout");
    int error = 0;
    const long n = net::SendBytes(sock, data, static_cast<size_t>(len), error);
    if (n < 0) {
      if (error == net::WSAEWOULDBLOCK) continue;
      ReportFailure(error, "socket error");
      throw ESocketError(error);
    }
    Status(8, [&] { return "dbg>" + T().written_to + std::to_string(n) + T().bytes_written; });
    BytesWrote += n;
    BytesTotal += n;
    bool cancel = false;
    if (OnWrite) OnWrite(*this, static_cast<int>(n), cancel);
    if (cancel) throw ESocketError(0);
    data += n;
    len -= static_cast<int>(n);
  }
}

void TnSocket::SendBuffer(int& sock, const void* buf, int len) {
  SendAll(sock, static_cast<const char*>(buf), len);
}

void TnSocket::SendAll(int& sock, const char* data, int len) {
  while (len > 0) {
    const int chunk = std::min(len, BufferSize);
    SendChunk(sock, data, chunk);
    data += chunk;
    len -= chunk;
  }
}

void TnSocket::SendString(const std::string& s) {
  // Strings beyond the int range go out in int-sized pieces.
  constexpr size_t kPiece = size_t{1} << 30;
  for (size_t pos = 0; pos < s.size(); pos += kPiece)
    SendAll(Socket, s.data() + pos, static_cast<int>(std::min(kPiece, s.size() - pos)));
}

void TnSocket::SendLine(const std::string& s) { SendString(s + "\r\n"); }

// The earliest CR LF, LF or CR ends the line. A CR that is the last byte seen so far is
// consumed and the next byte decides (an LF after it belongs to the terminator); a close of
// the connection ends the line too. Bytes after the terminator stay in the socket.
void TnSocket::ReadLine(int& sock, std::string& s) {
  s.clear();
  char peeked[1024];
  bool pending_cr = false;
  for (;;) {
    const int n = PeekBuffer(sock, peeked, sizeof peeked);
    if (n <= 0) return;
    if (pending_cr) {
      if (peeked[0] == '\n') RecvBuffer(sock, peeked, 1);
      return;
    }
    const char* end = std::find_if(peeked, peeked + n, [](char c) { return c == '\r' || c == '\n'; });
    const int p = static_cast<int>(end - peeked);
    if (s.size() + static_cast<size_t>(p) > line_limit_) throw ELocalError(line_limit_error_);
    s.append(peeked, static_cast<size_t>(p));
    if (p == n) {
      RecvBuffer(sock, peeked, n);
      if (IsDisconnected(sock)) return;
      continue;
    }
    if (peeked[p] == '\n') {
      RecvBuffer(sock, peeked, p + 1);
      return;
    }
    if (p + 1 < n) {
      RecvBuffer(sock, peeked, p + (peeked[p + 1] == '\n' ? 2 : 1));
      return;
    }
    RecvBuffer(sock, peeked, p + 1);
    pending_cr = true;
    if (IsDisconnected(sock)) return;
  }
}

void TnSocket::ReceiveToStream(int& sock, TnStream& stream, int64_t position, int count) {
  stream.SetPosition(position);
  while (count == -1 || count > 0) {
    const int want = count == -1 ? BufferSize : std::min(count, BufferSize);
    const int n = RecvBuffer(sock, Buffer(), want);
    if (n > 0) {
      stream.Write(Buffer(), n);
      if (count != -1) count -= n;
    }
    if (IsDisconnected(sock)) break;
  }
}

void TnSocket::SendStream(int& sock, TnStream& stream, int64_t position, int count) {
  stream.SetPosition(position);
  while (count == -1 || count > 0) {
    const int want = count == -1 ? BufferSize : std::min(count, BufferSize);
    const auto n = static_cast<int>(stream.Read(Buffer(), want));
    if (n <= 0) break;
    SendBuffer(sock, Buffer(), n);
    if (count != -1) count -= n;
  }
}

void TnSocket::SendFile(const std::string& file_name) {
  TSafeFileStream file;
  if (!file.Open(file_name, fmOpenRead | fmShareDenyWrite, false)) return;
  TnFileStream stream(file);
  SendStream(Socket, stream, 0, -1);
}

void TnSocket::CaptureFile(const std::string& file_name) {
  TSafeFileStream file;
  file.Open(file_name, fmOpenWrite | fmShareDenyWrite, true);
  file.SetSize(0);
  TnFileStream stream(file);
  ReceiveToStream(Socket, stream, 0, -1);
}

void TnSocket::CaptureStream(TnStream& stream, int count) { ReceiveToStream(Socket, stream, stream.Size(), count); }

void TnSocket::Read(std::string& s, int count) {
  TnStringStream stream(s, kMaxStringBytes);
  ReceiveToStream(Socket, stream, static_cast<int64_t>(s.size()), count);
}

void TnSocket::ReadString(std::string& s, int count) {
  s.clear();
  Read(s, count);
}

void TnSocket::ReadLn(std::string& s) { ReadLine(Socket, s); }

void TnSocket::SendAndReadLines(const std::string& cmd, std::string& s) {
  SendLine(cmd);
  s.clear();
  std::string line;
  for (;;) {
    ReadLn(line);
    if (line.empty()) break;
    if (s.size() + line.size() > kMaxReplyBytes) throw ELocalError("reply too long");
    s += line;
    s += "\r\n";
    if (IsDisconnected(Socket)) break;
  }
  LastReply = s;
}

void TnSocket::SendCommand(const std::string& cmd, bool log_only) {
  if (!log_only) SendLine(cmd);
  if (!TrimText(cmd).empty()) Status(2, [&] { return "cmd>" + cmd; });
}

void TnSocket::ReadReply(std::string& s) {
  ReadLn(s);
  LastReply = s;
  if (!s.empty()) Status(2, [&] { return "res>" + s; });
}

}  // namespace kestrin::script
