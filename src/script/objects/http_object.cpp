// "HTTP", "HTTPS", "Request" and "Response": methods, properties and events.
#include "script/objects/http_object.h"

#include <string>
#include <utility>
#include <vector>

#include "script/core/engine.h"
#include "script/core/factory.h"
#include "script/core/value_list.h"
#include "script/objects/cookie_object.h"
#include "script/objects/net/https.h"
#include "script/objects/net/socket_errors.h"

namespace kestrin::script {
namespace {

// "name: value" and CR LF for each data member of a header object.
std::string HeaderLines(TJObject& headers) {
  std::vector<StrRef> names;
  headers.GetMemberNames(names, 0, KindBit(vtFunction));
  std::string lines;
  for (const StrRef& name : names) {
    lines += name.view();
    lines += ": ";
    lines += ValueToStdString(headers.GetValue(name));
    lines += "\r\n";
  }
  return lines;
}

// ---- Response ----

TJResponseObject& ResponseOf(TJObject& self) { return static_cast<TJResponseObject&>(self); }

Value GetCode(TJObject& self) { return Value::Integer(ResponseOf(self).code); }
Value GetHttpText(TJObject& self) { return Value::String(StrRef(ResponseOf(self).text)); }
Value GetResponseVersion(TJObject& self) { return Value::String(StrRef(ResponseOf(self).version)); }
Value GetCookie(TJObject& self) { return ResponseOf(self).Cookie(); }

constexpr PropDef kResponseProps[] = {{"code", GetCode, nullptr}, {"text", GetHttpText, nullptr},
    {"version", GetResponseVersion, nullptr}, {"cookie", GetCookie, nullptr}};

void RClear(TJObject& self, TJValueList&, Value& result) {
  ResponseOf(self).ClearResponse();
  result = Value::Object(&self);
}

// ---- HTTP ----

TJHTTPObject& HttpOf(TJObject& self) { return static_cast<TJHTTPObject&>(self); }

Value GetRequestHeader(TJObject& self) { return HttpOf(self).RequestHeader(); }
Value GetResponseHeader(TJObject& self) { return HttpOf(self).ResponseHeader(); }
Value GetVersion(TJObject& self) { return Value::String(StrRef(HttpOf(self).Client().Version)); }
void SetVersion(TJObject& self, const Value& v) { HttpOf(self).Client().Version = ValueToStdString(v); }
Value GetHttpLength(TJObject& self) { return NumberValue(HttpOf(self).Client().ContentLength); }
Value GetAutoRedirect(TJObject& self) { return Value::Bool(HttpOf(self).Client().AutoRedirect); }
void SetAutoRedirect(TJObject& self, const Value& v) { HttpOf(self).Client().AutoRedirect = ValueToBool(v); }
Value GetProxy(TJObject& self) { return Value::String(StrRef(HttpOf(self).Client().Proxy)); }
void SetProxy(TJObject& self, const Value& v) { HttpOf(self).Client().Proxy = ValueToStdString(v); }

const std::vector<PropDef>& HttpProps() {
  static const std::vector<PropDef> props = TJBaseSocketObject::WithBaseProps({
      {"requestHeader", GetRequestHeader, nullptr}, {"responseHeader", GetResponseHeader, nullptr},
      {"version", GetVersion, SetVersion}, {"length", GetHttpLength, nullptr},
      {"autoRedirect", GetAutoRedirect, SetAutoRedirect}, {"proxy", GetProxy, SetProxy}});
  return props;
}

std::string Message(std::string_view method) { return "HTTP." + std::string(method) + " error"; }

// One exchange under the error rule, framed by the header copies.
template <class Body>
void Exchange(TJObject& self, std::string_view method, Body&& body) {
  TJHTTPObject& http = HttpOf(self);
  TJBaseSocketObject::Guard(Message(method), [&] {
    http.CopyRequestHeader();
    try {
      body(http.Client());
    } catch (...) {
      http.RefreshResponseHeader();
      throw;
    }
    http.RefreshResponseHeader();
  });
}

// A method that reads or writes the connection as it stands.
template <class Body>
void OnConnection(TJObject& self, std::string_view method, Body&& body) {
  TJBaseSocketObject::Guard(Message(method), [&] { body(HttpOf(self).Client()); });
}

// get and post receive the body straight into the script string they return.
void HGet(TJObject& self, TJValueList& params, Value& result) {
  if (params.GetCount() < 1) return;
  TnScriptTextStream data;
  Exchange(self, "get", [&](TnHTTP& c) { c.Get(ArgText(params, 0), data); });
  result = Value::String(data.Take());
}

void HGetFile(TJObject& self, TJValueList& params, Value& result) {
  result = Value::Object(&self);
  if (params.GetCount() < 2) return;
  Exchange(self, "getFile", [&](TnHTTP& c) { c.GetFile(ArgText(params, 0), ArgText(params, 1)); });
}

void HPost(TJObject& self, TJValueList& params, Value& result) {
  if (params.GetCount() < 2) return;
  TnScriptTextStream data;
  Exchange(self, "post", [&](TnHTTP& c) { c.Post(ArgText(params, 0), ArgText(params, 1), data); });
  result = Value::String(data.Take());
}

void HHead(TJObject& self, TJValueList& params, Value& result) {
  result = Value::Object(&self);
  if (params.GetCount() < 1) return;
  Exchange(self, "head", [&](TnHTTP& c) { c.Head(ArgText(params, 0)); });
}

// request(method, url [, data]): the request line and headers (the script's too), no
// response yet.
void HRequest(TJObject& self, TJValueList& params, Value& result) {
  result = Value::Object(&self);
  if (params.GetCount() < 2) return;
  TJHTTPObject& http = HttpOf(self);
  TJBaseSocketObject::Guard(Message("request"), [&] {
    http.CopyRequestHeader();
    http.Client().SendRequest(ArgText(params, 1), ArgText(params, 0), ArgText(params, 2));
  });
}

void HResponse(TJObject& self, TJValueList&, Value& result) {
  result = Value::Object(&self);
  Exchange(self, "response", [](TnHTTP& c) { c.ReadResponse(); });
}

void HCapture(TJObject& self, TJValueList& params, Value& result) {
  result = Value::Object(&self);
  if (params.GetCount() < 1) return;
  OnConnection(self, "capture", [&](TnHTTP& c) { c.CaptureFile(ArgText(params, 0)); });
}

void HRead(TJObject& self, TJValueList& params, Value& result) {
  const int count = params.GetCount() > 0 ? ValueToInteger(params.GetValue(0)) : -1;
  std::string data;
  OnConnection(self, "read", [&](TnHTTP& c) { c.ReadString(data, count < 0 ? -1 : count); });
  result = Value::String(StrRef(data));
}

void HReadln(TJObject& self, TJValueList&, Value& result) {
  std::string line;
  OnConnection(self, "readln", [&](TnHTTP& c) { c.ReadLn(line); });
  result = Value::String(StrRef(line));
}

void Write(TJObject& self, TJValueList& params, Value& result, bool line) {
  result = Value::Object(&self);
  if (params.GetCount() < 1) return;
  OnConnection(self, line ? "writeln" : "write", [&](TnHTTP& c) {
    if (!HttpOf(self).CanWrite()) throw ELocalError("no writes on this connection");
    if (line) c.SendLine(ArgText(params, 0));
    else c.SendString(ArgText(params, 0));
  });
}
void HWrite(TJObject& self, TJValueList& params, Value& result) { Write(self, params, result, false); }
void HWriteln(TJObject& self, TJValueList& params, Value& result) { Write(self, params, result, true); }

void HConnect(TJObject& self, TJValueList&, Value& result) {
  result = Value::Object(&self);
  OnConnection(self, "connect", [](TnHTTP& c) { c.Connect(); });
}

void HDisconnect(TJObject& self, TJValueList&, Value& result) {
  result = Value::Object(&self);
  OnConnection(self, "disconnect", [](TnHTTP& c) { c.Disconnect(); });
}

}  // namespace

// ---- TJRequestObject ----

TJRequestObject::TJRequestObject(BaseEngine* engine) : TJObject(engine) { SetObjectName("Request"); }

StrRef TJRequestObject::ToString(const Value*) { return StrRef(HeaderLines(*this)); }

void TJRequestObject::CopyTo(TRequestHeader& headers) {
  headers.Reset();
  std::vector<StrRef> names;
  GetMemberNames(names, 0, KindBit(vtFunction));
  for (const StrRef& name : names) headers.SetHeader(std::string(name.view()), ValueToStdString(GetValue(name)));
}

// ---- TJResponseObject ----

TJResponseObject::TJResponseObject(BaseEngine* engine)
    : TJObject(engine), cookie_(NewHostObject<TJCookieObject>(engine)), props_(*this, kResponseProps) {
  SetObjectName("Response");
}

const ClassInfo& TJResponseObject::Class() const {
  static const ClassInfo info(&BaseClass(), {{"clear", RClear}});
  return info;
}

TJCookieObject* TJResponseObject::CookieObject() const { return static_cast<TJCookieObject*>(cookie_.object()); }

StrRef TJResponseObject::ToString(const Value*) {
  return StrRef("HTTP/" + version + " " + std::to_string(code) + " " + text + "\r\n" + HeaderLines(*this));
}

void TJResponseObject::Fill(const TnHTTP& client) {
  ClearDataMembers();
  const TResponseHeader& headers = client.ResponseHeader;
  for (const std::string& name : headers.Headers.Keys()) StoreMember(StrRef(name), Value::String(StrRef(headers.GetHeader(name))));
  code = client.ReplyCode;
  text = client.ReplyText;
  version = headers.Version;
  if (TJCookieObject* cookie = CookieObject()) cookie->Cookie().Assign(headers.Cookie);
}

void TJResponseObject::ClearResponse() {
  ClearDataMembers();
  code = 999;
  text.clear();
  version.clear();
  if (TJCookieObject* cookie = CookieObject()) cookie->Cookie().Clear();
}

// ---- TJHTTPObject ----

TJHTTPObject::TJHTTPObject(BaseEngine* engine, std::unique_ptr<TnHTTP> client, const char* name, bool tls)
    : TJBaseSocketObject(engine, HttpProps()), request_(NewHostObject<TJRequestObject>(engine)),
      response_(NewHostObject<TJResponseObject>(engine)), tls_(tls) {
  SetObjectName(name);
  client->OnBeforeRequest = [this](TnHTTP&, std::string&, std::string&, TRequestHeader&) { Fire("onRequest"); };
  client->OnResponseHeader = [this](TnHTTP&, const std::string&, const std::string&, const std::string&, std::string&,
                                    int&, TResponseHeader&) { Fire("onResponse"); };
  client->OnComplete = [this] { Fire("onSuccess"); };
  client->OnFailed = [this] { Fire("onFailure"); };
  TnHTTP* c = client.get();
  SetSocket(std::move(client), [c] {
    c->OnBeforeRequest = nullptr;
    c->OnResponseHeader = nullptr;
    c->OnComplete = nullptr;
    c->OnFailed = nullptr;
  });
  DefineEvents({"onStatus", "onRequest", "onConnect", "onDisconnect", "onError", "onFailure", "onRead", "onWrite",
                "onResponse", "onSuccess"});
}

const ClassInfo& TJHTTPObject::Class() const {
  static const ClassInfo info(&BaseClass(), {{"get", HGet}, {"getFile", HGetFile}, {"post", HPost},
      {"head", HHead}, {"request", HRequest}, {"response", HResponse}, {"capture", HCapture},
      {"read", HRead}, {"readln", HReadln}, {"write", HWrite}, {"writeln", HWriteln},
      {"connect", HConnect}, {"open", HConnect}, {"disconnect", HDisconnect}, {"close", HDisconnect}});
  return info;
}

void TJHTTPObject::OnKill() {
  TJBaseSocketObject::OnKill();
  request_ = Value();
  response_ = Value();
}

void TJHTTPObject::CopyRequestHeader() {
  if (auto* request = static_cast<TJRequestObject*>(request_.object())) request->CopyTo(Client().RequestHeader);
}

void TJHTTPObject::RefreshResponseHeader() {
  if (auto* response = static_cast<TJResponseObject*>(response_.object())) response->Fill(Client());
}

TJHTTPSObject::TJHTTPSObject(BaseEngine* engine)
    : TJHTTPObject(engine, std::make_unique<TnHTTPS>(kBufferSize), "HTTPS", true) {}

void RegisterHTTPObjects(TJEngine& engine) {
  engine.RegisterObjectClass("HTTP", [](BaseEngine* e, TJValueList*) -> TJObject* { return new TJHTTPObject(e); });
  engine.RegisterObjectClass("HTTPS", [](BaseEngine* e, TJValueList*) -> TJObject* { return new TJHTTPSObject(e); });
}

}  // namespace kestrin::script
