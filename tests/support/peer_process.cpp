// Child peer processes, loopback port probes, memory figures and the test certificates.
#include "support/peer_process.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "support/temp_dir.h"

extern char** environ;

namespace kestrin::test {
namespace {

using Clock = std::chrono::steady_clock;

// The first line from `fd` within `ms`; "" when none came.
std::string read_line(int fd, int ms) {
  std::string line;
  const auto until = Clock::now() + std::chrono::milliseconds(ms);
  while (Clock::now() < until) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 50) <= 0) continue;
    char c;
    if (::read(fd, &c, 1) != 1) break;
    if (c == '\n') return line;
    line += c;
  }
  return line;
}

size_t status_field(const char* name) {
  std::ifstream in("/proc/self/status");
  std::string key;
  while (in >> key) {
    if (key == name) {
      size_t kb = 0;
      in >> kb;
      return kb * 1024;
    }
    in.ignore(1 << 12, '\n');
  }
  return 0;
}

bool run(const std::string& command) { return run_command(command + " >/dev/null 2>&1") == 0; }

}  // namespace

bool PortAccepts(uint16_t port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in sa{};
  sa.sin_family = AF_INET;
  sa.sin_port = htons(port);
  sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) == 0;
  ::close(fd);
  return ok;
}

uint16_t FreeLoopbackPort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in sa{};
  sa.sin_family = AF_INET;
  sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ::bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa);
  socklen_t len = sizeof sa;
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&sa), &len);
  ::close(fd);
  return ntohs(sa.sin_port);
}

size_t PeakRssBytes() { return status_field("VmHWM:"); }
size_t CurrentRssBytes() { return status_field("VmRSS:"); }

bool PeerProcess::Start(const std::vector<std::string>& argv, uint16_t port, std::string* error,
                        const std::string& folder) {
  Stop();
  auto fail = [&](const std::string& why) {
    if (error) *error = why;
    Stop();
    return false;
  };
  int out[2] = {-1, -1};
  if (::pipe2(out, O_CLOEXEC) != 0) return fail("no pipe");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (port == 0) posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  else posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  if (!folder.empty()) posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  const int rc = ::posix_spawn(&pid_, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(out[1]);
  if (rc != 0) {
    ::close(out[0]);
    pid_ = -1;
    return fail("cannot start " + argv[0]);
  }
  output_ = out[0];  // kept open: a peer that prints more must not die of a broken pipe
  if (port == 0) port = static_cast<uint16_t>(std::atoi(read_line(output_, 15000).c_str()));
  if (port == 0) return fail(argv[0] + " did not print its port");
  port_ = port;
  const auto until = Clock::now() + std::chrono::seconds(15);
  while (Clock::now() < until) {
    if (PortAccepts(port_)) return true;
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      return fail(argv[0] + " exited");
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return fail(argv[0] + " did not accept connections");
}

void PeerProcess::Stop() {
  if (output_ >= 0) ::close(output_);
  output_ = -1;
  if (pid_ <= 0) return;
  ::kill(pid_, SIGTERM);
  int status = 0;
  const auto until = Clock::now() + std::chrono::seconds(2);
  while (::waitpid(pid_, &status, WNOHANG) == 0) {
    if (Clock::now() > until) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, &status, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  pid_ = -1;
}

// Made in a fresh folder that is renamed into place when complete, so test processes
// running at the same time never see half a set.
TestCertificates TestCertificates::Make(const std::string& parent_folder, std::string* error) {
  TestCertificates c;
  const std::string folder = parent_folder + "/test-certificates";
  auto files = [&](const std::string& f) {
    c.folder = f;
    c.ca = f + "/ca.pem";
    c.server_key = f + "/server.key";
    c.valid = f + "/valid.pem";
    c.expired = f + "/expired.pem";
    c.wrong_name = f + "/wrong.pem";
    c.self_signed = f + "/self.pem";
    c.self_key = f + "/self.key";
  };
  files(folder);
  if (std::filesystem::exists(c.self_key)) return c;
  std::filesystem::create_directories(parent_folder);
  std::string work = parent_folder + "/certificates-XXXXXX";
  if (!::mkdtemp(work.data())) {
    if (error) *error = "cannot make a folder in " + parent_folder;
    return {};
  }
  const std::string w = work + "/";
  std::ofstream(w + "valid.ext") << "subjectAltName=IP:127.0.0.1,DNS:kestrin.test\n";
  std::ofstream(w + "wrong.ext") << "subjectAltName=DNS:wrong.example.test\n";
  const bool ok =
      run("openssl req -x509 -newkey rsa:2048 -nodes -keyout " + w + "ca.key -out " + w +
          "ca.pem -days 365 -subj '/CN=Kestrin Test CA' -addext basicConstraints=critical,CA:TRUE"
          " -addext keyUsage=critical,keyCertSign,cRLSign") &&
      run("openssl req -new -newkey rsa:2048 -nodes -keyout " + w + "server.key -out " + w +
          "server.csr -subj /CN=127.0.0.1") &&
      run("openssl x509 -req -in " + w + "server.csr -CA " + w + "ca.pem -CAkey " + w + "ca.key -CAcreateserial -days 365 -extfile " +
          w + "valid.ext -out " + w + "valid.pem") &&
      run("openssl x509 -req -in " + w + "server.csr -CA " + w + "ca.pem -CAkey " + w + "ca.key -CAcreateserial -days -1 -extfile " +
          w + "valid.ext -out " + w + "expired.pem") &&
      run("openssl x509 -req -in " + w + "server.csr -CA " + w + "ca.pem -CAkey " + w + "ca.key -CAcreateserial -days 365 -extfile " +
          w + "wrong.ext -out " + w + "wrong.pem") &&
      run("openssl req -x509 -newkey rsa:2048 -nodes -keyout " + w + "self.key -out " + w +
          "self.pem -days 365 -subj /CN=127.0.0.1 -addext subjectAltName=IP:127.0.0.1");
  std::error_code ec;
  if (!ok) {
    std::filesystem::remove_all(work, ec);
    if (error) *error = "the openssl command failed";
    return {};
  }
  if (::rename(work.c_str(), folder.c_str()) != 0) std::filesystem::remove_all(work, ec);  // another process won
  return c;
}

}  // namespace kestrin::test
