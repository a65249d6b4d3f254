// SMTP and POP3 against aiosmtpd and dovecot, with Python's smtplib, poplib and email
// package as the other side: what Kestrin sends, Python reads; what Python sends, Kestrin
// reads; attachments byte for byte, dots at line starts, deletions.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "base/text_file.h"
#include "script/objects/net/pop3_client.h"
#include "script/objects/net/smtp_client.h"
#include "script/objects/net/socket_errors.h"
#include "protocol_peers.h"

namespace kestrin::script {
namespace {

std::string payload(size_t n) {
  std::string s(n, '\0');
  for (size_t i = 0; i < n; ++i) s[i] = static_cast<char>((i * 131 + i / 7) & 255);
  return s;
}

std::string stored_bytes(const std::string& path) {
  std::string out;
  EXPECT_TRUE(read_file_bytes(path, out)) << path;
  return out;
}

// Runs a Python script; its "key=value" output lines as a map.
std::map<std::string, std::string> run_python(const test::TempDir& dir, const std::string& script) {
  std::string out;
  EXPECT_EQ(test::run_peer_script(dir, script, &out), 0) << out;
  std::map<std::string, std::string> values;
  for (const std::string& line : split_lines(out)) {
    const size_t eq = line.find('=');
    if (eq != std::string::npos) values[line.substr(0, eq)] = line.substr(eq + 1);
  }
  return values;
}

void point_at(TnSocket& client, uint16_t port) {
  client.Host = "127.0.0.1";
  client.Port = port;
  client.Timeout = 10;
}

void log_in(TnPOP3& pop, uint16_t port) {
  point_at(pop, port);
  pop.UserName = "test";
  pop.Password = "secret";
  pop.Connect();
}

const char* const kBody = "first line\r\n.\r\n.starts with a dot\r\n..two dots\r\nlast";

TEST(MailPeers, WhatKestrinSendsPythonReadsAndKestrinFetches) {
  test::MailPeers peers;
  KESTRIN_START_PROTOCOL_PEER(peers);
  const test::TempDir& dir = peers.dir();
  std::filesystem::create_directories(dir.file("out"));
  const std::string big = payload(150000);
  ASSERT_TRUE(write_file_bytes(dir.file("out/small.txt"), "hello attachment\n"));
  ASSERT_TRUE(write_file_bytes(dir.file("out/big.bin"), big));
  {
    TnSMTP smtp(65536);
    point_at(smtp, peers.smtp_port());
    smtp.Mail.Headers.SetValue("From", "Kestrin <kestrin@example.com>");
    smtp.Mail.Headers.SetValue("To", "test@example.com, Other <other@example.com>");
    smtp.Mail.Headers.SetValue("Subject", "peer test");
    smtp.Mail.Body = kBody;
    smtp.Mail.Attachments = {dir.file("out/small.txt"), dir.file("out/big.bin")};
    smtp.Connect();
    smtp.SendMail();
    smtp.Disconnect();
  }
  std::filesystem::create_directories(dir.file("py"));
  auto seen = run_python(dir,
                         "import poplib, email, email.policy, email.utils, datetime\n"
                         "p = poplib.POP3('127.0.0.1', " + std::to_string(peers.pop3_port()) + ", timeout=10)\n"
                         "p.user('test'); p.pass_('secret')\n"
                         "lines = p.retr(1)[1]\n"
                         "p.quit()\n"
                         "m = email.message_from_bytes(b'\\r\\n'.join(lines) + b'\\r\\n', policy=email.policy.default)\n"
                         "print('type=' + m.get_content_type())\n"
                         "print('subject=' + m['Subject'])\n"
                         "print('longest=' + str(max(len(l) for l in lines)))\n"
                         "d = email.utils.parsedate_to_datetime(m['Date'])\n"
                         "print('skew=' + str(abs((datetime.datetime.now(datetime.timezone.utc) - d).total_seconds())))\n"
                         "print('body=' + repr(m.get_body(('plain',)).get_content()))\n"
                         "names = []\n"
                         "for i, a in enumerate(m.iter_attachments()):\n"
                         "    names.append(a.get_filename())\n"
                         "    open('" + dir.file("py/") + "%d' % i, 'wb').write(a.get_content())\n"
                         "print('names=' + ','.join(names))\n"
                         "print('defects=' + str(len(m.defects)))\n");
  EXPECT_EQ(seen["type"], "multipart/mixed");
  EXPECT_EQ(seen["subject"], "peer test");
  EXPECT_LE(std::stoi(seen["longest"]), 78);
  EXPECT_LT(std::stod(seen["skew"]), 60.0);  // a zone mistake is hours off; a loaded machine is seconds
  EXPECT_EQ(seen["body"], "'first line\\r\\n.\\r\\n.starts with a dot\\r\\n..two dots\\r\\nlast'");
  EXPECT_EQ(seen["names"], "small.txt,big.bin");
  EXPECT_EQ(seen["defects"], "0");
  EXPECT_EQ(stored_bytes(dir.file("py/0")), "hello attachment\n");
  EXPECT_EQ(stored_bytes(dir.file("py/1")), big);

  // Kestrin fetches the same message back through dovecot, deleting it as it reads.
  std::filesystem::create_directories(dir.file("in"));
  {
    TnPOP3 pop(65536);
    pop.AttachPath = dir.file("in");
    pop.DeleteOnRead = true;
    log_in(pop, peers.pop3_port());
    ASSERT_EQ(pop.MailCount, 1);
    pop.GetMail(1);
    EXPECT_EQ(pop.Mail.GetHeader("Subject"), "peer test");
    EXPECT_EQ(pop.Mail.GetHeader("X-MailFrom"), "kestrin@example.com");
    EXPECT_EQ(pop.Mail.GetHeader("X-RcptTo"), "test@example.com, other@example.com");
    EXPECT_EQ(pop.Mail.Body, kBody);
    ASSERT_EQ(pop.Mail.Attachments.size(), 2u);
    EXPECT_EQ(pop.Mail.Attachments[0], dir.file("in/small.txt"));
    EXPECT_EQ(stored_bytes(pop.Mail.Attachments[1]), big);
    pop.Disconnect();
  }
  TnPOP3 again(65536);
  log_in(again, peers.pop3_port());
  EXPECT_EQ(again.MailCount, 0) << "deleted on read, applied at QUIT";
}

TEST(MailPeers, WhatPythonSendsKestrinReads) {
  test::MailPeers peers;
  KESTRIN_START_PROTOCOL_PEER(peers);
  const test::TempDir& dir = peers.dir();
  run_python(dir,
             "import smtplib\n"
             "from email.message import EmailMessage\n"
             "def mail(subject, text):\n"
             "    m = EmailMessage(); m['From'] = 'py@example.com'; m['To'] = 'test@example.com'\n"
             "    m['Subject'] = subject; m.set_content(text); return m\n"
             "plain = mail('plain', 'hello\\n.\\n.dot\\n..dots\\nend\\n')\n"
             "files = mail('files', 'with files\\n')\n"
             "files.add_attachment(bytes(range(256)) * 400, maintype='application', subtype='octet-stream',"
             " filename='blob.bin')\n"
             "files.add_attachment(b'%PDF-1.4 fake\\r\\n', maintype='application', subtype='pdf', filename='doc.pdf')\n"
             "s = smtplib.SMTP('127.0.0.1', " + std::to_string(peers.smtp_port()) + ", timeout=10)\n"
             "s.send_message(plain); s.send_message(files); s.quit()\n");
  std::filesystem::create_directories(dir.file("in"));
  TnPOP3 pop(65536);
  pop.AttachPath = dir.file("in");
  log_in(pop, peers.pop3_port());
  ASSERT_EQ(pop.MailCount, 2);
  std::string blob;
  for (int i = 0; i < 256 * 400; ++i) blob += static_cast<char>(i & 255);
  int checked = 0;
  for (int n = 1; n <= 2; ++n) {
    pop.GetMail(n);
    const std::string subject = pop.Mail.GetHeader("Subject");
    if (subject == "plain") {
      EXPECT_EQ(pop.Mail.Body, "hello\r\n.\r\n.dot\r\n..dots\r\nend");
      EXPECT_TRUE(pop.Mail.Attachments.empty());
      ++checked;
    } else if (subject == "files") {
      EXPECT_EQ(pop.Mail.Body, "with files\r\n");  // Python ends the text with a line of its own
      ASSERT_EQ(pop.Mail.Attachments.size(), 2u);
      EXPECT_EQ(pop.Mail.Attachments[0], dir.file("in/blob.bin"));
      EXPECT_EQ(stored_bytes(pop.Mail.Attachments[0]), blob);
      EXPECT_EQ(stored_bytes(pop.Mail.Attachments[1]), "%PDF-1.4 fake\r\n");
      ++checked;
    }
  }
  EXPECT_EQ(checked, 2);
  // The summary holds the headers and the first body line.
  pop.GetSummary(1);
  EXPECT_FALSE(pop.Mail.GetHeader("Subject").empty());
  EXPECT_THROW(pop.GetMail(99), EProtocolError);
}

}  // namespace
}  // namespace kestrin::script
