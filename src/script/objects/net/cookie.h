// TCookie: the cookies one HTTP response set, with one shared domain, path, expiry and
// secure flag, parsed from "Set-Cookie" values and written back as text.
#pragma once

#include <string>
#include <vector>

#include "script/core/hash_table.h"
#include "script/objects/net/http_date.h"

namespace kestrin::script {

class TCookie {
public:
  TCookie() { Clear(); }
  TCookie(const TCookie&) = delete;
  TCookie& operator=(const TCookie&) = delete;

  TStringHashTable Values{101, false};  // name -> value, names compared with case
  std::string Domain;
  std::string Path = "/";
  TDateTime Expires = 0;  // UTC day count (the script Date object's own); 0: no expiry
  bool Secure = false;    // written by ToString, never set by Parse

  // Empties the pairs, Domain and Expires; Path "/"; Secure stays.
  void Clear();
  void Assign(const TCookie& source);
  // Domain and Path from `url` (path with query), then each "name=value" piece of `text`:
  // expires, domain and path (any case) set the attributes, every other name a pair;
  // pieces without "=" (secure, HttpOnly) are ignored.
  void Parse(const std::string& url, const std::string& text);
  void Parse(const std::string& text) { Parse(std::string(), text); }

  std::string GetValue(const std::string& name) const { return Values.GetValue(name); }
  bool HasValue(const std::string& name) const { return Values.HasKey(name); }
  void SetValue(const std::string& name, const std::string& value) { Values.SetValue(name, value); }
  int Count() const { return static_cast<int>(Values.Count()); }
  std::vector<std::string> GetNames() const { return Values.Keys(); }
  // "a=1;b=2;" of the pairs with a value, in key order (a request's Cookie header).
  std::string GetValuesText() const;
  // "expires=...;domain=...;path=...;secure;a=1;" with the expiry in GMT.
  std::string ToString() const;
};

}  // namespace kestrin::script
