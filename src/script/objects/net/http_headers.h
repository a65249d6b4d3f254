// The header sets of an HTTP exchange: the request's (sent in the table's key order) and
// the response's (names in lower case, cookies collected apart).
#pragma once

#include <string>
#include <vector>

#include "script/core/hash_table.h"
#include "script/objects/net/cookie.h"

namespace kestrin::script {

class TRequestHeader {
public:
  TRequestHeader() { Reset(); }
  TRequestHeader(const TRequestHeader&) = delete;
  TRequestHeader& operator=(const TRequestHeader&) = delete;

  TStringHashTable Headers{13, true};
  std::string Password;
  std::string User;

  // Only "Accept: */*" and "Connection: close".
  void Reset();
  void SetAccept(const std::string& v) { SetHeader("Accept", v); }
  void SetAuthorization(const std::string& v) { SetHeader("Authorization", v); }
  void SetConnection(const std::string& v) { SetHeader("Connection", v); }
  void SetContentLength(const std::string& v) { SetHeader("Content-Length", v); }
  void SetContentType(const std::string& v) { SetHeader("Content-Type", v); }
  void SetHost(const std::string& v) { SetHeader("Host", v); }
  void SetHeader(const std::string& name, const std::string& value) { Headers.SetValue(name, value); }
  // "Authorization: Basic ..." of user:password, unless both are empty.
  void SetBasicAuth(const std::string& user, const std::string& password);
  // "Name: value" of every header with a value, in key order.
  std::vector<std::string> WriteTo() const;
};

class TResponseHeader {
public:
  TResponseHeader() = default;
  TResponseHeader(const TResponseHeader&) = delete;
  TResponseHeader& operator=(const TResponseHeader&) = delete;

  TStringHashTable Headers{13, true};
  TCookie Cookie;
  std::string Version;  // "1.1" of "HTTP/1.1"

  void Clear();
  std::string GetHeader(const std::string& name) const { return Headers.GetValue(name); }
  bool HasHeader(const std::string& name) const { return Headers.HasKey(name); }
  void SetHeader(const std::string& name, const std::string& value) { Headers.SetValue(name, value); }
};

}  // namespace kestrin::script
