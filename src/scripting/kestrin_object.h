// TKestrinObject: the script object "Kestrin" through which scripts drive the program. Its
// methods are the rows of the one method table (commands/kestrin_methods.h), registered in
// the table's order; it adds the read-only Date property `date`, the moment it was made.
#pragma once

#include <optional>
#include <string>

#include "script/builtins/builtin_props.h"
#include "script/builtins/date_object.h"
#include "script/core/object.h"

namespace kestrin::script {
class TJScriptHost;
}

namespace kestrin::scripting {

class TKestrinObject : public script::TJObject {
public:
  explicit TKestrinObject(script::BaseEngine* engine);
  const script::ClassInfo& Class() const override;
  script::PublishedProperties* Published() override { return &properties_; }

  // The Date object made with this object: not kept by the class factory, one count held
  // until this object is freed.
  script::TJDateObject* date() const { return date_.get(); }

  // The message of the first failure that was not a script error (a file that could not be
  // written, memory) raised by a method since the last call; the run that met it ended
  // with that error. The script window stops its run flow on one.
  static std::optional<std::string> TakeFailure();

private:
  script::Ref<script::TJDateObject> date_;
  script::PropTable properties_;
};

// The constructor of the class, for ImportObject.
script::TJObject* NewKestrinObject(script::BaseEngine* engine, script::TJValueList* params);

// Imports the class under "Kestrin" with a global instance: `Kestrin.AngleIntensity()`
// works without `new`, and "Kestrin = new Kestrin;" replaces that instance.
void ImportKestrin(script::TJScriptHost& host);

}  // namespace kestrin::scripting
