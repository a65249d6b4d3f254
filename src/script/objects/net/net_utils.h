// The network library's small helpers: addresses and their text, socket error names,
// wildcard matching, random and numbered names, and the string functions the protocol
// clients share.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/net/wsa_errors.h"

namespace kestrin::script {

using net::GetWSAErrorText;

// An IPv4 address in network byte order; kNoAddress when a lookup fails (it doubles as
// 255.255.255.255, as the platform's own inet_addr does).
inline constexpr uint32_t kNoAddress = 0xFFFFFFFF;

// A numeric address as it stands, else the resolver's first address; kNoAddress for an
// empty host or a failed lookup, with the socket error code in `error` when given.
uint32_t ResolveAddress(const std::string& host, int* error = nullptr);
// The four bytes in decimal, most significant first: "192.168.0.5".
std::string AddressToText(uint32_t address);
// The dotted local address of a connected socket; "0.0.0.0" when there is none.
std::string GetSocketLocalAddress(int sock);
// The first address of this machine's name; 127.0.0.1 when it does not resolve.
uint32_t GetLocalHostAddress();

// "?" matches one character (a two-byte character counts as one), "*" any run including
// none; with `ignore_case` ASCII letters compare without case.
bool MatchWildcard(std::string_view name, std::string_view mask, bool ignore_case);
// `length` letters drawn at random from a-z and A-Z (MIME boundaries).
std::string RandomString(int length);
// data.txt -> data_000.txt -> data_001.txt: the number after the base name's last "_"
// plus one, three digits at least; "_000" when there is no number.
std::string NextNumberedName(const std::string& file_name);
// Every CR, LF and TAB as a blank.
std::string ControlCharsToBlanks(std::string_view s);
std::string RemoveCommas(std::string_view s);
// `s` unchanged unless it starts with `quote`; then the quoted text with doubled quotes
// undoubled, up to the closing quote.
std::string Dequote(std::string_view s, char quote);
// A path holding "/" ends in "/", another non-empty path in "\"; an empty path becomes
// "/" unless `mode` is 1.
std::string IncludeTrailingSeparator(std::string_view path, int mode);
// Creates a new empty file in the temporary folder, named from the first three characters
// of `prefix`, and returns its path ("" when none could be made).
std::string MakeTempFileName(std::string_view prefix);
// A port text as a number: `fallback` when it is not a number (or empty), ELocalError
// "invalid port ..." when it lies outside 0..65535.
uint16_t PortFromText(const std::string& text, uint16_t fallback);
// The text without the bytes up to and including blank at either end (the platform's Trim).
std::string TrimText(std::string_view s);

}  // namespace kestrin::script
