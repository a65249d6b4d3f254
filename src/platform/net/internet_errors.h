// Failures of the HTTP transport, numbered as the Windows internet library numbers them
// (the scripts see "socket error no.12045" and the like).
#pragma once

#include <stdexcept>
#include <string>

namespace kestrin::net {

inline constexpr int ERROR_INSUFFICIENT_BUFFER = 122;  // header block over 65,535 bytes
inline constexpr int ERROR_INTERNET_TIMEOUT = 12002;
inline constexpr int ERROR_INTERNET_NAME_NOT_RESOLVED = 12007;
inline constexpr int ERROR_INTERNET_INCORRECT_HANDLE_STATE = 12019;
inline constexpr int ERROR_INTERNET_CANNOT_CONNECT = 12029;
inline constexpr int ERROR_INTERNET_CONNECTION_ABORTED = 12030;
inline constexpr int ERROR_INTERNET_CONNECTION_RESET = 12031;
inline constexpr int ERROR_INTERNET_SEC_CERT_CN_INVALID = 12038;
inline constexpr int ERROR_INTERNET_INVALID_CA = 12045;
inline constexpr int ERROR_HTTP_INVALID_SERVER_RESPONSE = 12152;
inline constexpr int ERROR_INTERNET_SECURITY_CHANNEL_ERROR = 12157;

class InternetError : public std::runtime_error {
public:
  InternetError(int code, const std::string& what) : std::runtime_error(what), code_(code) {}
  int code() const { return code_; }

private:
  int code_;
};

}  // namespace kestrin::net
