// "URL": one URL taken apart, its parts readable and writable under their usual names,
// and relative references resolved against it.
#pragma once

#include "script/builtins/builtin_props.h"
#include "script/core/object.h"
#include "script/objects/net/url_info.h"

namespace kestrin::script {

class TJURLInfoObject : public TJObject {
public:
  // new URL([url]).
  TJURLInfoObject(BaseEngine* engine, const TJValueList* params);
  const ClassInfo& Class() const override;
  PublishedProperties* Published() override { return &props_; }
  StrRef ToString(const Value*) override { return StrRef(info_.Url); }

  const TUrlInfo& Info() const { return info_; }
  // Parses `url` anew; a port that is not a number is an "EConvertError".
  void Parse(const std::string& url);
  // After one part changed: the URL text again, and the path's pieces from the path.
  void PartChanged();
  void PathChanged();
  void PathPieceChanged();
  TUrlInfo& Parts() { return info_; }

private:
  TUrlInfo info_;
  PropTable props_;
};

void RegisterURLObject(class TJEngine& engine);

}  // namespace kestrin::script
