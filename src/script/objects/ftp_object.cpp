// "FTP" and "FileProperty": commands, listings as Arrays of entries, and the outcome events.
#include "script/objects/ftp_object.h"

#include <string>
#include <vector>

#include "script/core/engine.h"
#include "script/core/factory.h"
#include "script/core/value_list.h"
#include "script/objects/net/socket_errors.h"
#include "script/objects/strings_object.h"

namespace kestrin::script {
namespace {

// ---- FileProperty ----

const TFTPFileProperty& EntryOf(TJObject& self) { return static_cast<TJFtpFilePropertyObject&>(self).Entry(); }

Value GetFileType(TJObject& self) {
  switch (EntryOf(self).Kind) {
    case TFTPFileProperty::kDirectory: return Value::String("d");
    case TFTPFileProperty::kFile: return Value::String("-");
    case TFTPFileProperty::kLink: return Value::String("l");
    default: return Value::String(StrRef());
  }
}
Value GetSize(TJObject& self) { return NumberValue(EntryOf(self).Size); }
Value GetName(TJObject& self) { return Value::String(StrRef(EntryOf(self).Name)); }
Value GetFtpLastModified(TJObject& self) {
  BaseEngine* engine = self.Engine();
  return engine ? engine->NewDate(EntryOf(self).Date) : Value();
}
Value GetAttribute(TJObject& self) { return Value::Integer(EntryOf(self).Mode()); }

constexpr PropDef kFilePropertyProps[] = {{"fileType", GetFileType, nullptr}, {"size", GetSize, nullptr},
    {"length", GetSize, nullptr}, {"name", GetName, nullptr}, {"lastModified", GetFtpLastModified, nullptr},
    {"attribute", GetAttribute, nullptr}};

// ---- FTP ----

TnFTP& FtpOf(TJObject& self) { return static_cast<TJFtpObject&>(self).Client(); }

Value GetCurrentDir(TJObject& self) { return Value::String(StrRef(FtpOf(self).CurrentDir)); }
Value GetFtpPassword(TJObject& self) { return Value::String(StrRef(FtpOf(self).Password)); }
void SetFtpPassword(TJObject& self, const Value& v) { FtpOf(self).Password = ValueToStdString(v); }
Value GetFtpUserId(TJObject& self) { return Value::String(StrRef(FtpOf(self).UserName)); }
void SetFtpUserId(TJObject& self, const Value& v) { FtpOf(self).UserName = ValueToStdString(v); }
Value GetPassive(TJObject& self) { return Value::Bool(FtpOf(self).Passive); }
void SetPassive(TJObject& self, const Value& v) { FtpOf(self).Passive = ValueToBool(v); }
Value GetFtpProxy(TJObject& self) { return Value::String(StrRef(FtpOf(self).Proxy)); }
void SetFtpProxy(TJObject& self, const Value& v) { FtpOf(self).Proxy = ValueToStdString(v); }
Value GetZero(TJObject&) { return Value::Integer(0); }

const std::vector<PropDef>& FtpProps() {
  static const std::vector<PropDef> props = TJBaseSocketObject::WithBaseProps({
      {"currentDir", GetCurrentDir, nullptr}, {"password", GetFtpPassword, SetFtpPassword},
      {"userid", GetFtpUserId, SetFtpUserId}, {"passiveMode", GetPassive, SetPassive}, {"proxy", GetFtpProxy, SetFtpProxy},
      {"host", GetSocketHost, SetSocketHost}, {"port", GetSocketPort, SetSocketPort}, {"length", GetZero, nullptr}});
  return props;
}

// A command with `needed` arguments under the error rule; missing arguments are its error.
template <class Body>
void Command(TJObject& self, TJValueList& params, Value& result, const char* method, int needed, Body&& body) {
  result = Value::Object(&self);
  const std::string message = "FTP." + std::string(method) + " error";
  if (params.GetCount() < needed) TJBaseSocketObject::RaiseSocketError(message);
  TJBaseSocketObject::Guard(message, [&] { body(FtpOf(self)); });
}

#define FTP_COMMAND(fn, method, needed, call)                          \
  void fn(TJObject& self, TJValueList& params, Value& result) {        \
    Command(self, params, result, method, needed, [&](TnFTP& c) { call; }); \
  }

FTP_COMMAND(FConnect, "connect", 0, c.Connect())
FTP_COMMAND(FDisconnect, "disconnect", 0, c.Disconnect())
FTP_COMMAND(FAbort, "abort", 0, c.Abort())
FTP_COMMAND(FChangeDir, "changeDir", 1, c.ChangeDir(ArgText(params, 0)))
FTP_COMMAND(FDelete, "delete", 1, c.Delete(ArgText(params, 0)))
FTP_COMMAND(FMakeDir, "makeDir", 1, c.MakeDir(ArgText(params, 0)))
FTP_COMMAND(FRemoveDir, "removeDir", 1, c.RemoveDir(ArgText(params, 0)))
FTP_COMMAND(FRename, "rename", 2, c.Rename(ArgText(params, 0), ArgText(params, 1)))
FTP_COMMAND(FReinitialize, "reinitialize", 0, c.Reinitialize())
FTP_COMMAND(FDownload, "download", 2, c.Download(ArgText(params, 0), ArgText(params, 1)))
FTP_COMMAND(FDownloadRestore, "downloadRestore", 2, c.DownloadRestore(ArgText(params, 0), ArgText(params, 1)))
FTP_COMMAND(FUpload, "upload", 2, c.Upload(ArgText(params, 0), ArgText(params, 1)))
FTP_COMMAND(FUploadAppend, "uploadAppend", 2, c.UploadAppend(ArgText(params, 0), ArgText(params, 1)))
FTP_COMMAND(FUploadUnique, "uploadUnique", 1, c.UploadUnique(ArgText(params, 0)))

#undef FTP_COMMAND

// uploadRestore(local, remote, offset): the rest of the file from offset on.
void FUploadRestore(TJObject& self, TJValueList& params, Value& result) {
  Command(self, params, result, "uploadRestore", 3, [&](TnFTP& c) {
    int64_t offset = 0;
    if (!ValueToInt64(params.GetValue(2), offset) || offset < 0) throw ELocalError("bad offset");
    c.UploadFrom(ArgText(params, 0), ArgText(params, 1), offset);
  });
}

// login([user [, password]]).
void FLogin(TJObject& self, TJValueList& params, Value& result) {
  Command(self, params, result, "login", 0, [&](TnFTP& c) {
    if (params.GetCount() > 0) c.UserName = ArgText(params, 0);
    if (params.GetCount() > 1) c.Password = ArgText(params, 1);
    c.Connect();
  });
}

void FPrintWorkDir(TJObject& self, TJValueList& params, Value& result) {
  Command(self, params, result, "printWorkDir", 0, [](TnFTP& c) { c.PrintWorkDir(); });
  result = Value::String(StrRef(FtpOf(self).CurrentDir));
}

// type("A"): ASCII, type("B"): type B, anything else: image.
void FType(TJObject& self, TJValueList& params, Value& result) {
  Command(self, params, result, "type", 1, [&](TnFTP& c) {
    const std::string type = ArgText(params, 0);
    const bool a = type == "A" || type == "a";
    const bool b = type == "B" || type == "b";
    c.SetTransferType(a ? 0 : b ? 2 : 1);
  });
}

// The entries of the last listing as a new Array of FileProperty objects.
Value ListingArray(TJObject& self) {
  BaseEngine* engine = self.Engine();
  if (!engine) return Value();
  const TFTPDirectoryList& list = FtpOf(self).DirectoryList;
  TJValueList items;
  for (size_t i = 0; i < list.Count(); ++i) {
    items.Add(NewHostObject<TJFtpFilePropertyObject>(engine, list.Items(i)));
  }
  return engine->NewArray(items);
}

void FList(TJObject& self, TJValueList& params, Value& result) {
  Command(self, params, result, "list", 0, [](TnFTP& c) { c.List(); });
  result = ListingArray(self);
}

void FNList(TJObject& self, TJValueList& params, Value& result) {
  Command(self, params, result, "nlist", 0, [](TnFTP& c) { c.NameList(); });
  result = ListingArray(self);
}

// findFiles(dir, mask [, recursive]): a new Strings object of the full paths found.
void FFindFiles(TJObject& self, TJValueList& params, Value& result) {
  std::vector<std::string> found;
  Command(self, params, result, "findFiles", 2, [&](TnFTP& c) {
    const bool recursive = params.GetCount() > 2 && ValueToBool(params.GetValue(2));
    c.FindFiles(ArgText(params, 0), ArgText(params, 1), recursive, found);
  });
  result = NewStringList(self.Engine(), found);
}

// command(line): the line on the control connection; its reply's last line.
void FCommand(TJObject& self, TJValueList& params, Value& result) {
  std::string last;
  Command(self, params, result, "command", 1, [&](TnFTP& c) { last = c.DoCommand(ArgText(params, 0)); });
  result = Value::String(StrRef(last));
}

}  // namespace

// ---- TJFtpFilePropertyObject ----

TJFtpFilePropertyObject::TJFtpFilePropertyObject(BaseEngine* engine, const TFTPFileProperty& entry)
    : TJObject(engine), entry_(entry), props_(*this, kFilePropertyProps) {
  SetObjectName("FileProperty");
}

// ---- TJFtpObject ----

TJFtpObject::TJFtpObject(BaseEngine* engine, const TJValueList* params) : TJBaseSocketObject(engine, FtpProps()) {
  SetObjectName("FTP");
  auto client = std::make_unique<TnFTP>(kObjectSocketBufferSize);
  TakeHostAndPort(*client, params);
  client->OnSuccess = [this](TnFTP&, TFTPCmdType type) { Fire("onSuccess", {Value::String(FTPCmdTypeName(type))}); };
  client->OnFailure = [this](TnFTP&, bool& handled, TFTPCmdType type) {
    handled = false;
    FireFlag("onFailure", handled, {}, {Value::String(FTPCmdTypeName(type))});
  };
  TnFTP* c = client.get();
  SetSocket(std::move(client), [c] {
    c->OnSuccess = nullptr;
    c->OnFailure = nullptr;
  });
  DefineEvents({"onStatus", "onConnect", "onDisconnect", "onError", "onFailure", "onRead", "onWrite", "onSuccess"});
}

const ClassInfo& TJFtpObject::Class() const {
  static const ClassInfo info(&BaseClass(), {{"connect", FConnect}, {"login", FLogin},
      {"disconnect", FDisconnect}, {"quit", FDisconnect}, {"abort", FAbort}, {"changeDir", FChangeDir},
      {"delete", FDelete}, {"makeDir", FMakeDir}, {"removeDir", FRemoveDir}, {"rename", FRename},
      {"reinitialize", FReinitialize}, {"printWorkDir", FPrintWorkDir}, {"type", FType}, {"list", FList},
      {"nlist", FNList}, {"findFiles", FFindFiles}, {"download", FDownload}, {"downloadRestore", FDownloadRestore}, {"upload", FUpload},
      {"uploadAppend", FUploadAppend}, {"uploadRestore", FUploadRestore}, {"uploadUnique", FUploadUnique},
      {"command", FCommand}});
  return info;
}

void RegisterFtpObject(TJEngine& engine) {
  engine.RegisterObjectClass("FTP", [](BaseEngine* e, TJValueList* p) -> TJObject* { return new TJFtpObject(e, p); });
}

}  // namespace kestrin::script
