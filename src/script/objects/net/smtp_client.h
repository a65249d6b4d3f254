// TnSMTP: sends one composed TMailMessage to an SMTP server (RFC 5321) over TnSocket. The
// envelope comes from the message's "From" and "To" headers.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "script/objects/net/mail_message.h"
#include "script/objects/net/socket.h"

namespace kestrin::script {

// The envelope addresses of an address header: split at the commas outside quotes and
// angle brackets, each the text inside its angle brackets when it has them ("Taro
// <taro@example.com>" gives taro@example.com), else its trimmed text; empty items dropped.
std::vector<std::string> EnvelopeAddresses(std::string_view header_value);

// The message text as it goes after DATA: every line ended by CR LF, a "." put before
// each line that starts with "." (RFC 5321 4.5.2).
std::string DotStuffed(std::string_view text);

class TnSMTP : public TnSocket {
public:
  explicit TnSMTP(int buffer_size);
  ~TnSMTP() override;

  TMailMessage Mail;

  // Greeting 220, then HELO with the control connection's local address.
  void Connect() override;
  void SendMail();
  // QUIT without waiting for its reply, then the connection closed.
  void Disconnect() override;
  // One whole reply (continuation lines included) into ReplyCode and ReplyText; 400 or
  // more raises EProtocolError ("SMTP", code, text).
  void CheckReply();

private:
  // CheckReply, and EProtocolError unless the code is `expected`.
  void Expect(int expected);
  bool open_ = false;
};

}  // namespace kestrin::script
