// Parsing, building and resolving URLs.
#include "script/objects/net/url_info.h"

#include "base/convert.h"
#include "script/core/hash_table.h"
#include "script/objects/net/net_utils.h"

namespace kestrin::script {
namespace {

// Directory and FileName of a path without its query.
void split_path(TUrlInfo& info, const std::string& path) {
  const size_t slash = path.rfind('/');
  info.Directory = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  info.FileName = slash == std::string::npos ? path : path.substr(slash + 1);
}

bool is_default_port(const std::string& protocol, const std::string& port) {
  return (protocol == "http" && port == "80") || (protocol == "ftp" && port == "21") ||
         (protocol == "https" && port == "443");
}

bool keeps_port(const std::string& protocol) { return protocol == "http" || protocol == "ftp" || protocol == "https"; }

}  // namespace

TUrlInfo ParseURL(const std::string& url) {
  TUrlInfo info;
  info.Url = url;
  std::string s = TrimText(url);
  if (const size_t scheme = s.find("://"); scheme != std::string::npos) {
    info.Protocol = LocaleLower(s.substr(0, scheme));
    s.erase(0, scheme + 3);
  }
  // The authority ends at the first "/" or backslash (which stays at the head of the path,
  // where a client can refuse it); the user part at its last "@", as a password may hold one.
  std::string authority;
  if (const size_t slash = s.find_first_of("/\\"); slash != std::string::npos) {
    authority = s.substr(0, slash);
    s.erase(0, slash);
  } else {
    authority = s;
    s = "/";
  }
  if (const size_t at = authority.rfind('@'); at != std::string::npos) {
    const std::string user = authority.substr(0, at);
    const size_t colon = user.find(':');
    info.UserName = user.substr(0, colon);
    if (colon != std::string::npos) info.Password = user.substr(colon + 1);
    authority.erase(0, at + 1);
  }
  if (const size_t colon = authority.find(':'); colon != std::string::npos) {
    info.Port = TrimText(authority.substr(colon + 1));
    authority.erase(colon);
    StrToInt(info.Port);  // a port must be a number
  }
  info.Host = LocaleLower(authority);
  info.Path = s;
  const size_t question = info.Protocol == "ftp" ? std::string::npos : s.rfind('?');
  if (question != std::string::npos) info.Query = s.substr(question);
  split_path(info, s.substr(0, question));
  return info;
}

std::string BuildURL(const TUrlInfo& info) {
  std::string authority = info.UserName.empty() ? info.Host : info.UserName + ":" + info.Password + "@" + info.Host;
  if (!info.Port.empty() && keeps_port(info.Protocol) && !is_default_port(info.Protocol, info.Port))
    authority += ":" + info.Port;
  return info.Protocol + "://" + authority + info.Path;
}

std::string GetHostAndPort(const std::string& url) {
  const TUrlInfo info = ParseURL(url);
  return info.Port.empty() ? info.Host : info.Host + ":" + info.Port;
}

std::string ResolveURL(const std::string& base, const std::string& relative) {
  const std::string rel = relative.substr(0, relative.find(';'));
  TUrlInfo info = ParseURL(base);
  info.Path = info.Directory;
  if (rel.find("://") != std::string::npos) return rel;
  if (rel.starts_with("/")) {
    info.Path = rel;
  } else if (rel.starts_with("./")) {
    info.Path = info.Directory + rel.substr(2);
  } else if (rel.starts_with("../")) {
    std::string result = BuildURL(info);
    if (!result.empty() && result.back() == '/') result.pop_back();
    std::string rest = rel;
    const size_t host_start = result.find("://") + 3;
    while (rest.starts_with("../")) {
      rest.erase(0, 3);
      const size_t slash = result.rfind('/');
      if (slash != std::string::npos && slash >= host_start) result.erase(slash);
    }
    return result + "/" + rest;
  } else {
    info.Path = info.Directory + rel;
  }
  return BuildURL(info);
}

}  // namespace kestrin::script
