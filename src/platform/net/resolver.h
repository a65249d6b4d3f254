// Host-name resolution to one IPv4 address through a replaceable resolver, so that tests
// answer every lookup themselves and no query leaves the machine.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace kestrin::net {

// An IPv4 address in network byte order, or the socket error code of a failed lookup.
struct Resolution {
  uint32_t address = 0;
  int error = 0;
  bool ok() const { return error == 0; }
};

using ResolverFunction = std::function<Resolution(const std::string& host)>;

// The address of a numeric host text in the forms inet_aton accepts ("127.0.0.1",
// "127.1"), in network byte order.
std::optional<uint32_t> ParseNumericAddress(std::string_view host);
// A numeric address as it is, any other name through the installed resolver (by default
// getaddrinfo for IPv4 stream sockets, its failures mapped to WSAHOST_NOT_FOUND and the
// like).
Resolution ResolveHostName(const std::string& host);
// Installs `resolver` for every later lookup; an empty function restores the system's.
// Returns the one it replaces.
ResolverFunction SetResolver(ResolverFunction resolver);
// The name of this machine (gethostname).
std::string LocalHostName();
// "a.b.c.d" of an address in network byte order.
std::string DottedAddress(uint32_t address);

}  // namespace kestrin::net
