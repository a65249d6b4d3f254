// The command and reply engine that the FTP, POP3 and SMTP clients share over TnSocket:
// command lines checked before they go out, and the lines of one server reply read up to
// the line that ends it, within one time budget and one size budget. Each protocol adds
// only its end-of-reply test and its own failure rule.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "script/objects/net/socket.h"

namespace kestrin::script {

// The most bytes one reply (all its lines) may hold before it fails with "reply too long".
inline constexpr size_t kMaxReplyBytes = size_t{16} << 20;

// Decides which line ends a reply; it sees every line of the reply in order.
class ReplyEnd {
public:
  virtual ~ReplyEnd() = default;
  virtual bool IsLast(std::string_view line) = 0;
};

// FTP (RFC 959): a line whose first four characters, trimmed, are a number ends the reply;
// after an opening "NNN-" line only a line that starts with the same NNN followed by a blank
// (or nothing) does. Text lines before the first numbered line are read past.
class FtpReplyEnd : public ReplyEnd {
public:
  bool IsLast(std::string_view line) override;

private:
  std::string open_code_;  // the code of an opening "NNN-" line
};

// SMTP (RFC 5321): every line but a "NNN-" continuation line ends the reply.
class SmtpReplyEnd : public ReplyEnd {
public:
  bool IsLast(std::string_view line) override;
};

// POP3 status replies are one line.
class SingleLineReplyEnd : public ReplyEnd {
public:
  bool IsLast(std::string_view) override { return true; }
};

// Reads the lines of one reply with `socket.ReadReply` (each logged "res>") until `end`
// accepts one, and returns that line. The whole reply must come within the socket's
// Timeout and hold at most kMaxReplyBytes ("reply too long"); a control connection closed
// before the reply ends raises ELocalError "connection closed before the end of the reply",
// one already closed ETCPIPError "not connected".
std::string ReadProtocolReply(TnSocket& socket, ReplyEnd& end);

// Sends one command line through `socket.SendCommand` (which logs it). A line holding CR or
// LF (a file name or address from a script, say) would smuggle in commands of its own, so
// it is refused with ELocalError "line break in a command" and nothing is sent.
void SendProtocolLine(TnSocket& socket, const std::string& line);

// The first three characters as a number; 999 when they are not three digits.
int ReplyCodeOf(std::string_view line);
// The line from its character `first` (counted from 1) on; "" when it is shorter.
std::string ReplyTextFrom(std::string_view line, size_t first);

// Reads a server's greeting with `read`; a server that greets badly (or not at all) is left
// at once: the connection is closed before the failure is raised.
void ReadGreeting(TnSocket& socket, const std::function<void()>& read);

// The login attempts of FTP and POP3: at most two. Without a user name the client's
// OnNeedUser may ask for another attempt, else `no_user` raises. Otherwise `attempt` sends
// the credentials and raises unless they were accepted. A failed attempt goes to
// OnLoginError, whose retry on the first attempt starts the second.
template <class Client>
void RunLoginAttempts(Client& client, const std::function<void()>& attempt, const std::function<void()>& no_user) {
  for (int n = 1; n <= 2; ++n) {
    bool retry = false;
    try {
      if (client.UserName.empty()) {
        if (client.OnNeedUser) client.OnNeedUser(client, retry);
        if (retry && n == 1) continue;
        no_user();
      }
      attempt();
      return;
    } catch (...) {
      retry = false;
      if (client.OnLoginError) client.OnLoginError(client, retry);
      if (!retry || n != 1) throw;
    }
  }
}

}  // namespace kestrin::script
