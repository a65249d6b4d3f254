// "URL": the parts of TUrlInfo as properties (with their aliases) and "expand".
#include "script/objects/url_object.h"

#include <string>

#include "base/convert.h"
#include "script/core/engine.h"
#include "script/core/error_table.h"
#include "script/core/value_list.h"
#include "script/objects/object_support.h"

namespace kestrin::script {
namespace {

TJURLInfoObject& UrlOf(TJObject& self) { return static_cast<TJURLInfoObject&>(self); }

TUrlInfo ParseOrRaise(const std::string& url) {
  try {
    return ParseURL(url);
  } catch (const ConversionError& e) {
    RaiseError(ScriptError::Convert, {e.what()});
  }
}

Value Text(const std::string& s) { return Value::String(StrRef(s)); }

// A part that only changes the URL text, and one that is a piece of the path.
template <std::string TUrlInfo::*Field>
Value GetPart(TJObject& self) {
  return Text(UrlOf(self).Info().*Field);
}
template <std::string TUrlInfo::*Field>
void SetPart(TJObject& self, const Value& v) {
  UrlOf(self).Parts().*Field = ValueToStdString(v);
  UrlOf(self).PartChanged();
}
template <std::string TUrlInfo::*Field>
void SetPathPiece(TJObject& self, const Value& v) {
  UrlOf(self).Parts().*Field = ValueToStdString(v);
  UrlOf(self).PathPieceChanged();
}

Value GetUrl(TJObject& self) { return Text(UrlOf(self).Info().Url); }
void SetUrl(TJObject& self, const Value& v) { UrlOf(self).Parse(ValueToStdString(v)); }

// host: the host name with ":" and the port when there is one; "h:p" sets both.
Value GetHost(TJObject& self) {
  const TUrlInfo& info = UrlOf(self).Info();
  return Text(info.Port.empty() ? info.Host : info.Host + ":" + info.Port);
}
void SetHost(TJObject& self, const Value& v) {
  const std::string text = ValueToStdString(v);
  TUrlInfo& info = UrlOf(self).Parts();
  const size_t colon = text.find(':');
  if (colon == std::string::npos) {
    info.Host = text;
  } else {
    info.Host = text.substr(0, colon);
    info.Port = text.substr(colon + 1);
  }
  UrlOf(self).PartChanged();
}

void SetUrlPath(TJObject& self, const Value& v) {
  UrlOf(self).Parts().Path = ValueToStdString(v);
  UrlOf(self).PathChanged();
}

constexpr PropDef kUrlProps[] = {
    {"url", GetUrl, SetUrl}, {"uri", GetUrl, SetUrl}, {"href", GetUrl, SetUrl},
    {"protocol", GetPart<&TUrlInfo::Protocol>, SetPart<&TUrlInfo::Protocol>},
    {"scheme", GetPart<&TUrlInfo::Protocol>, SetPart<&TUrlInfo::Protocol>},
    {"username", GetPart<&TUrlInfo::UserName>, SetPart<&TUrlInfo::UserName>},
    {"user", GetPart<&TUrlInfo::UserName>, SetPart<&TUrlInfo::UserName>},
    {"userid", GetPart<&TUrlInfo::UserName>, SetPart<&TUrlInfo::UserName>},
    {"password", GetPart<&TUrlInfo::Password>, SetPart<&TUrlInfo::Password>},
    {"pass", GetPart<&TUrlInfo::Password>, SetPart<&TUrlInfo::Password>},
    {"hostname", GetPart<&TUrlInfo::Host>, SetPart<&TUrlInfo::Host>},
    {"host", GetHost, SetHost},
    {"port", GetPart<&TUrlInfo::Port>, SetPart<&TUrlInfo::Port>},
    {"path", GetPart<&TUrlInfo::Path>, SetUrlPath},
    {"directory", GetPart<&TUrlInfo::Directory>, SetPathPiece<&TUrlInfo::Directory>},
    {"dir", GetPart<&TUrlInfo::Directory>, SetPathPiece<&TUrlInfo::Directory>},
    {"filename", GetPart<&TUrlInfo::FileName>, SetPathPiece<&TUrlInfo::FileName>},
    {"query", GetPart<&TUrlInfo::Query>, SetPathPiece<&TUrlInfo::Query>},
    {"search", GetPart<&TUrlInfo::Query>, SetPathPiece<&TUrlInfo::Query>}};

// expand([relative]): the absolute URL of relative against this one; this URL without it.
void UExpand(TJObject& self, TJValueList& params, Value& result) {
  const std::string& base = UrlOf(self).Info().Url;
  result = Text(params.GetCount() > 0 ? ResolveURL(base, ArgText(params, 0)) : base);
}

}  // namespace

TJURLInfoObject::TJURLInfoObject(BaseEngine* engine, const TJValueList* params)
    : TJObject(engine), props_(*this, kUrlProps) {
  SetObjectName("URL");
  if (params && params->GetCount() > 0) Parse(ArgText(*params, 0));
}

const ClassInfo& TJURLInfoObject::Class() const {
  static const ClassInfo info(&BaseClass(), {{"expand", UExpand}});
  return info;
}

void TJURLInfoObject::Parse(const std::string& url) { info_ = ParseOrRaise(url); }

void TJURLInfoObject::PartChanged() { info_.Url = BuildURL(info_); }

// The path names the directory, the file name and the query: they are read again from it.
void TJURLInfoObject::PathChanged() {
  if (info_.Path.empty() || info_.Path[0] != '/') info_.Path.insert(0, "/");
  const TUrlInfo pieces = ParseOrRaise((info_.Protocol.empty() ? std::string("http") : info_.Protocol) + "://host" + info_.Path);
  info_.Path = pieces.Path;
  info_.Directory = pieces.Directory;
  info_.FileName = pieces.FileName;
  info_.Query = pieces.Query;
  PartChanged();
}

void TJURLInfoObject::PathPieceChanged() {
  if (!info_.Query.empty() && info_.Query[0] != '?') info_.Query.insert(0, "?");
  info_.Path = info_.Directory + info_.FileName + info_.Query;
  PathChanged();
}

void RegisterURLObject(TJEngine& engine) {
  engine.RegisterObjectClass("URL", [](BaseEngine* e, TJValueList* p) -> TJObject* { return new TJURLInfoObject(e, p); });
}

}  // namespace kestrin::script
