// The HTTPS client over the internet transport. Transport failures become ESocketError
// with the internet library's numbers ("socket error no.12045").
#include "script/objects/net/https.h"

#include "platform/net/internet_errors.h"
#include "script/core/script_string.h"
#include "script/objects/net/socket_errors.h"
#include "script/objects/net/status_texts.h"

namespace kestrin::script {
namespace {

constexpr uint32_t kPlainFlags = net::INTERNET_FLAG_RELOAD | net::INTERNET_FLAG_NO_AUTO_REDIRECT |
                                 net::INTERNET_FLAG_HYPERLINK | net::INTERNET_FLAG_NO_UI;
constexpr uint32_t kSecureFlags = net::INTERNET_FLAG_SECURE | net::INTERNET_FLAG_IGNORE_CERT_DATE_INVALID;

// Runs a transport call, its failure turned into ESocketError of the same number.
template <class F>
auto transport_call(F&& f) -> decltype(f()) {
  try {
    return f();
  } catch (const net::InternetError& e) {
    throw ESocketError(e.code());
  }
}

}  // namespace

TnHTTPS::~TnHTTPS() {
  if (Connected) Disconnect();
}

net::InternetTransport& TnHTTPS::Transport() {
  if (!transport_) transport_ = std::make_unique<net::InternetTransport>();
  return *transport_;
}

bool TnHTTPS::IsDisconnected(int) { return Disconnected; }

bool TnHTTPS::EndOfData() { return Disconnected; }

int TnHTTPS::Receive(void* buf, int len) { return ReadChunk(buf, len); }

void TnHTTPS::Cancel() {
  Status(4, [] { return "rtn>" + T().cancelling; });
  if (Connected) Disconnect();
  throw ESocketCancel();
}

void TnHTTPS::Connect() {
  if (Connected) Disconnect();
  transport_call([&] { Transport().open(Proxy); });
  Transport().setTimeouts(Timeout * 1000);
  for (int attempts = 1;; ++attempts) {
    Status(4, [&] { return "rtn>" + Host + T().connecting; });
    try {
      Transport().connect(Host, Port);
      break;
    } catch (const net::InternetError& e) {
      LastError = e.code();
      Status(2, [&] { return "err>" + Host + ":" + std::to_string(Port) + T().connect_failed; });
      bool retry = false;
      if (OnHostNotFound) OnHostNotFound(retry);
      if (OnConnectFailed) OnConnectFailed(*this);
      if (OnError) OnError(*this, e.code(), "connect error");
      if (!retry || attempts >= 5) throw ESocketError(e.code());
    }
  }
  Status(2, [&] { return "suc>" + Host + ":" + std::to_string(Port) + T().connect_succeeded; });
  Connected = true;
  if (OnConnect) OnConnect(*this);
}

void TnHTTPS::Disconnect() {
  if (Connected) Status(2, [&] { return "nfo>" + Host + T().disconnecting; });
  if (transport_) transport_->close();
  Connected = false;
  if (OnDisconnect) OnDisconnect(*this);
}

void TnHTTPS::SendRequest(const std::string& url, const std::string& method_in, const std::string& body) {
  std::string method = method_in;
  const TUrlInfo info = PrepareRequest(url, method, body);
  const std::string path = RequestPath(info);
  const bool secure = info.Protocol == "https";
  Host = info.Host;
  Port = PortNumber(info.Port, secure ? 443 : 80);
  Connect();
  Status(2, [] { return "rtn>" + T().sending_request; });
  SendCommand(method + " " + path + " HTTP/" + Version, true);
  std::string header_text;
  for (const std::string& line : RequestHeader.WriteTo()) {
    SendCommand(line, true);
    header_text += line + "\r\n";
  }
  RequestFlags = kPlainFlags | (secure ? kSecureFlags : 0);
  transport_call([&] {
    Transport().openRequest(method, path, Version, RequestFlags);
    Transport().send(header_text, HasRequestBody(method, body) ? std::string_view(body) : std::string_view());
  });
}

void TnHTTPS::ReadResponse() {
  StartResponse();
  const std::string raw = transport_call([&] { return Transport().rawHeaders(); });
  size_t pos = 0;
  while (pos < raw.size()) {
    size_t end = raw.find("\r\n", pos);
    if (end == std::string::npos) end = raw.size();
    const std::string line = raw.substr(pos, end - pos);
    pos = end + 2;
    if (line.empty()) continue;
    Status(2, [&] { return "res>" + line; });
    ResponseText += line + "\r\n";
    ParseResponseLine(line);
  }
  LastReply = ResponseText;
  // The transport has framed the body already: read it until no more data comes.
  BodyFraming = net::HttpBodyDecoder(net::HttpBodyDecoder::Framing::UntilClose, 0);
  Disconnected = false;
  FinishResponse();
}

int TnHTTPS::ReadChunk(void* buf, int len) {
  Disconnected = true;
  size_t n = 0;
  try {
    n = Transport().read(static_cast<char*>(buf), static_cast<size_t>(std::max(len, 0)));
  } catch (const net::InternetError& e) {
    LastError = e.code();
    Status(2, [] { return std::string("err>socket error"); });
    if (OnError) OnError(*this, e.code(), e.what());
    throw ESocketError(e.code());
  }
  if (n > 0) {
    Disconnected = false;
    BytesRead += static_cast<int64_t>(n);
    BytesTotal += static_cast<int64_t>(n);
  }
  bool cancel = false;
  if (OnRead) OnRead(*this, static_cast<int>(n), cancel);
  if (cancel) throw ESocketError(0);
  return static_cast<int>(n);
}

void TnHTTPS::ReadChunksTo(TnStream& stream, int count) {
  while (count == -1 || count > 0) {
    const int want = count == -1 ? BufferSize : std::min(count, BufferSize);
    const int n = ReadChunk(Buffer(), want);
    if (n > 0) {
      stream.Write(Buffer(), n);
      if (count != -1) count -= n;
    }
    if (EndOfData()) break;
  }
}

void TnHTTPS::CaptureFile(const std::string& file_name) {
  TSafeFileStream file;
  file.Open(file_name, fmOpenWrite | fmShareDenyWrite, true);
  file.SetSize(0);
  TnFileStream stream(file);
  ReadChunksTo(stream, -1);
}

void TnHTTPS::CaptureStream(TnStream& stream, int count) {
  stream.SetPosition(stream.Size());
  ReadChunksTo(stream, count);
}

void TnHTTPS::Read(std::string& s, int count) {
  TnStringStream stream(s, kMaxStringBytes);
  stream.SetPosition(static_cast<int64_t>(s.size()));
  ReadChunksTo(stream, count);
}

void TnHTTPS::ReadString(std::string& s, int count) {
  s.clear();
  Read(s, count);
}

void TnHTTPS::ReadLn(std::string& s) {
  s.clear();
  char c = 0;
  while (ReadChunk(&c, 1) == 1 && c != '\n') {
    if (c == '\r') continue;
    if (s.size() >= kMaxLineBytes) throw ELocalError("line too long");
    s += c;
    if (EndOfData()) break;
  }
}

void TnHTTPS::SendCommand(const std::string& cmd, bool) {
  if (!TrimText(cmd).empty()) Status(2, [&] { return "cmd>" + cmd; });
}

}  // namespace kestrin::script
