// An in-process TCP server on 127.0.0.1 for byte-exact protocol transcripts: a thread
// accepts connections and plays a script of steps on each (send bytes, pause, read until a
// marker, send a piece again and again, hold the line, close), recording what the client sent.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

namespace kestrin::test {

// Added to a wait's own bound where a test checks that the wait ended: sanitizers and a
// loaded machine stretch every run, so the bound tells a wait that ended from one that did
// not, and the cause (time-out, length, abort) is asserted apart.
inline constexpr std::chrono::seconds kLoadSlack{5};

class ScriptedPeer {
public:
  ScriptedPeer();
  ~ScriptedPeer();
  ScriptedPeer(const ScriptedPeer&) = delete;
  ScriptedPeer& operator=(const ScriptedPeer&) = delete;

  // Steps, played in order on each connection; NextConnection starts the steps of the next
  // connection (the last list serves every connection after it).
  ScriptedPeer& NextConnection();
  ScriptedPeer& Send(std::string bytes);
  ScriptedPeer& Pause(int ms);
  // Reads until what the client sent on this connection contains `marker` (or it closes).
  ScriptedPeer& ReadUntil(std::string marker);
  // Sends `piece` again and again (with `pause_ms` between) until the client closes or
  // `max_bytes` went out.
  ScriptedPeer& SendRepeatedly(std::string piece, int pause_ms, size_t max_bytes);
  // Keeps the connection open without sending, reading what arrives, for `ms`.
  ScriptedPeer& Hold(int ms);
  // Resets the connection instead of closing it in order.
  ScriptedPeer& Reset();

  // Starts listening and serving `connections` connections, one after the other. After its
  // steps, each connection is closed once the client has closed or a second has passed.
  void Start(int connections = 1);
  // The same on `address` (a loopback address such as "127.0.0.2") and `port` (0: any
  // free one); false when that address and port cannot be bound.
  bool StartOn(const std::string& address, uint16_t port, int connections = 1);
  uint16_t port() const { return port_; }
  // Waits until every connection was served; then what each client sent.
  const std::vector<std::string>& Received();
  // How many connections were accepted.
  int accepted() const { return accepted_.load(); }

private:
  struct Step {
    enum Kind { SendBytes, PauseMs, ReadUntilMarker, SendRepeat, HoldMs, ResetLine } kind;
    std::string bytes;
    int ms = 0;
    size_t max_bytes = 0;
  };
  void Serve(int connections);
  void Play(const std::vector<Step>& steps, int fd, std::string& received);
  std::vector<Step>& steps() { return scripts_.back(); }

  std::vector<std::vector<Step>> scripts_{1};
  int listen_fd_ = -1;
  uint16_t port_ = 0;
  std::thread thread_;
  std::atomic<bool> stop_{false};
  std::atomic<int> accepted_{0};
  std::vector<std::string> received_;
};

}  // namespace kestrin::test
