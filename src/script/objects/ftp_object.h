// "FTP": the FTP client for scripts, and "FileProperty", one entry of its listings.
#pragma once

#include "script/builtins/builtin_props.h"
#include "script/objects/net/ftp_client.h"
#include "script/objects/socket_object.h"

namespace kestrin::script {

// One listing entry as a value: made by "list" and "nlist", never by a script.
class TJFtpFilePropertyObject : public TJObject {
public:
  TJFtpFilePropertyObject(BaseEngine* engine, const TFTPFileProperty& entry);
  PublishedProperties* Published() override { return &props_; }
  // The listing line the entry was made from.
  StrRef ToString(const Value*) override { return StrRef(entry_.Line); }
  const TFTPFileProperty& Entry() const { return entry_; }

private:
  TFTPFileProperty entry_;
  PropTable props_;
};

class TJFtpObject : public TJBaseSocketObject {
public:
  // new FTP([host [, port]]).
  TJFtpObject(BaseEngine* engine, const TJValueList* params);
  const ClassInfo& Class() const override;

  TnFTP& Client() const { return static_cast<TnFTP&>(Socket()); }
};

void RegisterFtpObject(class TJEngine& engine);

}  // namespace kestrin::script
