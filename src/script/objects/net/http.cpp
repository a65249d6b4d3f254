// The HTTP client: the request on the wire, the response header block within its size and
// time budget, the redirect loop and the framed body.
#include "script/objects/net/http.h"

#include "base/convert.h"
#include "base/cp932.h"
#include "base/paths.h"
#include "base/text_file.h"
#include "base/url_coding.h"
#include "script/core/script_string.h"
#include "script/objects/net/socket_errors.h"
#include "script/objects/net/status_texts.h"

namespace kestrin::script {
namespace {

// A whole decimal number of up to 18 digits; -1 for anything else.
int64_t decimal_or_minus_one(std::string_view text) {
  const std::string t = TrimText(text);
  if (t.empty() || t.size() > 18 || t.find_first_not_of("0123456789") != std::string::npos) return -1;
  return std::stoll(t);
}

// "bytes first-last/total" -> total - first; -1 when it does not read so.
int64_t length_from_range(const std::string& range) {
  const std::string rest = range.size() > 6 ? range.substr(6) : std::string();
  const size_t dash = rest.find('-'), slash = rest.find('/');
  if (dash == std::string::npos || slash == std::string::npos) return -1;
  const int64_t first = decimal_or_minus_one(rest.substr(0, dash));
  const int64_t total = decimal_or_minus_one(rest.substr(slash + 1));
  return first < 0 || total <= 0 ? -1 : total - first;
}

// The value of the "filename" piece of a Content-Disposition value.
std::string disposition_file_name(const std::string& value) {
  size_t start = 0;
  std::string name;
  while (start <= value.size()) {
    size_t end = value.find(';', start);
    if (end == std::string::npos) end = value.size();
    const std::string piece = TrimText(value.substr(start, end - start));
    start = end + 1;
    const size_t equals = piece.find('=');
    if (equals != std::string::npos && iequals(TrimText(piece.substr(0, equals)), "filename"))
      name = Dequote(TrimText(piece.substr(equals + 1)), '"');
  }
  return name;
}

// The port a URL reaches (its default when it names none).
std::string effective_port(const TUrlInfo& info) {
  if (!info.Port.empty()) return info.Port;
  return info.Protocol == "https" ? "443" : "80";
}

// The scheme of a URL; one written without a scheme is requested over http.
std::string scheme_of(const TUrlInfo& info) { return info.Protocol.empty() ? "http" : info.Protocol; }

// A CR or LF (or NUL) in any text that goes into the request head would end a line early
// and let the text add headers or a whole second request of its own.
void refuse_line_breaks(std::string_view text, const char* what) {
  if (text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos)
    throw ELocalError(std::string("line break in the request ") + what);
}

// The URL without its fragment: "#..." names a place in the document and is never sent.
std::string without_fragment(const std::string& url) { return url.substr(0, url.find('#')); }

}  // namespace

void SplitProxySpec(const std::string& proxy, std::string& target, std::string& host, std::string& port) {
  const size_t plus = proxy.find('+');
  const std::string first = proxy.substr(0, plus);
  if (plus != std::string::npos) {
    std::string chain = proxy.substr(plus + 1);
    for (size_t p = chain.find('+'); p != std::string::npos; p = chain.find('+', p))
      chain.replace(p, 1, "/-_-http://");
    target = "http://" + chain + "/-_-" + target;
  }
  const size_t colon = first.find(':');
  host = first.substr(0, colon);
  port = colon == std::string::npos ? std::string() : first.substr(colon + 1);
}

TnHTTP::TnHTTP(int buffer_size) : TnSocket(buffer_size) { Port = 80; }

uint16_t TnHTTP::PortNumber(const std::string& port, uint16_t fallback) { return PortFromText(port, fallback); }

bool TnHTTP::HasRequestBody(const std::string& method, const std::string& body) {
  return !body.empty() && (method == "POST" || method == "PUT" || method == "TRACE");
}

TUrlInfo TnHTTP::PrepareRequest(const std::string& url, std::string& method, const std::string& body) {
  CurrentURL = url;
  if (method.empty()) method = "GET";
  RequestMethod = method;
  Cancelled = TimedOut = false;
  const TUrlInfo parsed = ParseURL(without_fragment(url));
  RequestHeader.SetHost(GetHostAndPort(without_fragment(url)));
  if (!parsed.UserName.empty() || !parsed.Password.empty()) {
    // "%40" and the like stand for characters a URL cannot hold there ("@", ":").
    RequestHeader.SetBasicAuth(URLDecode(parsed.UserName, false), URLDecode(parsed.Password, false));
    RequestHeader.User = parsed.UserName;  // as written, for a proxy's absolute URL
    RequestHeader.Password = parsed.Password;
  }
  if (HasRequestBody(method, body)) {
    RequestHeader.SetContentType("application/x-www-form-urlencoded");
    RequestHeader.SetContentLength(std::to_string(body.size()));
  } else {
    RequestHeader.Headers.Remove("Content-Length");  // a length left from an earlier request
  }
  std::string current = url;
  if (OnBeforeRequest) OnBeforeRequest(*this, current, Proxy, RequestHeader);
  CurrentURL = current;
  const TUrlInfo info = ParseURL(without_fragment(current));
  CheckRequestHead(info, method);
  return info;
}

void TnHTTP::CheckRequestHead(const TUrlInfo& info, const std::string& method) const {
  refuse_line_breaks(info.Url, "URL");
  refuse_line_breaks(method, "method");
  refuse_line_breaks(Version, "version");
  RequestHeader.Headers.ForEach([](const std::string& name, const std::string& value) {
    refuse_line_breaks(name, "header name");
    refuse_line_breaks(value, "header value");
  });
  // "http://a:1\\@b/" names host a for some readers and b for others: neither is guessed.
  if (info.Path.starts_with('\\')) throw ELocalError("backslash after the host in the URL");
}

std::string TnHTTP::RequestPath(const TUrlInfo& info) const {
  std::string path = UTF8Path ? cp932_to_utf8(info.Path) : info.Path;
  if (EncodePath && !HasPercentEscape(path)) path = EncodeURI(path);
  return path;
}

void TnHTTP::SendRequest(const std::string& url, const std::string& method_in, const std::string& body) {
  std::string method = method_in;
  const TUrlInfo info = PrepareRequest(url, method, body);
  const std::string path = RequestPath(info);
  std::string target, host, port;
  if (!Proxy.empty()) {
    const std::string scheme = (info.Protocol.empty() ? std::string("http") : info.Protocol) + "://";
    const std::string port_part = info.Port.empty() ? std::string() : ":" + info.Port;
    const bool credentials = ProxyAuthInURL && (!RequestHeader.User.empty() || !RequestHeader.Password.empty());
    const std::string user_part = credentials ? RequestHeader.User + ":" + RequestHeader.Password + "@" : std::string();
    target = scheme + user_part + info.Host + port_part + path;
    SplitProxySpec(Proxy, target, host, port);
    if (port.empty()) port = "8080";
  } else {
    target = path;
    host = info.Host;
    port = info.Port.empty() ? "80" : info.Port;
  }
  if (target.empty()) target = "/";
  refuse_line_breaks(target, "URL");  // a proxy chain is folded into it
  Host = host;
  Port = PortNumber(port, 80);
  Connect();
  Status(2, [] { return "rtn>" + T().sending_request; });
  std::vector<std::string> lines = RequestHeader.WriteTo();
  lines.insert(lines.begin(), method + " " + target + " HTTP/" + Version);
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  text += "\r\n";
  SendString(text);
  for (const std::string& line : lines) SendCommand(line, true);
  if (HasRequestBody(method, body)) SendString(body);
}

void TnHTTP::StartResponse() {
  Status(2, [] { return "rtn>" + T().reading_response; });
  ResponseHeader.Clear();
  Location.clear();
  ResponseText.clear();
  ReplyCode = 0;
  ContentLength = -1;
  ContentFileName.clear();
  content_length_ = net::ContentLengthField();
  chunked_ = false;
  status_unreadable_ = false;
}

void TnHTTP::ReadResponse() {
  StartResponse();
  {
    HeaderBudget budget(*this);
    for (;;) {
      std::string line;
      ReadReply(line);
      if (line.empty()) break;
      if (ResponseText.size() + line.size() + 2 > kMaxHeaderBlockBytes) throw ELocalError("header too long");
      ResponseText += line + "\r\n";
      LastReply = ResponseText;
      ParseResponseLine(line);
      if (IsDisconnected(Socket)) break;
    }
  }
  if (ResponseText.empty()) throw ELocalError("no response");
  BodyFraming = net::HttpBodyDecoder::ForResponse(RequestMethod == "HEAD", ReplyCode, chunked_, content_length_.length());
  FinishResponse();
}

// The header block gets one time-out in total and its size budget for any one line, so a
// server trickling bytes or sending an endless line still ends within the budget.
TnHTTP::HeaderBudget::HeaderBudget(TnHTTP& http) : http_(http) {
  if (http.Timeout > 0) http.SetReceiveDeadline(Clock::now() + std::chrono::seconds(http.Timeout));
  http.SetLineLimit(kMaxHeaderBlockBytes, "header too long");
}

TnHTTP::HeaderBudget::~HeaderBudget() {
  http_.ClearReceiveDeadline();
  http_.SetLineLimit(kMaxLineBytes, "line too long");
}

void TnHTTP::ParseResponseLine(const std::string& line) {
  if (line.starts_with("HTTP")) {
    const size_t blank = line.find(' ');
    const std::string rest = blank == std::string::npos ? std::string() : line.substr(blank + 1);
    const size_t next = rest.find(' ');
    const auto code = TryStrToInt(rest.substr(0, next));
    status_unreadable_ = !code;
    ReplyCode = code.value_or(999);
    ReplyText = next == std::string::npos ? std::string() : rest.substr(next + 1);
    ResponseHeader.Version = line.size() > 5 ? line.substr(5, 3) : std::string();
    return;
  }
  const size_t colon = line.find(':');
  if (colon == std::string::npos) return;
  const std::string name = LocaleLower(line.substr(0, colon));
  const std::string value = TrimText(line.substr(colon + 1));
  if (name == "set-cookie") {
    ResponseHeader.Cookie.Parse(CurrentURL, value);
    return;
  }
  ResponseHeader.SetHeader(name, value);
  if (name == "content-length") {
    try {
      content_length_.Add(value);
    } catch (const net::HttpBodyError& e) {
      throw ELocalError(e.what());
    }
  }
  if (name == "transfer-encoding") chunked_ = to_lower_ascii(TrimText(value)).ends_with("chunked");
}

void TnHTTP::FinishResponse() {
  if (OnResponseHeader) OnResponseHeader(*this, CurrentURL, Proxy, ReplyText, Location, ReplyCode, ResponseHeader);
  if (ResponseHeader.HasHeader("content-location"))
    Location = ResolveURL(CurrentURL, ResponseHeader.GetHeader("content-location"));
  if (ResponseHeader.HasHeader("location")) Location = ResolveURL(CurrentURL, ResponseHeader.GetHeader("location"));
  ContentLength = content_length_.length();
  if (ContentLength == -1 && ResponseHeader.HasHeader("content-range"))
    ContentLength = length_from_range(ResponseHeader.GetHeader("content-range"));
  if (ResponseHeader.HasHeader("content-disposition"))
    ContentFileName = disposition_file_name(ResponseHeader.GetHeader("content-disposition"));
  if (ReplyCode == 401 && OnAuthorization) OnAuthorization(*this);
  // An unreadable status stands as 999 but is no failure; a server's own 999 is.
  if (ReplyCode >= 400 && !status_unreadable_) throw EProtocolError("http", ReplyCode, ReplyText);
}

void TnHTTP::ReadBody(TnStream& sink) {
  while (!BodyFraming.Done()) {
    const int want = static_cast<int>(BodyFraming.ReadLimit(static_cast<size_t>(BufferSize)));
    // A sink in memory gives room at its end: the body is received and decoded there.
    char* room = sink.Room(static_cast<size_t>(want));
    char* into = room ? room : Buffer();
    const int n = Receive(into, want);
    if (n > 0) {
      size_t body = 0;
      try {
        body = BodyFraming.Decode(into, static_cast<size_t>(n));
      } catch (const net::HttpBodyError& e) {
        throw ELocalError(e.what());
      }
      if (room) sink.Keep(body);
      else sink.Write(into, static_cast<int64_t>(body));
    } else if (IsDisconnected(Socket)) {
      if (!BodyFraming.CompleteAtClose()) throw ELocalError("connection closed before the end of the body");
      return;
    }
  }
}

bool TnHTTP::IsRedirect() const {
  switch (ReplyCode) {
    case 301: case 302: case 303: case 307: case 308:
      return ResponseHeader.HasHeader("location");
    default:
      return false;
  }
}

// A redirect goes on only over http or https. Credentials and cookies, from the URL or
// set by the script, go only to the scheme, host and port they were meant for.
void TnHTTP::FollowRedirect(const std::string& from, const std::string& to) {
  const TUrlInfo a = ParseURL(without_fragment(from)), b = ParseURL(without_fragment(to));
  const std::string scheme_a = scheme_of(a), scheme_b = scheme_of(b);
  if (scheme_b != "http" && scheme_b != "https") throw ELocalError("redirect to another protocol: " + to);
  if (scheme_a == scheme_b && a.Host == b.Host && effective_port(a) == effective_port(b)) return;
  RequestHeader.Headers.Remove("Authorization");
  RequestHeader.Headers.Remove("Cookie");
  RequestHeader.User.clear();
  RequestHeader.Password.clear();
}

void TnHTTP::Request(Kind kind, const std::string& url, const std::string& body,
                     const std::function<void()>& read_body) {
  const char* method = kind == Kind::Head ? "HEAD" : kind == Kind::Post ? "POST" : "GET";
  const std::string& start_text = kind == Kind::Head ? T().head : kind == Kind::Post ? T().post : T().get;
  const std::string& fail_text = kind == Kind::Head ? T().head_failed : kind == Kind::Post ? T().post_failed : T().get_failed;
  Status(1, [&] { return "nfo>" + url + start_text; });
  std::string current = url;
  try {
    for (int redirects = 0;; ++redirects) {
      bool done = true;
      try {
        SendRequest(current, method, body);
        ReadResponse();
        if (IsRedirect()) {
          if (kind != Kind::Head && AutoRedirect) done = false;
          else if (OnRedirect) OnRedirect(*this, done, Location);
        }
        if (done && read_body) read_body();
      } catch (...) {
        Disconnect();
        throw;
      }
      Disconnect();
      if (done) break;
      if (redirects >= kMaxRedirects) throw ELocalError("too many redirects");
      FollowRedirect(current, Location);
      current = Location;
      Status(1, [&] { return "nfo>" + current + T().redirecting; });
    }
  } catch (...) {
    Status(1, [&] { return "nfo>" + current + fail_text; });
    if (OnFailed) OnFailed();
    throw;
  }
  if (OnComplete) OnComplete();
}

void TnHTTP::Get(const std::string& url, std::string& data) {
  Request(Kind::Get, url, std::string(), [&] {
    TnStringStream sink(data, kMaxStringBytes);
    sink.SetPosition(static_cast<int64_t>(data.size()));
    ReadBody(sink);
  });
}

void TnHTTP::Get(const std::string& url, TnStream& sink) {
  Request(Kind::Get, url, std::string(), [&] { ReadBody(sink); });
}

void TnHTTP::GetFile(const std::string& url, const std::string& file_name) {
  Request(Kind::Get, url, std::string(), [&] {
    TnReplacingFileStream sink(file_name);
    ReadBody(sink);
    sink.Commit();
  });
}

void TnHTTP::Head(const std::string& url) { Request(Kind::Head, url, std::string(), nullptr); }

void TnHTTP::Post(const std::string& url, const std::string& body, TnStream& sink) {
  Request(Kind::Post, url, body, [&] { ReadBody(sink); });
}

void TnHTTP::Post(const std::string& url, const std::string& body, std::string& data) {
  Request(Kind::Post, url, body, [&] {
    TnStringStream sink(data, kMaxStringBytes);
    sink.SetPosition(static_cast<int64_t>(data.size()));
    ReadBody(sink);
  });
}

}  // namespace kestrin::script
