// TMailMessage: one Internet mail message (RFC 5322 with MIME multipart/mixed): its header
// fields, its text body and its attachments as files. The POP3 client parses fetched
// messages into it; the SMTP client sends the text it composes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "script/core/hash_table.h"

namespace kestrin::script {

// One part of a parsed multipart message that is not text: its file name as the message
// gives it ("" when none) and its decoded bytes.
struct TMailAttachment {
  std::string name;
  std::string content;
};

// The parts of a message beyond this count fail the parse with "too many attachments".
inline constexpr size_t kMaxMailAttachments = 10000;

class TMailMessage {
public:
  TMailMessage();
  TMailMessage(const TMailMessage&) = delete;
  TMailMessage& operator=(const TMailMessage&) = delete;

  std::vector<std::string> Attachments;  // one full path per attachment
  TStringHashTable Headers{13, true};     // name -> value, names without case
  std::vector<std::string> HeaderLines;   // the raw header lines
  int Number = 0;                         // the message number on the server
  int64_t Length = 0;                     // the size of the message text
  std::vector<std::string> BodyLines;     // the raw body lines
  std::string Body;                       // the text body
  std::string Boundary;                   // the multipart boundary
  std::string AttachPath;                 // folder for parsed attachments ("": the temporary folder)

  // Empties everything and makes a fresh boundary.
  void Reset();
  // Fills the message from its whole source text (lines ending in CR LF, LF or CR) and
  // writes each attachment as a file in AttachPath, which it keeps. A file that cannot be
  // written raises ELocalError; the files written before it stay.
  void Parse(std::string_view text);
  // Parse without files: the attachments come back in order, with Attachments left empty.
  std::vector<TMailAttachment> ParseText(std::string_view text);
  // Raises ELocalError when a header name or value holds CR or LF: it would write header
  // lines of its own into the message (a "Bcc", a second "To").
  void CheckHeaders() const;
  // The text to send, each line ending in CR LF; a missing attachment file raises
  // EFOpenError, a header with a line break ELocalError.
  std::string Compose();
  // A copy of every field; nothing is shared.
  void Assign(const TMailMessage& source);
  std::string GetHeader(std::string_view name) const;

private:
  std::string SaveAttachment(const TMailAttachment& attachment) const;
};

// The value of parameter `name` ("boundary", "name", "filename") of a header value: a
// quoted string, or a token up to ";" or the end; "" when absent.
std::string MimeParameter(std::string_view value, std::string_view name);

}  // namespace kestrin::script
