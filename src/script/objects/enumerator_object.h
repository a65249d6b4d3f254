// Enumerator: iterates an automation collection through the enumerator its _NewEnum
// returns; the interpreter's for-in uses it for such collections.
#pragma once

#include "script/core/dispatch.h"
#include "script/core/object.h"

namespace kestrin::script {

class TJEnumeratorObject : public TJObject, public ItemEnumerator {
public:
  // `enumerator` is a dispatch value whose object is an enumerator.
  TJEnumeratorObject(BaseEngine* engine, Value enumerator);
  const ClassInfo& Class() const override;
  // The property with the empty name is the current item.
  bool GetValueImpl(const StrRef& name, Value& out, const Value* param) override;
  void OnKill() override;

  bool AtEnd() const override { return at_end_; }
  Value GetCurrentItem() override;
  void MoveNext() override;
  void MoveFirst();

private:
  Value enumerator_;
  Variant current_;
  bool at_end_ = true;
};

// new Enumerator(collection): a dispatch value or an ActiveXObject whose _NewEnum gives an
// enumerator; anything else raises "EEnumeratorError". The first item is fetched.
TJObject* NewEnumeratorObject(BaseEngine* engine, TJValueList* params);

}  // namespace kestrin::script
