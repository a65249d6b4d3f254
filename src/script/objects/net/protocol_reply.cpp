// The shared command and reply engine of the line protocols.
#include "script/objects/net/protocol_reply.h"

#include "script/objects/net/socket_errors.h"

namespace kestrin::script {
namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

bool starts_with_code(std::string_view line) {
  return line.size() >= 3 && is_digit(line[0]) && is_digit(line[1]) && is_digit(line[2]);
}

// True when the trimmed first four characters are a whole (unsigned) decimal number.
bool leading_number(std::string_view line) {
  const std::string head = TrimText(line.substr(0, 4));
  if (head.empty()) return false;
  for (char c : head)
    if (!is_digit(c)) return false;
  return true;
}

// Gives a reply the socket's Timeout as a whole, so a server that trickles its reply a byte
// at a time still ends, and clears the bound afterwards.
class ReplyDeadline {
public:
  explicit ReplyDeadline(TnSocket& socket) : socket_(socket) {
    if (socket.Timeout > 0) socket.SetReceiveDeadline(TnSocket::Clock::now() + std::chrono::seconds(socket.Timeout));
  }
  ~ReplyDeadline() { socket_.ClearReceiveDeadline(); }
  ReplyDeadline(const ReplyDeadline&) = delete;
  ReplyDeadline& operator=(const ReplyDeadline&) = delete;

private:
  TnSocket& socket_;
};

}  // namespace

bool FtpReplyEnd::IsLast(std::string_view line) {
  if (!open_code_.empty())
    return line.substr(0, 3) == open_code_ && (line.size() == 3 || line[3] == ' ');
  if (starts_with_code(line) && line.size() > 3 && line[3] == '-') {
    open_code_ = std::string(line.substr(0, 3));
    return false;
  }
  return leading_number(line);
}

bool SmtpReplyEnd::IsLast(std::string_view line) { return line.size() < 4 || line[3] != '-'; }

std::string ReadProtocolReply(TnSocket& socket, ReplyEnd& end) {
  if (socket.Socket == -1) throw ETCPIPError("not connected", socket.RemoteAddress);
  ReplyDeadline deadline(socket);
  size_t total = 0;
  std::string line;
  for (;;) {
    socket.ReadReply(line);
    const bool closed = socket.IsDisconnected(socket.Socket);
    if (closed && line.empty()) throw ELocalError("connection closed before the end of the reply");
    total += line.size() + 2;
    if (total > kMaxReplyBytes) throw ELocalError("reply too long");
    if (end.IsLast(line)) return line;
    if (closed) throw ELocalError("connection closed before the end of the reply");
  }
}

void SendProtocolLine(TnSocket& socket, const std::string& line) {
  if (line.find_first_of("\r\n") != std::string::npos) throw ELocalError("line break in a command");
  socket.SendCommand(line, false);
}

void ReadGreeting(TnSocket& socket, const std::function<void()>& read) {
  try {
    read();
  } catch (...) {
    socket.TnSocket::Disconnect();
    throw;
  }
}

int ReplyCodeOf(std::string_view line) {
  return starts_with_code(line) ? (line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0') : 999;
}

std::string ReplyTextFrom(std::string_view line, size_t first) {
  return first >= 1 && line.size() >= first ? std::string(line.substr(first - 1)) : std::string();
}

}  // namespace kestrin::script
