// Lazily started peers and the test resolver, installed by a global test environment.
#include "net_peers.h"

#include <arpa/inet.h>
#include <netinet/in.h>

#include <filesystem>
#include <fstream>

#include "platform/net/resolver.h"
#include "platform/net/wsa_errors.h"

namespace kestrin::test {
namespace {

std::string peer_python() { return "/usr/bin/python3"; }

class NetEnvironment : public ::testing::Environment {
public:
  void SetUp() override {
    net::SetResolver([](const std::string& host) -> net::Resolution {
      if (host == "kestrin.test" || host == "localhost") return {htonl(INADDR_LOOPBACK), 0};
      return {0, net::WSAHOST_NOT_FOUND};
    });
  }
  void TearDown() override { NetPeers::Get().StopAll(); }
};

const bool registered = (::testing::AddGlobalTestEnvironment(new NetEnvironment), true);

}  // namespace

std::string PatternBytes(size_t n) {
  std::string s(n, '\0');
  for (size_t i = 0; i < n; ++i) s[i] = static_cast<char>(i & 255);
  return s;
}

NetPeers& NetPeers::Get() {
  static NetPeers peers;
  return peers;
}

const std::string& NetPeers::FilesFolder() {
  if (files_.empty()) {
    std::string folder = (std::filesystem::temp_directory_path() / "kestrin-files-XXXXXX").string();
    if (!::mkdtemp(folder.data())) return files_;
    std::filesystem::create_directory(folder + "/dir");
    std::ofstream(folder + "/hello.txt", std::ios::binary) << "Hello, Kestrin!\n";
    std::ofstream(folder + "/dir/index.html", std::ios::binary) << "<html><body>index</body></html>\n";
    std::ofstream(folder + "/data.bin", std::ios::binary) << PatternBytes(100000);
    files_ = folder;
  }
  return files_;
}

PeerProcess* NetPeers::FileServer() {
  if (file_server_.running()) return &file_server_;
  const uint16_t port = FreeLoopbackPort();
  if (FilesFolder().empty() ||
      !file_server_.Start({peer_python(), "-m", "http.server", "--bind", "127.0.0.1", std::to_string(port),
                           "--directory", FilesFolder()},
                          port, &why_not))
    return nullptr;
  return &file_server_;
}

PeerProcess* NetPeers::Routes() {
  if (routes_.running()) return &routes_;
  if (!routes_.Start({peer_python(), std::string(KESTRIN_SOURCE_DIR) + "/tests/peers/http_routes.py"}, 0, &why_not))
    return nullptr;
  return &routes_;
}

PeerProcess* NetPeers::TlsRoutes(const std::string& certificate, const std::string& key) {
  for (int i = 0; i < 4; ++i)
    if (tls_[i].running() && tls_certificates_[i] == certificate) return &tls_[i];
  for (int i = 0; i < 4; ++i) {
    if (tls_[i].running()) continue;
    if (!tls_[i].Start({peer_python(), std::string(KESTRIN_SOURCE_DIR) + "/tests/peers/http_routes.py", "--cert",
                        certificate, "--key", key},
                       0, &why_not))
      return nullptr;
    tls_certificates_[i] = certificate;
    return &tls_[i];
  }
  return nullptr;
}

const TestCertificates& NetPeers::Certificates() {
  if (certificates_.folder.empty()) {
    certificates_ = TestCertificates::Make(KESTRIN_BINARY_DIR, &why_not);
    if (!certificates_.folder.empty()) ::setenv("SSL_CERT_FILE", certificates_.ca.c_str(), 1);
  }
  return certificates_;
}

void NetPeers::StopAll() {
  file_server_.Stop();
  routes_.Stop();
  for (PeerProcess& p : tls_) p.Stop();
  if (!files_.empty()) {
    std::error_code ec;
    std::filesystem::remove_all(files_, ec);
    files_.clear();
  }
}

}  // namespace kestrin::test
