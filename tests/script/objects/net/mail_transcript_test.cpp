// POP3 and SMTP clients against scripted servers: status replies, byte-stuffed messages,
// deletions, multi-line greetings, one RCPT per address, and what is logged.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/cp932.h"
#include "base/text_file.h"
#include "script/objects/net/pop3_client.h"
#include "script/objects/net/smtp_client.h"
#include "script/objects/net/socket_errors.h"
#include "support/scripted_peer.h"

namespace kestrin::script {
namespace {

using test::ScriptedPeer;

template <class C>
struct MailClient {
  explicit MailClient(uint16_t port) : c(65536) {
    c.Host = "127.0.0.1";
    c.Port = port;
    c.Timeout = 2;
    c.OnStatus = [this](TnSocket&, const std::string& msg) { status.push_back(cp932_to_utf8(msg)); };
  }
  bool has_status(const std::string& line) const { return std::find(status.begin(), status.end(), line) != status.end(); }
  std::vector<std::string> status;
  C c;
};

ScriptedPeer& pop3_login(ScriptedPeer& peer, const char* stat) {
  return peer.Send("+OK ready\r\n").ReadUntil("USER u\r\n").Send("+OK\r\n").ReadUntil("PASS p\r\n").Send("+OK in\r\n")
      .ReadUntil("STAT\r\n").Send(stat);
}

void credentials(TnPOP3& pop) {
  pop.UserName = "u";
  pop.Password = "p";
}

TEST(Pop3Transcript, StatusRepliesAndTheMailCount) {
  ScriptedPeer peer;
  pop3_login(peer, "+OK 3 1200\r\n").ReadUntil("DELE 7\r\n").Send("-ERR no such message\r\n")
      .ReadUntil("DELE 8\r\n").Send("what?\r\n").ReadUntil("QUIT\r\n").Send("+OK\r\n");
  peer.Start();
  {
    MailClient<TnPOP3> k(peer.port());
    credentials(k.c);
    k.c.Connect();
    EXPECT_EQ(k.c.MailCount, 3);
    EXPECT_EQ(k.c.ReplyText, "3 1200");
    int failures = 0;
    k.c.OnFailure = [&](TnPOP3&) { ++failures; };
    try {
      k.c.Delete(7);
      ADD_FAILURE();
    } catch (const EProtocolError& e) {
      EXPECT_EQ(e.Code, 500);
      EXPECT_EQ(e.Protocol, "pop3");
      EXPECT_EQ(e.Text, "-ERR no such message");
      EXPECT_EQ(k.c.ReplyText, "no such message");
    }
    try {
      k.c.Delete(8);
      ADD_FAILURE();
    } catch (const EProtocolError& e) {
      EXPECT_EQ(e.Code, 999);
      EXPECT_EQ(k.c.ReplyText, "");
    }
    EXPECT_EQ(failures, 2);
    EXPECT_TRUE(k.has_status("err>メール削除に失敗しました"));
    k.c.Disconnect();
    EXPECT_EQ(k.c.ReplyText, "");  // "+OK" alone
    EXPECT_TRUE(k.has_status("nfo>logoutします"));
  }
  EXPECT_EQ(split_lines(peer.Received()[0]),
            (std::vector<std::string>{"USER u", "PASS p", "STAT", "DELE 7", "DELE 8", "QUIT"}));
}

TEST(Pop3Transcript, FetchUndoesByteStuffing) {
  ScriptedPeer peer;
  pop3_login(peer, "+OK 1 100\r\n")
      .ReadUntil("RETR 1\r\n")
      .Send("+OK 100 octets\r\nSubject: dots\r\n\r\n..\r\n...two\r\n.x\r\nplain\r\n.\r\n")
      .ReadUntil("DELE 1\r\n")
      .Send("+OK deleted\r\n")
      .ReadUntil("TOP 1 1\r\n")
      .Send("+OK\r\nSubject: top\r\n\r\nfirst line\r\n.\r\n")
      .ReadUntil("QUIT\r\n")
      .Send("+OK bye\r\n");
  peer.Start();
  MailClient<TnPOP3> k(peer.port());
  credentials(k.c);
  k.c.DeleteOnRead = true;
  std::vector<std::string> events;
  k.c.OnMailStart = [&](TnPOP3&) { events.push_back("start"); };
  k.c.OnMailReceived = [&](TnPOP3&) { events.push_back("received"); };
  k.c.OnSuccess = [&](TnPOP3&) { events.push_back("deleted"); };
  k.c.Connect();
  k.c.GetMail(1);
  EXPECT_EQ(k.c.Mail.GetHeader("Subject"), "dots");
  EXPECT_EQ(k.c.Mail.Body, ".\r\n..two\r\nx\r\nplain");
  EXPECT_EQ(k.c.Mail.Number, 1);
  EXPECT_EQ(k.c.Mail.Length, 37);  // the text after un-stuffing
  EXPECT_EQ(events, (std::vector<std::string>{"start", "received", "deleted"}));
  k.c.GetSummary(1);
  EXPECT_EQ(k.c.Mail.GetHeader("Subject"), "top");
  EXPECT_EQ(k.c.Mail.Body, "first line");
  for (const char* line : {"nfo>メールを取得します", "nfo>メール取得終了", "nfo>メールを削除します", "nfo>メール削除終了",
                           "nfo>ヘッダを取得します", "nfo>ヘッダを取得終了"})
    EXPECT_TRUE(k.has_status(line)) << line;
}

TEST(Pop3Transcript, FailingDeleteFailsTheFetch) {
  ScriptedPeer peer;
  pop3_login(peer, "+OK 1 10\r\n")
      .ReadUntil("RETR 1\r\n")
      .Send("+OK\r\nSubject: x\r\n\r\nbody\r\n.\r\n")
      .ReadUntil("DELE 1\r\n")
      .Send("-ERR locked\r\n")
      .ReadUntil("QUIT\r\n")
      .Send("+OK\r\n");
  peer.Start();
  MailClient<TnPOP3> k(peer.port());
  credentials(k.c);
  k.c.DeleteOnRead = true;
  k.c.Connect();
  EXPECT_THROW(k.c.GetMail(1), EProtocolError);
  EXPECT_TRUE(k.has_status("err>メール削除に失敗しました"));
  EXPECT_TRUE(k.has_status("err>メール取得に失敗しました"));
}

TEST(Pop3Transcript, ARefusedLoginCanBeRetried) {
  ScriptedPeer server;
  server.Send("+OK ready\r\n").ReadUntil("USER u\r\n").Send("+OK\r\n").ReadUntil("PASS p\r\n")
      .Send("-ERR Authentication failed.\r\n").ReadUntil("PASS p\r\nUSER u\r\n").Send("+OK\r\n")
      .ReadUntil("PASS good\r\n").Send("+OK in\r\n").ReadUntil("STAT\r\n").Send("+OK 0 0\r\n");
  server.Start();
  MailClient<TnPOP3> k(server.port());
  credentials(k.c);
  k.c.OnLoginError = [](TnPOP3& pop, bool& retry) {
    pop.Password = "good";
    retry = true;
  };
  k.c.Connect();
  EXPECT_EQ(k.c.MailCount, 0);
}

TEST(SmtpTranscript, MultiLineGreetingAndOneRcptPerAddress) {
  ScriptedPeer peer;
  peer.Send("220-mail.example ESMTP\r\n220-second line\r\n220 ready\r\n")
      .ReadUntil("HELO 127.0.0.1\r\n")
      .Send("250 hello\r\n")
      .ReadUntil("MAIL FROM:<a@example.com>\r\n")
      .Send("250 ok\r\n")
      .ReadUntil("RCPT TO:<b@example.com>\r\n")
      .Send("250 ok\r\n")
      .ReadUntil("RCPT TO:<c@example.com>\r\n")
      .Send("250-ok\r\n250 really\r\n")
      .ReadUntil("DATA\r\n")
      .Send("354 go\r\n")
      .ReadUntil("\r\n.\r\n")
      .Send("250 queued\r\n")
      .ReadUntil("QUIT\r\n");
  peer.Start();
  {
    MailClient<TnSMTP> k(peer.port());
    k.c.Mail.Headers.SetValue("From", "Sender <a@example.com>");
    k.c.Mail.Headers.SetValue("To", "b@example.com, \"Doe, C\" <c@example.com>");
    k.c.Mail.Body = "first\r\n.\r\n..double\r\n.single";
    k.c.Connect();
    k.c.SendMail();
    EXPECT_EQ(k.c.ReplyCode, 250);
    EXPECT_TRUE(k.has_status("cmd>To: b@example.com, \"Doe, C\" <c@example.com>"));
    EXPECT_TRUE(k.has_status("cmd>MIME-Version: 1.0"));
    EXPECT_FALSE(k.has_status("cmd>first"));  // body lines are not logged
    EXPECT_TRUE(k.has_status("nfo>メールを送信します"));
    EXPECT_TRUE(k.has_status("nfo>メールの送信を終了しました"));
  }
  const std::string sent = peer.Received()[0];
  const size_t data = sent.find("DATA\r\n") + 6;
  const std::string message = sent.substr(data, sent.find("QUIT\r\n") - data);
  EXPECT_NE(message.find("\r\n\r\nfirst\r\n..\r\n...double\r\n..single\r\n\r\n.\r\n"), std::string::npos) << message;
}

TEST(SmtpTranscript, GreetingOtherThan220FailsTheLogin) {
  for (const char* greeting : {"554 no service\r\n", "120 try later\r\n"}) {
    ScriptedPeer peer;
    peer.Send(greeting);
    peer.Start();
    MailClient<TnSMTP> k(peer.port());
    try {
      k.c.Connect();
      ADD_FAILURE() << greeting;
    } catch (const EProtocolError& e) {
      EXPECT_EQ(e.Protocol, "SMTP");
      EXPECT_EQ(e.Code, std::stoi(greeting));
    }
  }
}

TEST(SmtpTranscript, EnvelopeAddressesAndDotStuffing) {
  const struct {
    const char* header;
    std::vector<std::string> addresses;
  } cases[] = {
      {"a@x", {"a@x"}},
      {" A <a@x> , b@y ,, ", {"a@x", "b@y"}},
      {"\"Doe, John\" <j@x>, <k@y>", {"j@x", "k@y"}},
      {"", {}},
  };
  for (const auto& k : cases) EXPECT_EQ(EnvelopeAddresses(k.header), k.addresses) << k.header;
  EXPECT_EQ(DotStuffed("a\r\n.\r\n..b\nc"), "a\r\n..\r\n...b\r\nc\r\n");
}

TEST(ProtocolCommands, LineBreaksInArgumentsAreRefused) {
  ScriptedPeer peer;
  peer.Send("220 ready\r\n").ReadUntil("HELO").Send("250 hi\r\n").Hold(300);
  peer.Start();
  {
    MailClient<TnSMTP> k(peer.port());
    k.c.Mail.Headers.SetValue("From", "a@x>\r\nRCPT TO:<evil@x");
    k.c.Connect();
    EXPECT_THROW(k.c.SendMail(), ELocalError);
  }
  EXPECT_EQ(peer.Received()[0].find("evil"), std::string::npos);
}

// A line break in any header name or value would write header lines (or, through To, an
// envelope address) of the script's own: the mail is refused before MAIL FROM goes out.
TEST(SmtpTranscript, HeaderLineBreaksRefuseTheMail) {
  const struct {
    const char *name, *value;
  } cases[] = {
      {"To", "a@x\nRCPT TO:<evil@y>"},
      {"To", "a@x\r\nBcc: evil@y"},
      {"Subject", "hi\r\nBcc: evil@y"},
      {"Subject", "hi\rBcc: evil@y"},
      {"X-Note\r\nBcc", "evil@y"},
  };
  for (const auto& k : cases) {
    ScriptedPeer peer;
    peer.Send("220 ready\r\n").ReadUntil("HELO").Send("250 hi\r\n").ReadUntil("QUIT\r\n");
    peer.Start();
    {
      MailClient<TnSMTP> m(peer.port());
      m.c.Mail.Headers.SetValue("From", "a@x");
      m.c.Mail.Headers.SetValue("To", "a@x");
      m.c.Mail.Headers.SetValue(k.name, k.value);
      m.c.Connect();
      EXPECT_THROW(m.c.SendMail(), ELocalError) << k.name << " " << k.value;
      EXPECT_THROW(m.c.Mail.Compose(), ELocalError);
    }
    const std::string sent = peer.Received()[0];
    EXPECT_EQ(split_lines(sent), (std::vector<std::string>{"HELO 127.0.0.1", "QUIT"})) << sent;
  }
}

}  // namespace
}  // namespace kestrin::script
