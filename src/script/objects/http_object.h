// "HTTP" and "HTTPS": the HTTP clients for scripts, with the header objects they make:
// "Request" (members sent as request headers) and "Response" (status, headers, cookie).
#pragma once

#include <memory>
#include <string>

#include "script/builtins/builtin_props.h"
#include "script/core/object.h"
#include "script/objects/net/http.h"
#include "script/objects/socket_object.h"

namespace kestrin::script {

class TJCookieObject;

// A plain object whose members are request header names and values.
class TJRequestObject : public TJObject {
public:
  explicit TJRequestObject(BaseEngine* engine);
  // One "name: value" line per member.
  StrRef ToString(const Value*) override;
  // The client's headers back to their defaults, then every member as a string.
  void CopyTo(TRequestHeader& headers);
};

class TJResponseObject : public TJObject {
public:
  explicit TJResponseObject(BaseEngine* engine);
  const ClassInfo& Class() const override;
  PublishedProperties* Published() override { return &props_; }
  void OnKill() override { cookie_ = Value(); }
  // "HTTP/" version, code and text, then the header lines.
  StrRef ToString(const Value*) override;

  // The status line, the headers (as members) and the cookies of the client's last
  // response.
  void Fill(const TnHTTP& client);
  // No headers, code 999, no text, version or cookies.
  void ClearResponse();

  int code = 999;
  std::string text;
  std::string version;
  const Value& Cookie() const { return cookie_; }

private:
  TJCookieObject* CookieObject() const;
  Value cookie_;
  PropTable props_;
};

class TJHTTPObject : public TJBaseSocketObject {
public:
  explicit TJHTTPObject(BaseEngine* engine) : TJHTTPObject(engine, std::make_unique<TnHTTP>(kBufferSize), "HTTP", false) {}
  const ClassInfo& Class() const override;
  void OnKill() override;

  TnHTTP& Client() const { return static_cast<TnHTTP&>(Socket()); }
  const Value& RequestHeader() const { return request_; }
  const Value& ResponseHeader() const { return response_; }
  // HTTPS clients cannot write on the connection themselves.
  bool CanWrite() const { return !tls_; }

  // Around an exchange: the script's request headers into the client before, the
  // response's status, headers and cookies out after (after a failure too).
  void CopyRequestHeader();
  void RefreshResponseHeader();

  static constexpr int kBufferSize = 0x10000;

protected:
  TJHTTPObject(BaseEngine* engine, std::unique_ptr<TnHTTP> client, const char* name, bool tls);

private:
  Value request_;
  Value response_;
  bool tls_ = false;
};

class TJHTTPSObject : public TJHTTPObject {
public:
  explicit TJHTTPSObject(BaseEngine* engine);
};

void RegisterHTTPObjects(class TJEngine& engine);

}  // namespace kestrin::script
