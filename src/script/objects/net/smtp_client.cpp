// The SMTP client: greeting and HELO, the envelope, and the message after DATA.
#include "script/objects/net/smtp_client.h"

#include "base/cp932.h"
#include "base/text_file.h"
#include "script/objects/net/protocol_reply.h"
#include "script/objects/net/socket_errors.h"
#include "script/objects/net/status_texts.h"

namespace kestrin::script {
namespace {

// The address of one header item: inside its last angle brackets, else the whole item.
std::string envelope_address(std::string_view item) {
  const size_t close = item.rfind('>');
  const size_t open = close == std::string_view::npos ? close : item.rfind('<', close);
  if (open != std::string_view::npos) return TrimText(item.substr(open + 1, close - open - 1));
  return TrimText(item);
}

}  // namespace

std::vector<std::string> EnvelopeAddresses(std::string_view value) {
  std::vector<std::string> addresses;
  bool quoted = false, bracketed = false;
  size_t start = 0;
  for (size_t i = 0; i <= value.size(); ++i) {
    const char c = i < value.size() ? value[i] : ',';
    if (c == '"' && !bracketed) quoted = !quoted;
    else if (c == '<' && !quoted) bracketed = true;
    else if (c == '>' && !quoted) bracketed = false;
    if (c != ',' || ((quoted || bracketed) && i < value.size())) continue;
    std::string address = envelope_address(value.substr(start, i - start));
    if (!address.empty()) addresses.push_back(std::move(address));
    start = i + 1;
  }
  return addresses;
}

std::string DotStuffed(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 64);
  for (const std::string& line : split_lines(text)) {
    if (!line.empty() && line[0] == '.') out += '.';
    put_line(out, line);
  }
  return out;
}

TnSMTP::TnSMTP(int buffer_size) : TnSocket(buffer_size) { Port = 25; }

TnSMTP::~TnSMTP() {
  try {
    Disconnect();
  } catch (...) {
    // A failing farewell must not escape a destructor.
  }
}

void TnSMTP::CheckReply() {
  SmtpReplyEnd end;
  const std::string line = ReadProtocolReply(*this, end);
  ReplyCode = ReplyCodeOf(line);
  ReplyText = ReplyTextFrom(line, 5);
  if (ReplyCode >= 400) throw EProtocolError("SMTP", ReplyCode, ReplyText);
}

void TnSMTP::Expect(int expected) {
  CheckReply();
  if (ReplyCode != expected) throw EProtocolError("SMTP", ReplyCode, ReplyText);
}

void TnSMTP::Connect() {
  TnSocket::Connect();
  open_ = true;
  ReadGreeting(*this, [&] { Expect(220); });
  SendProtocolLine(*this, "HELO " + GetSocketLocalAddress(Socket));
  Expect(250);
}

void TnSMTP::SendMail() {
  Status(1, [] { return "nfo>" + J("メールを送信します"); });
  // Before the envelope: addresses are taken only from header values that hold no line break.
  Mail.CheckHeaders();
  const std::vector<std::string> from = EnvelopeAddresses(Mail.GetHeader("From"));
  SendProtocolLine(*this, "MAIL FROM:<" + (from.empty() ? std::string() : from.front()) + ">");
  Expect(250);
  // One RCPT per address: servers refuse several addresses in one command.
  std::vector<std::string> recipients = EnvelopeAddresses(Mail.GetHeader("To"));
  if (recipients.empty()) recipients.emplace_back();
  for (const std::string& to : recipients) {
    SendProtocolLine(*this, "RCPT TO:<" + to + ">");
    Expect(250);
  }
  SendProtocolLine(*this, "DATA");
  Expect(354);
  const std::string text = DotStuffed(Mail.Compose());
  // The header lines are logged as commands; the body is not.
  const size_t header_end = text.find("\r\n\r\n");
  const size_t body_start = header_end == std::string::npos ? 0 : header_end + 4;
  for (const std::string& line : split_lines(std::string_view(text).substr(0, body_start))) SendCommand(line, false);
  SendString(text.substr(body_start));
  SendString("\r\n.\r\n");
  Expect(250);
  Status(1, [] { return "nfo>" + J("メールの送信を終了しました"); });
}

void TnSMTP::Disconnect() {
  if (open_ && Socket != -1) {
    try {
      SendProtocolLine(*this, "QUIT");
    } catch (...) {
      // The server may be gone already.
    }
  }
  open_ = false;
  TnSocket::Disconnect();
}

}  // namespace kestrin::script
