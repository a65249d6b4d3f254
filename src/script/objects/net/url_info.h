// URLs as the network clients take them apart, put together and resolve.
#pragma once

#include <string>

namespace kestrin::script {

struct TUrlInfo {
  std::string Url;        // the text given to ParseURL, unchanged
  std::string Protocol;   // scheme in lower case, without "://"
  std::string UserName;
  std::string Password;
  std::string Host;       // lower case
  std::string Port;       // trimmed decimal text, empty when none
  std::string Path;       // from the first "/" (or backslash) after the authority, query included; "/" when none
  std::string Directory;  // Path (without query) up to and including its last "/"
  std::string FileName;   // Path (without query) after its last "/"
  std::string Query;      // from the last "?" of Path, "?" included; always empty for ftp
};

// Takes a URL apart. The authority ends at the first "/" or backslash, the user part at
// the authority's last "@". A port that is not a decimal number throws ConversionError
// ("'x' is not a valid integer value").
TUrlInfo ParseURL(const std::string& url);
// Protocol "://" [user ":" password "@"] host [":" port] path; the port is written only
// for http, ftp and https and only when it is not their default (80, 21, 443).
std::string BuildURL(const TUrlInfo& info);
// "host:port", or the host alone when the URL names no port (the HTTP Host header).
std::string GetHostAndPort(const std::string& url);
// The absolute URL of `relative` against `base`: a ";" cuts the reference, "../" never
// climbs above the host, and the query of the base is never kept.
std::string ResolveURL(const std::string& base, const std::string& relative);

}  // namespace kestrin::script
