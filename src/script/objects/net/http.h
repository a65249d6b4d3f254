// TnHTTP: an HTTP/1.0 client on TnSocket. One request per connection ("Connection:
// close"); status line and headers into the response header set, cookies into its TCookie;
// proxies (also a "+" chain of them), redirects when asked, and the body into a string or
// a file, framed by its length, the chunked coding or the close of the connection.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/net/http_body.h"
#include "script/objects/net/http_headers.h"
#include "script/objects/net/socket.h"
#include "script/objects/net/url_info.h"

namespace kestrin::script {

// The longest status line and header block a response may have.
inline constexpr size_t kMaxHeaderBlockBytes = 65535;
// Redirects followed in a row before a request fails with "too many redirects".
inline constexpr int kMaxRedirects = 10;

// Splits a proxy specification "host[:port][+host[:port]...]": the first entry gives
// `host` and `port` (empty when it has none); further entries are folded into `target` as
// "http://" + entries joined by "/-_-http://" + "/-_-" before it.
void SplitProxySpec(const std::string& proxy, std::string& target, std::string& host, std::string& port);

class TnHTTP : public TnSocket {
public:
  explicit TnHTTP(int buffer_size);

  TRequestHeader RequestHeader;
  TResponseHeader ResponseHeader;
  std::string Version = "1.0";
  std::string ResponseText;  // status line and header lines of the last response, each + CR LF
  std::string Location;      // absolute target of "Location" (else "Content-Location")
  bool EncodePath = false;
  bool UTF8Path = false;
  std::string CurrentURL;
  int64_t ContentLength = -1;
  std::string ContentFileName;
  bool AutoRedirect = false;
  bool ProxyAuthInURL = false;

  std::function<void(TnHTTP&, std::string& url, std::string& proxy, TRequestHeader& headers)> OnBeforeRequest;
  std::function<void(TnHTTP&)> OnAuthorization;
  std::function<void()> OnFailed;
  std::function<void(TnHTTP&, bool& done, const std::string& new_url)> OnRedirect;
  std::function<void()> OnComplete;
  std::function<void(TnHTTP&, const std::string& url, const std::string& proxy, const std::string& reply_text,
                     std::string& location, int& reply_code, TResponseHeader& headers)>
      OnResponseHeader;

  virtual void SendRequest(const std::string& url, const std::string& method, const std::string& body);
  virtual void ReadResponse();

  // The body is appended to `data`.
  void Get(const std::string& url, std::string& data);
  // The body is written to `sink` (a caller's own storage, such as a script string).
  void Get(const std::string& url, TnStream& sink);
  // The body replaces `file_name` only once it is complete.
  void GetFile(const std::string& url, const std::string& file_name);
  void Head(const std::string& url);
  void Post(const std::string& url, const std::string& body, std::string& data);
  void Post(const std::string& url, const std::string& body, TnStream& sink);

protected:
  // Steps shared with the HTTPS client: the current URL, method, Host, credentials and body
  // headers, OnBeforeRequest. Returns the (possibly changed) URL taken apart.
  TUrlInfo PrepareRequest(const std::string& url, std::string& method, const std::string& body);
  // The request target's path: UTF-8 when UTF8Path, percent-encoded when EncodePath.
  std::string RequestPath(const TUrlInfo& info) const;
  // A port text as a number: `fallback` when it is not a number, ELocalError when it is
  // outside 0..65535.
  static uint16_t PortNumber(const std::string& port, uint16_t fallback);
  static bool HasRequestBody(const std::string& method, const std::string& body);
  // Clears what a response sets before its lines arrive.
  void StartResponse();
  // One status or header line of a response.
  void ParseResponseLine(const std::string& line);
  // After the header block: OnResponseHeader, Location, lengths, file name, the 401 event,
  // EProtocolError for a status of 400 or more.
  void FinishResponse();
  // Reads the rest of the body through `framing` into `sink`.
  void ReadBody(TnStream& sink);

  net::HttpBodyDecoder BodyFraming;  // the framing of the last response's body
  std::string RequestMethod;         // the method of the request in progress

private:
  class HeaderBudget {
  public:
    explicit HeaderBudget(TnHTTP& http);
    ~HeaderBudget();

  private:
    TnHTTP& http_;
  };
  enum class Kind { Get, Head, Post };
  // The redirect loop around SendRequest and ReadResponse; `read_body` takes the final
  // response's body (none for HEAD).
  void Request(Kind kind, const std::string& url, const std::string& body, const std::function<void()>& read_body);
  bool IsRedirect() const;
  void FollowRedirect(const std::string& from, const std::string& to);
  // Refuses (ELocalError) a request whose head a URL, method, version or header could
  // break into more lines, and a URL whose host part ends in a backslash.
  void CheckRequestHead(const TUrlInfo& info, const std::string& method) const;
  net::ContentLengthField content_length_;
  bool chunked_ = false;
  bool status_unreadable_ = false;
};

}  // namespace kestrin::script
