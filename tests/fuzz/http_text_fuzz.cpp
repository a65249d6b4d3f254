// Fuzz target: HTTP dates, cookie values and HTML, the texts servers hand the clients.
#include <cstddef>
#include <cstdint>
#include <string>

#include "script/objects/net/cookie.h"
#include "script/objects/net/html_parser.h"
#include "script/objects/net/http_date.h"

using namespace kestrin::script;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  (void)ParseHTTPDate(text);
  TCookie cookie;
  cookie.Parse("http://h/p", text);
  (void)cookie.ToString();
  (void)cookie.GetValuesText();
  THtmlParser html(text);
  for (int i = 0; i < html.Count(); ++i) (void)html.GetTag(i)->GetAttributeNames();
  THtmlTag tag(text);
  return 0;
}
