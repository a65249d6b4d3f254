// The scripted loopback peer. Every wait is bounded, so a test that goes wrong ends instead
// of hanging on its peer.
#include "support/scripted_peer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>

namespace kestrin::test {
namespace {

using Clock = std::chrono::steady_clock;

// Reads what is there (waiting up to `ms`); false when the client has closed.
bool read_some(int fd, std::string& received, int ms) {
  pollfd p{fd, POLLIN, 0};
  if (::poll(&p, 1, ms) <= 0) return true;
  char buf[65536];
  const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
  if (n <= 0) return false;
  received.append(buf, static_cast<size_t>(n));
  return true;
}

bool send_all(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    pollfd p{fd, POLLOUT, 0};
    if (::poll(&p, 1, 2000) <= 0) return false;
    const ssize_t n = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

ScriptedPeer::ScriptedPeer() = default;

ScriptedPeer::~ScriptedPeer() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
  if (listen_fd_ >= 0) ::close(listen_fd_);
}

ScriptedPeer& ScriptedPeer::NextConnection() {
  scripts_.emplace_back();
  return *this;
}
ScriptedPeer& ScriptedPeer::Send(std::string bytes) {
  steps().push_back({Step::SendBytes, std::move(bytes), 0, 0});
  return *this;
}
ScriptedPeer& ScriptedPeer::Pause(int ms) {
  steps().push_back({Step::PauseMs, {}, ms, 0});
  return *this;
}
ScriptedPeer& ScriptedPeer::ReadUntil(std::string marker) {
  steps().push_back({Step::ReadUntilMarker, std::move(marker), 0, 0});
  return *this;
}
ScriptedPeer& ScriptedPeer::SendRepeatedly(std::string piece, int pause_ms, size_t max_bytes) {
  steps().push_back({Step::SendRepeat, std::move(piece), pause_ms, max_bytes});
  return *this;
}
ScriptedPeer& ScriptedPeer::Hold(int ms) {
  steps().push_back({Step::HoldMs, {}, ms, 0});
  return *this;
}
ScriptedPeer& ScriptedPeer::Reset() {
  steps().push_back({Step::ResetLine, {}, 0, 0});
  return *this;
}

void ScriptedPeer::Start(int connections) { StartOn("127.0.0.1", 0, connections); }

bool ScriptedPeer::StartOn(const std::string& address, uint16_t port, int connections) {
  listen_fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in sa{};
  sa.sin_family = AF_INET;
  sa.sin_port = htons(port);
  if (::inet_pton(AF_INET, address.c_str(), &sa.sin_addr) != 1 ||
      ::bind(listen_fd_, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0) {
    ::close(listen_fd_);
    listen_fd_ = -1;
    return false;
  }
  ::listen(listen_fd_, 8);
  socklen_t len = sizeof sa;
  ::getsockname(listen_fd_, reinterpret_cast<sockaddr*>(&sa), &len);
  port_ = ntohs(sa.sin_port);
  received_.assign(static_cast<size_t>(connections), std::string());
  thread_ = std::thread([this, connections] { Serve(connections); });
  return true;
}

const std::vector<std::string>& ScriptedPeer::Received() {
  if (thread_.joinable()) thread_.join();
  return received_;
}

void ScriptedPeer::Serve(int connections) {
  for (int i = 0; i < connections && !stop_; ++i) {
    const auto give_up = Clock::now() + std::chrono::seconds(10);
    int fd = -1;
    while (fd < 0 && !stop_ && Clock::now() < give_up) {
      pollfd p{listen_fd_, POLLIN, 0};
      if (::poll(&p, 1, 50) > 0) fd = ::accept(listen_fd_, nullptr, nullptr);
    }
    if (fd < 0) return;
    ++accepted_;
    Play(scripts_[std::min(static_cast<size_t>(i), scripts_.size() - 1)], fd, received_[static_cast<size_t>(i)]);
  }
}

void ScriptedPeer::Play(const std::vector<Step>& steps, int fd, std::string& received) {
  bool open = true;
  bool reset = false;
  for (const Step& step : steps) {
    if (!open || stop_) break;
    switch (step.kind) {
      case Step::SendBytes:
        open = send_all(fd, step.bytes);
        break;
      case Step::PauseMs: {
        const auto until = Clock::now() + std::chrono::milliseconds(step.ms);
        while (open && !stop_ && Clock::now() < until) open = read_some(fd, received, 10);
        break;
      }
      case Step::ReadUntilMarker: {
        const auto until = Clock::now() + std::chrono::seconds(5);
        while (open && !stop_ && received.find(step.bytes) == std::string::npos && Clock::now() < until)
          open = read_some(fd, received, 50);
        break;
      }
      case Step::SendRepeat: {
        size_t sent = 0;
        while (open && !stop_ && sent < step.max_bytes) {
          open = send_all(fd, step.bytes) && read_some(fd, received, step.ms);
          sent += step.bytes.size();
        }
        break;
      }
      case Step::HoldMs: {
        const auto until = Clock::now() + std::chrono::milliseconds(step.ms);
        while (open && !stop_ && Clock::now() < until) open = read_some(fd, received, 20);
        break;
      }
      case Step::ResetLine:
        reset = true;
        open = false;
        break;
    }
  }
  if (reset) {
    linger hard{1, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
  } else {
    ::shutdown(fd, SHUT_WR);
    const auto until = Clock::now() + std::chrono::seconds(1);
    while (open && !stop_ && Clock::now() < until) open = read_some(fd, received, 20);
  }
  ::close(fd);
}

}  // namespace kestrin::test
