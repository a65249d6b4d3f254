// The resolver in use, behind a lock so a test may replace it at any time.
#include "platform/net/resolver.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <mutex>

#include "platform/net/wsa_errors.h"

namespace kestrin::net {
namespace {

Resolution system_resolve(const std::string& host) {
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* list = nullptr;
  const int rc = ::getaddrinfo(host.c_str(), nullptr, &hints, &list);
  if (rc != 0 || !list) return {0, rc != 0 ? WsaFromResolver(rc) : WSANO_DATA};
  const uint32_t address = reinterpret_cast<const sockaddr_in*>(list->ai_addr)->sin_addr.s_addr;
  ::freeaddrinfo(list);
  return {address, 0};
}

std::mutex& resolver_lock() {
  static std::mutex lock;
  return lock;
}

ResolverFunction& installed() {
  static ResolverFunction resolver;
  return resolver;
}

}  // namespace

std::optional<uint32_t> ParseNumericAddress(std::string_view host) {
  const std::string text(host);
  in_addr a{};
  if (text.empty() || ::inet_aton(text.c_str(), &a) == 0) return std::nullopt;
  return a.s_addr;
}

Resolution ResolveHostName(const std::string& host) {
  if (auto numeric = ParseNumericAddress(host)) return {*numeric, 0};
  ResolverFunction resolver;
  {
    std::lock_guard<std::mutex> hold(resolver_lock());
    resolver = installed();
  }
  return resolver ? resolver(host) : system_resolve(host);
}

ResolverFunction SetResolver(ResolverFunction resolver) {
  std::lock_guard<std::mutex> hold(resolver_lock());
  ResolverFunction old = std::move(installed());
  installed() = std::move(resolver);
  return old;
}

std::string LocalHostName() {
  char name[256] = {};
  if (::gethostname(name, sizeof name - 1) != 0) return std::string();
  return name;
}

std::string DottedAddress(uint32_t address) {
  const uint32_t h = ntohl(address);
  return std::to_string(h >> 24) + "." + std::to_string((h >> 16) & 255) + "." + std::to_string((h >> 8) & 255) +
         "." + std::to_string(h & 255);
}

}  // namespace kestrin::net
