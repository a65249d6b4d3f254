// TnPOP3: a blocking POP3 client (RFC 1939) on TnSocket. It logs in, counts the mailbox,
// fetches whole messages or their headers into one TMailMessage and deletes messages.
#pragma once

#include <functional>
#include <string>

#include "script/core/script_string.h"
#include "script/objects/net/mail_message.h"
#include "script/objects/net/socket.h"

namespace kestrin::script {

class TnPOP3 : public TnSocket {
public:
  explicit TnPOP3(int buffer_size);
  ~TnPOP3() override;

  bool DeleteOnRead = false;  // delete each message once GetMail has parsed it
  int MailCount = 0;          // from STAT
  std::string AttachPath;     // copied into the message before each parse
  std::string Password;
  std::string UserName;
  TMailMessage Mail;          // the last fetched message
  // The most bytes one fetched message may hold before it fails with "message too long".
  size_t MaxMessageBytes = kMaxStringBytes;

  std::function<void(TnPOP3&, bool& retry)> OnLoginError;
  std::function<void(TnPOP3&, bool& retry)> OnNeedUser;
  std::function<void(TnPOP3&)> OnMailReceived;
  std::function<void(TnPOP3&)> OnSuccess;  // a deletion succeeded
  std::function<void(TnPOP3&)> OnFailure;  // a deletion failed
  std::function<void(TnPOP3&)> OnMailStart;

  // Login: greeting, USER and PASS, STAT.
  void Connect() override;
  // QUIT (the server applies the deletions), then the connection closed.
  void Disconnect() override;
  void GetMail(int index);
  // The headers and the first body line (TOP n 1).
  void GetSummary(int index);
  void Delete(int index);
  // One status line: "+OK" sets ReplyText; "-ERR" raises EProtocolError ("pop3", 500),
  // anything else ("pop3", 999).
  void CheckReply();

private:
  void Login();
  // Sends `command` and reads the message that follows its reply into Mail.
  void Fetch(const std::string& command, int index);
  // The lines up to the one holding "." alone, byte-stuffing undone, each ended by CR LF.
  std::string ReadMessageText();
};

}  // namespace kestrin::script
