// TnSocket: construction, status lines, resolution and connection, listening and
// accepting, and the small queries. The transfers are in socket_io.cpp.
#include "script/objects/net/socket.h"

#include <poll.h>

#include <mutex>
#include <random>
#include <set>

#include "platform/net/wsa_errors.h"
#include "script/objects/net/socket_errors.h"
#include "script/objects/net/status_texts.h"

namespace kestrin::script {
namespace {

std::string num(int64_t n) { return std::to_string(n); }

// Handles returned by AcceptOn that no socket object has adopted yet.
struct AcceptedHandles {
  std::mutex lock;
  std::set<int> handles;
};

AcceptedHandles& accepted_handles() {
  static AcceptedHandles registry;
  return registry;
}

}  // namespace

TnSocket::TnSocket(int buffer_size) : BufferSize(buffer_size > 0 ? buffer_size : 1) { Initialize(); }

TnSocket::TnSocket(Accepted, int sock, int buffer_size) : BufferSize(buffer_size > 0 ? buffer_size : 1) {
  Timeout = 120;
  Socket = sock;
  net::PeerAddressOf(sock, RemoteSockAddr);
  RemoteAddress = RemoteSockAddr.address;
  Connected = true;
  buffer_.reset(new char[static_cast<size_t>(BufferSize)]);
}

TnSocket::~TnSocket() { Finalize(); }

void TnSocket::Initialize() {
  Socket = -1;
  RemoteAddress = kNoAddress;
  Connected = false;
  buffer_.reset(new char[static_cast<size_t>(BufferSize)]);
}

// A listener or a socket whose connect failed is not "connected", but its handle is still
// closed here, so no descriptor outlives its object.
void TnSocket::Finalize() {
  if (Connected) Disconnect();
  if (Socket != -1) net::CloseSocketHandle(Socket);
  buffer_.reset();
}

void TnSocket::DoStatus(const std::string& msg, int level) {
  if (level > StatusLevel || !OnStatus) return;
  try {
    OnStatus(*this, msg);
  } catch (...) {
    // A failing status handler must not break the transfer it reports on.
  }
}

void TnSocket::FireError(int code) {
  if (OnError) OnError(*this, code, GetWSAErrorText(code));
}

void TnSocket::ReportFailure(int code, const std::string& err_text) {
  LastError = code;
  Status(2, [&] { return "err>" + err_text; });
  Status(8, [&] { return "dbg>" + GetWSAErrorText(code); });
  FireError(code);
}

bool TnSocket::IsDisconnected(int sock) {
  if (sock == Socket) return Disconnected || SocketState(sock) != ssConnected;
  return SocketState(sock) != ssConnected;
}

void TnSocket::SetDisconnected(int sock, bool value) {
  if (sock == Socket) Disconnected = value;
}

int TnSocket::Poll() {
  int error = 0;
  short revents = 0;
  if (Socket == -1 || net::WaitFor(Socket, POLLIN | POLLOUT, 10, error, &revents) <= 0) return 0;
  int result = 0;
  if (revents & (POLLIN | POLLHUP)) result |= pollReadable;
  if (revents & POLLOUT) result |= pollWritable;
  if (revents & POLLERR) result |= pollError;
  if ((result & pollReadable) && OnReadReady) OnReadReady(*this);
  return result;
}

int TnSocket::Receive(void* buf, int len) { return RecvBuffer(Socket, buf, len); }

void TnSocket::Abort() { Cancel(); }

int TnSocket::Accept() { return AcceptOn(Socket); }

void TnSocket::Listen() {
  CloseSocket(Socket);
  Socket = CreateSocket();
  BindAndListen(Socket, Port);
  if (Port == 0) {
    net::SocketAddress local;
    if (net::LocalAddressOf(Socket, local) == 0) Port = local.port;
  }
  Listening = true;
}

void TnSocket::Cancel() {
  Cancelled = true;
  Status(4, [] { return "rtn>" + T().cancelling; });
  if (Connected) Disconnect();
  throw ESocketCancel();
}

void TnSocket::HandleNotConnected() {
  if (!Connected && OnNotConnected) {
    bool reconnect = false;
    OnNotConnected(reconnect);
    if (reconnect) {
      Connect();
      return;
    }
  }
  LastError = net::WSAENOTCONN;
  FireError(LastError);
  throw ETCPIPError("not connected", RemoteAddress);
}

void TnSocket::Connect() { ConnectHost(Host, Port); }

void TnSocket::Disconnect() {
  if (!Connected) return;
  Status(2, [&] { return "nfo>" + Host + ":" + num(ConnectedPort) + T().disconnecting; });
  CloseSocket(Socket);
  Socket = -1;
  RemoteAddress = kNoAddress;
  Connected = false;
  if (OnDisconnect) OnDisconnect(*this);
}

void TnSocket::GetLocalAddressText(std::string& s) {
  GetLocalAddress(s);
  for (char& c : s)
    if (c == '.') c = ',';
  s += ',';
}

void TnSocket::GetPortText(std::string& s) { s = num(Port / 256) + "," + num(Port % 256); }

void TnSocket::ConnectHost(const std::string& host, uint16_t port) {
  if (Connected) Disconnect();
  for (int lookups = 1;; ++lookups) {
    Status(4, [&] { return "rtn>" + host + T().searching; });
    int error = 0;
    RemoteAddress = ResolveAddress(host, &error);
    if (RemoteAddress != kNoAddress) break;
    LastError = error;
    Status(2, [&] { return "err>" + host + T().not_found; });
    bool retry = false;
    if (OnHostNotFound) OnHostNotFound(retry);
    FireError(LastError);
    if (!retry || lookups >= 5) throw ETCPIPError("not found " + host, RemoteAddress);
  }
  Status(2, [&] { return "suc>" + host + T().found; });
  if (OnHostFound) OnHostFound(*this);
  ConnectTo(Socket, port, RemoteAddress);
  if (Socket == -1) {
    FireError(LastError);
    throw ESocketError(LastError);
  }
  Connected = true;
  if (OnConnect) OnConnect(*this);
}

// A non-blocking connect waited for in one-second steps (OnIdle between them), so an
// unanswered SYN ends after Timeout seconds instead of the system's minutes.
void TnSocket::ConnectTo(int& sock, uint16_t port, uint32_t address) {
  CloseSocket(sock);
  sock = CreateSocket();
  RemoteSockAddr = {address, port};
  Status(4, [&] { return "rtn>" + Host + T().connecting; });
  int error = net::SetBlocking(sock, false);
  if (error == 0) error = net::StartConnect(sock, RemoteSockAddr);
  if (error == net::WSAEWOULDBLOCK) {
    switch (WaitReady(sock, POLLOUT, error)) {
      case WaitResult::Ready: error = net::FinishConnect(sock); break;
      case WaitResult::TimedOut: error = net::WSAETIMEDOUT; break;
      case WaitResult::Failed: break;
    }
  }
  if (error == 0) error = net::SetBlocking(sock, true);
  const auto where = [&] { return Host + "(" + AddressToText(address) + "):" + num(port); };
  if (error != 0) {
    LastError = error;
    Status(2, [&] { return "err>" + where() + T().connect_failed; });
    if (OnConnectFailed) OnConnectFailed(*this);
    FireError(error);
    throw ESocketError(error);
  }
  ConnectedPort = port;
  Status(2, [&] { return "suc>" + where() + T().connect_succeeded; });
}

int TnSocket::CreateSocket() {
  Status(4, [] { return "rtn>" + T().creating_socket; });
  int fd = -1;
  if (const int error = net::OpenStreamSocket(fd); error != 0) {
    ReportFailure(error, T().socket_failed);
    throw ESocketError(error);
  }
  Status(8, [&] { return "dbg>socket(" + num(fd) + ")" + T().created; });
  return fd;
}

void TnSocket::CloseSocket(int& sock) {
  if (sock == -1) return;
  Status(4, [&] { return "rtn>socket(" + num(sock) + ")" + T().closing; });
  net::CloseSocketHandle(sock);
}

int TnSocket::AcceptOn(int& sock) {
  Status(4, [] { return "rtn>" + T().accept_starting; });
  int error = 0;
  int accepted = -1;
  const WaitResult wait = WaitReady(sock, POLLIN, error);
  if (wait == WaitResult::TimedOut) TimedOut = true;
  if (wait == WaitResult::Ready) error = net::AcceptConnection(sock, accepted, RemoteSockAddr);
  if (wait != WaitResult::Ready || error != 0) {
    LastError = wait == WaitResult::TimedOut ? net::WSAETIMEDOUT : error;
    Status(2, [] { return "err>" + T().accept_failed; });
    return -1;
  }
  {
    AcceptedHandles& registry = accepted_handles();
    std::lock_guard<std::mutex> hold(registry.lock);
    registry.handles.insert(accepted);
  }
  Status(4, [] { return "suc>" + T().accept_succeeded; });
  Status(8, [&] { return "dbg>socket(" + num(accepted) + ")" + T().received_socket; });
  if (OnAccept) OnAccept(*this, accepted, RemoteSockAddr);
  return accepted;
}

bool TnSocket::ClaimAcceptedHandle(int sock) {
  AcceptedHandles& registry = accepted_handles();
  std::lock_guard<std::mutex> hold(registry.lock);
  return registry.handles.erase(sock) == 1;
}

// Random ports of the range until one binds; no free port is an EBindError, never a listen
// on a port the caller was not told.
void TnSocket::BindRange(int& sock, uint16_t low, uint16_t count, uint16_t& port, uint32_t address) {
  Status(4, [&] { return "rtn>port " + num(low) + T().range_tilde + num(low + count) + T().bind_range_start; });
  static std::mt19937 pick(std::random_device{}());
  int error = net::WSAEINVAL;
  for (int attempt = 0; attempt < count; ++attempt) {
    const int candidate = low + static_cast<int>(pick() % count);
    error = candidate > 65535 ? net::WSAEINVAL : net::BindTo(sock, static_cast<uint16_t>(candidate), address);
    if (error == 0) {
      port = static_cast<uint16_t>(candidate);
      Status(4, [&] { return "suc>port " + num(candidate) + T().bind_succeeded; });
      break;
    }
    Status(2, [&] { return "err>port " + num(candidate) + T().bind_failed; });
    Status(8, [&] { return "dbg>" + GetWSAErrorText(error); });
  }
  if (error != 0) {
    LastError = error;
    FireError(error);
    throw EBindError(GetWSAErrorText(error));
  }
  ListenAfterBind(sock);
}

void TnSocket::BindAndListen(int& sock, uint16_t port) {
  if (const int error = net::BindTo(sock, port); error != 0) {
    ReportFailure(error, "port " + num(port) + T().bind_failed);
    throw EBindError(GetWSAErrorText(error));
  }
  Status(4, [&] { return "suc>port " + num(port) + T().bind_succeeded; });
  ListenAfterBind(sock);
}

void TnSocket::ListenAfterBind(int& sock) {
  Status(4, [] { return "rtn>" + T().listen_starting; });
  if (const int error = net::ListenOn(sock, 5); error != 0) {
    ReportFailure(error, T().listen_failed);
    throw EBindError(GetWSAErrorText(error));
  }
  Status(4, [] { return "suc>" + T().listen_succeeded; });
}

bool TnSocket::IsConnected() { return Connected && SocketState(Socket) == ssConnected; }

void TnSocket::GetLocalAddress(std::string& s) {
  s = Connected ? GetSocketLocalAddress(Socket) : AddressToText(GetLocalHostAddress());
}

int TnSocket::SocketState(int sock) {
  if (sock == -1) return ssNoSocket;
  net::SocketAddress peer;
  const int error = net::PeerAddressOf(sock, peer);
  if (error == 0) return ssConnected;
  return error == net::WSAENOTCONN ? ssNotConnected : ssError;
}

}  // namespace kestrin::script
