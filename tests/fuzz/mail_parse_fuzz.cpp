// Fuzz target: a mail message's parse (headers, folding, multipart parts, Base64) without
// writing files, and the MIME parameter reader on the same text.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "script/objects/net/mail_message.h"
#include "script/objects/net/socket_errors.h"

using namespace kestrin::script;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  TMailMessage mail;
  try {
    (void)mail.ParseText(text);
  } catch (const ELocalError&) {
  }
  (void)MimeParameter(text, "boundary");
  (void)MimeParameter(text, "name");
  return 0;
}
