// Cookie parsing and printing.
#include "script/objects/net/cookie.h"

#include "base/paths.h"
#include "script/objects/net/net_utils.h"
#include "script/objects/net/url_info.h"

namespace kestrin::script {

void TCookie::Clear() {
  Values.Clear();
  Domain.clear();
  Path = "/";
  Expires = 0;
}

void TCookie::Assign(const TCookie& source) {
  Clear();
  Domain = source.Domain;
  Path = source.Path;
  Expires = source.Expires;
  Secure = source.Secure;
  source.Values.ForEach([&](const std::string& name, const std::string& value) { Values.SetValue(name, value); });
}

void TCookie::Parse(const std::string& url, const std::string& text) {
  const TUrlInfo info = ParseURL(url);
  Domain = info.Host;
  Path = info.Path;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(';', start);
    if (end == std::string::npos) end = text.size();
    const std::string piece = text.substr(start, end - start);
    start = end + 1;
    const size_t equals = piece.find('=');
    if (equals == std::string::npos) continue;
    const std::string name = TrimText(piece.substr(0, equals));
    const std::string value = TrimText(piece.substr(equals + 1));
    if (iequals(name, "expires")) Expires = ParseHTTPDateUTC(value);
    else if (iequals(name, "domain")) Domain = value;
    else if (iequals(name, "path")) Path = value;
    else Values.SetValue(name, value);
  }
}

std::string TCookie::GetValuesText() const {
  std::string text;
  Values.ForEach([&](const std::string& name, const std::string& value) {
    if (!value.empty()) text += name + "=" + value + ";";
  });
  return text;
}

std::string TCookie::ToString() const {
  std::string text;
  if (Expires != 0) text += "expires=" + DateTimeToRFC1123(Expires) + ";";
  if (!Domain.empty()) text += "domain=" + Domain + ";";
  text += "path=" + (Path.empty() ? std::string("/") : Path) + ";";
  if (Secure) text += "secure;";
  Values.ForEach([&](const std::string& name, const std::string& value) { text += name + "=" + value + ";"; });
  return text;
}

}  // namespace kestrin::script
