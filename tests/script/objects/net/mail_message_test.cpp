// TMailMessage: headers (folded, empty, repeated), multipart bodies with quoted and bare
// boundaries, attachment files and their names, and composed texts parsed back.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "base/base64.h"
#include "base/text_file.h"
#include "platform/system/safe_file_stream.h"
#include "script/builtins/time_utils.h"
#include "script/objects/net/http_date.h"
#include "script/objects/net/mail_message.h"
#include "support/temp_dir.h"

namespace kestrin::script {
namespace {

std::string crlf(std::initializer_list<const char*> lines) {
  std::string text;
  for (const char* line : lines) put_line(text, line);
  return text;
}

std::string file_text(const std::string& path) {
  std::string bytes;
  EXPECT_TRUE(read_file_bytes(path, bytes)) << path;
  return bytes;
}

TEST(MailMessage, ParsesHeadersAndAPlainBody) {
  TMailMessage mail;
  mail.Parse(crlf({"From: a@example.com", "Subject:", "Received: one", "X-Long: first", "\tsecond",
                   "  third", "Bare line", "received: two", "", "Hello,", "", "world.", "."}));
  EXPECT_EQ(mail.GetHeader("from"), "a@example.com");
  EXPECT_EQ(mail.GetHeader("Subject"), "");
  EXPECT_TRUE(mail.Headers.HasKey("Subject"));
  EXPECT_EQ(mail.GetHeader("RECEIVED"), "two");  // a later equal name replaces the earlier
  EXPECT_EQ(mail.GetHeader("X-Long"), "first\tsecond  third");
  EXPECT_TRUE(mail.Headers.HasKey("Bare line"));
  EXPECT_EQ(mail.HeaderLines.size(), 8u);
  EXPECT_EQ(mail.Body, "Hello,\r\n\r\nworld.\r\n.");
  EXPECT_EQ(mail.BodyLines.size(), 4u);
  EXPECT_TRUE(mail.Attachments.empty());

  // Without an empty line everything is header.
  mail.Parse("Subject: only\r\nX: y\r\n");
  EXPECT_EQ(mail.GetHeader("X"), "y");
  EXPECT_EQ(mail.Body, "");
  // LF-only texts read the same.
  mail.Parse("Subject: lf\n\nbody\n");
  EXPECT_EQ(mail.GetHeader("Subject"), "lf");
  EXPECT_EQ(mail.Body, "body");
}

TEST(MailMessage, WritesAttachmentsOfMultipartMessages) {
  test::TempDir dir;
  const std::string binary = std::string("\0\x01\xff\r\n.x", 7);
  const std::string encoded = EncodeBase64(binary);
  const struct {
    const char* name;
    std::string content_type;  // the message's Content-Type lines
    std::string delimiter;
  } cases[] = {
      {"quoted", "Content-Type: multipart/mixed; boundary=\"XYZ\"", "XYZ"},
      {"bare token", "Content-Type: Multipart/Mixed; boundary=simple-42; charset=x", "simple-42"},
      {"folded", "Content-Type: multipart/mixed;\r\n\tBoundary=\"fold\"", "fold"},
  };
  for (const auto& k : cases) {
    const std::string d = "--" + k.delimiter;
    const std::string text =
        "From: a@b\r\n" + k.content_type + "\r\n\r\npreamble\r\n-- not a delimiter\r\n" + d + "\r\n" +
        "Content-Type: text/plain\r\n\r\nline one\r\nline two\r\n" + d + "\r\n" +
        "Content-Type: application/octet-stream;\r\n name=\"../dir\\\\first.bin\"\r\nContent-Transfer-Encoding: BASE64\r\n\r\n" +
        encoded.substr(0, 4) + "\r\n" + encoded.substr(4) + "\r\n" + d + "\r\n" +
        "Content-Type: application/octet-stream\r\nContent-Disposition: attachment; filename=second.txt\r\n\r\nplain\r\ntext\r\n" +
        d + "  \r\nContent-Type: text/plain; charset=us-ascii\r\n\r\nmore text\r\n" + d + "--\r\nepilogue\r\n" + d + "\r\n";
    TMailMessage mail;
    mail.AttachPath = dir.path() + k.name;
    std::filesystem::create_directory(mail.AttachPath);
    mail.Parse(text);
    EXPECT_EQ(mail.Boundary, k.delimiter) << k.name;
    EXPECT_EQ(mail.Body, "line one\r\nline two\r\nmore text") << k.name;
    ASSERT_EQ(mail.Attachments.size(), 2u) << k.name;
    EXPECT_EQ(mail.Attachments[0], mail.AttachPath + "/first.bin");
    EXPECT_EQ(mail.Attachments[1], mail.AttachPath + "/second.txt");
    EXPECT_EQ(file_text(mail.Attachments[0]), binary) << k.name;
    EXPECT_EQ(file_text(mail.Attachments[1]), "plain\r\ntext") << k.name;
  }
}

TEST(MailMessage, AttachmentsWithoutAUsableNameGoToTemporaryFiles) {
  const std::string temp = std::filesystem::temp_directory_path().string() + "/";
  TMailMessage mail;  // AttachPath empty: the temporary folder, never the root
  const std::string unique = "kestrin-mail-" + std::to_string(::getpid()) + ".bin";
  mail.Parse(crlf({"Content-Type: multipart/mixed; boundary=B", "", "--B", "Content-Type: application/x-a", "",
                   "no name", "--B", "Content-Type: application/x-b; name=\"dir/..\"", "", "dots", "--B",
                   (std::string("Content-Type: application/x-c; name=") + unique).c_str(), "", "named", "--B--"}));
  ASSERT_EQ(mail.Attachments.size(), 3u);
  for (int i : {0, 1}) {
    EXPECT_EQ(mail.Attachments[i].rfind(temp + "gpo", 0), 0u) << mail.Attachments[i];
  }
  EXPECT_EQ(file_text(mail.Attachments[0]), "no name");
  EXPECT_EQ(file_text(mail.Attachments[1]), "dots");
  EXPECT_EQ(mail.Attachments[2], temp + unique);
  for (const std::string& path : mail.Attachments) std::filesystem::remove(path);

  // A message cut off inside a part keeps that part.
  TMailMessage cut;
  cut.ParseText(crlf({"Content-Type: multipart/mixed; boundary=B", "", "--B", "Content-Type: text/plain", "", "kept"}));
  EXPECT_EQ(cut.Body, "kept");
  // A multipart type without a boundary is a plain body.
  cut.Parse(crlf({"Content-Type: multipart/mixed", "", "--", "body"}));
  EXPECT_EQ(cut.Body, "--\r\nbody");
}

TEST(MailMessage, ComposesTheDocumentedLines) {
  TMailMessage mail;
  mail.Headers.SetValue("To", "b@example.com");
  mail.Headers.SetValue("From", "a@example.com");
  mail.Headers.SetValue("Content-Type", "text/html");  // a stale copy is not repeated
  mail.Body = "one\r\ntwo";
  const std::string text = mail.Compose();
  std::vector<std::string> lines = split_lines(text);
  ASSERT_EQ(lines.size(), 9u);
  std::vector<std::string> keys;
  for (const std::string& k : mail.Headers.Keys())
    if (k != "Content-Type") keys.push_back(k + ": " + mail.GetHeader(k));
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 2), keys);
  EXPECT_EQ(lines[2], "Content-Type: text/plain; charset=\"iso-2022-jp\"");
  EXPECT_EQ(lines[3].substr(0, 6), "Date: ");
  EXPECT_NEAR(ParseHTTPDateUTC(lines[3].substr(6)), NowUTC(), 5.0 / 86400);
  EXPECT_EQ(lines[4], "MIME-Version: 1.0");
  EXPECT_EQ(lines[5], "Content-Transfer-Encoding: 7bit");
  EXPECT_EQ(lines[6], "");
  EXPECT_EQ(lines[7], "one");
  EXPECT_EQ(lines[8], "two");
  EXPECT_EQ(text.substr(text.size() - 5), "two\r\n");
  EXPECT_EQ(mail.Boundary.size(), 42u);
}

TEST(MailMessage, ComposedAttachmentsParseBack) {
  test::TempDir dir;
  std::string big;
  for (int i = 0; i < 5000; ++i) big += static_cast<char>(i * 7 % 256);
  ASSERT_TRUE(write_file_bytes(dir.file("big.bin"), big));
  ASSERT_TRUE(write_file_bytes(dir.file("empty.dat"), ""));
  TMailMessage out;
  out.Headers.SetValue("Subject", "files");
  out.Body = "see\r\n.\r\nattached";
  out.Attachments = {dir.file("big.bin"), dir.file("empty.dat")};
  const std::string text = out.Compose();
  for (const std::string& line : split_lines(text)) EXPECT_LE(line.size(), 78u) << line;

  TMailMessage in;
  in.AttachPath = dir.path() + "in";
  std::filesystem::create_directory(in.AttachPath);
  in.Parse(text);
  EXPECT_EQ(in.Boundary, out.Boundary);
  EXPECT_EQ(in.Body, out.Body);
  EXPECT_EQ(in.GetHeader("Subject"), "files");
  ASSERT_EQ(in.Attachments.size(), 2u);
  EXPECT_EQ(file_text(in.Attachments[0]), big);
  EXPECT_EQ(file_text(in.Attachments[1]), "");

  TMailMessage copy;
  copy.Assign(in);
  in.Headers.SetValue("Subject", "changed");
  in.Attachments.clear();
  EXPECT_EQ(copy.GetHeader("Subject"), "files");
  EXPECT_EQ(copy.Attachments.size(), 2u);
  EXPECT_EQ(copy.AttachPath, in.AttachPath);

  out.Attachments.push_back(dir.file("missing.bin"));
  EXPECT_THROW(out.Compose(), platform::EFOpenError);
}

TEST(MailMessage, MimeParametersQuotedOrBare) {
  const struct {
    const char* value;
    const char* name;
    const char* expected;
  } cases[] = {
      {"multipart/mixed; boundary=\"a b;c\"", "boundary", "a b;c"},
      {"multipart/mixed; boundary=abc ; x=1", "boundary", "abc"},
      {"multipart/mixed;boundary = abc", "boundary", "abc"},
      {"application/x; filename=\"f\"; name=\"n\"", "name", "n"},
      {"application/x; filename=\"f\"", "name", ""},
      {"application/x; name=\"unterminated", "name", "unterminated"},
      {"attachment", "filename", ""},
      {"a; ; novalue; filename=x", "filename", "x"},
  };
  for (const auto& k : cases) EXPECT_EQ(MimeParameter(k.value, k.name), k.expected) << k.value;
}

}  // namespace
}  // namespace kestrin::script
