// The POP3 client: login, fetching and deleting messages.
#include "script/objects/net/pop3_client.h"

#include "base/convert.h"
#include "base/cp932.h"
#include "script/objects/net/protocol_reply.h"
#include "script/objects/net/socket_errors.h"
#include "script/objects/net/status_texts.h"

namespace kestrin::script {

TnPOP3::TnPOP3(int buffer_size) : TnSocket(buffer_size) { Port = 110; }

TnPOP3::~TnPOP3() {
  try {
    Disconnect();
  } catch (...) {
    // A failing farewell must not escape a destructor.
  }
}

void TnPOP3::CheckReply() {
  SingleLineReplyEnd end;
  const std::string line = ReadProtocolReply(*this, end);
  if (line.rfind("+OK", 0) == 0) {
    ReplyText = ReplyTextFrom(line, 5);
    return;
  }
  if (line.rfind("-ERR", 0) == 0) {
    ReplyText = ReplyTextFrom(line, 6);
    throw EProtocolError("pop3", 500, line);
  }
  ReplyText.clear();
  throw EProtocolError("pop3", 999, line);
}

void TnPOP3::Connect() { Login(); }

void TnPOP3::Login() {
  TnSocket::Connect();
  ReadGreeting(*this, [&] { CheckReply(); });
  Mail.Reset();
  Status(1, [] { return "nfo>" + J("loginします"); });
  RunLoginAttempts(
      *this,
      [&] {
        SendProtocolLine(*this, "USER " + UserName);
        CheckReply();
        SendProtocolLine(*this, "PASS " + Password);
        CheckReply();
      },
      [&] {
        Status(2, [] { return "err>" + J("useridがありません"); });
        throw EProtocolError("pop3", 999, "AuthenticationNeeded");
      });
  SendProtocolLine(*this, "STAT");
  CheckReply();
  const auto count = TryStrToInt(ReplyText.substr(0, ReplyText.find(' ')));
  if (!count || *count < 0) throw EProtocolError("pop3", 999, LastReply);
  MailCount = *count;
}

void TnPOP3::Disconnect() {
  if (Connected) Status(1, [] { return "nfo>" + J("logoutします"); });
  if (Connected && Socket != -1) {
    try {
      SendProtocolLine(*this, "QUIT");
      CheckReply();
    } catch (...) {
      TnSocket::Disconnect();
      throw;
    }
  }
  TnSocket::Disconnect();
}

std::string TnPOP3::ReadMessageText() {
  std::string text, line;
  for (;;) {
    if (Socket == -1) throw ELocalError("connection closed before the end of the message");
    ReadLn(line);
    const bool closed = IsDisconnected(Socket);
    if (line == ".") return text;
    if (closed && line.empty()) throw ELocalError("connection closed before the end of the message");
    // RFC 1939: a line starting with "." was sent with one more "." before it.
    const size_t skip = !line.empty() && line[0] == '.' ? 1 : 0;
    if (text.size() + line.size() + 2 > MaxMessageBytes) throw ELocalError("message too long");
    text.append(line, skip);
    text += "\r\n";
    if (closed) throw ELocalError("connection closed before the end of the message");
  }
}

void TnPOP3::Fetch(const std::string& command, int index) {
  SendProtocolLine(*this, command);
  CheckReply();
  if (OnMailStart) OnMailStart(*this);
  Mail.Reset();
  Mail.AttachPath = AttachPath;
  const std::string text = ReadMessageText();
  Mail.Parse(text);
  Mail.Number = index;
  Mail.Length = static_cast<int64_t>(text.size());
  if (OnMailReceived) OnMailReceived(*this);
}

void TnPOP3::GetMail(int index) {
  Status(1, [] { return "nfo>" + J("メールを取得します"); });
  try {
    Fetch("RETR " + std::to_string(index), index);
    Status(1, [] { return "nfo>" + J("メール取得終了"); });
    if (DeleteOnRead) Delete(index);
  } catch (...) {
    Status(2, [] { return "err>" + J("メール取得に失敗しました"); });
    throw;
  }
}

void TnPOP3::GetSummary(int index) {
  Status(1, [] { return "nfo>" + J("ヘッダを取得します"); });
  try {
    Fetch("TOP " + std::to_string(index) + " 1", index);
    Status(1, [] { return "nfo>" + J("ヘッダを取得終了"); });
  } catch (...) {
    Status(2, [] { return "err>" + J("ヘッダ取得に失敗しました"); });
    throw;
  }
}

void TnPOP3::Delete(int index) {
  Status(1, [] { return "nfo>" + J("メールを削除します"); });
  try {
    SendProtocolLine(*this, "DELE " + std::to_string(index));
    CheckReply();
    if (OnSuccess) OnSuccess(*this);
    Status(1, [] { return "nfo>" + J("メール削除終了"); });
  } catch (...) {
    if (OnFailure) OnFailure(*this);
    Status(2, [] { return "err>" + J("メール削除に失敗しました"); });
    throw;
  }
}

}  // namespace kestrin::script
