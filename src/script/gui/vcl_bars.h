// The script wrappers of the tabbed controls: tab controls, page controls and their tab
// sheets. Pages read through a page control are the caster's one wrapper of each sheet.
#pragma once

#include "script/gui/vcl_wrapper.h"

namespace kestrin::script {

// A tab control; its `tabs` is a Strings object over the native tab list (for a page
// control a read-only view of the pages' captions).
class TJVCLBaseTabControl : public TJVCLWinControl {
public:
  explicit TJVCLBaseTabControl(BaseEngine* engine);
  const ClassInfo& Class() const override;
  const kgui::ClassInfo& VCLClass() const override;

protected:
  void AfterAttach() override;
};

// Page controls are collections of their pages: pc[i] is page i, undefined out of range.
class TJVCLBasePageControl : public TJVCLBaseTabControl {
public:
  explicit TJVCLBasePageControl(BaseEngine* engine);
  const ClassInfo& Class() const override;
  const kgui::ClassInfo& VCLClass() const override;
  bool GetElement(const StrRef& key, Value& out) override;
  bool IsCollection() override { return true; }
  int32_t GetCount() override;
  void GetItem(int32_t index, Value& out) override;
};

class TJVCLBaseTabSheet : public TJVCLWinControl {
public:
  explicit TJVCLBaseTabSheet(BaseEngine* engine);
  const kgui::ClassInfo& VCLClass() const override;

protected:
  void AfterAttach() override;
};

}  // namespace kestrin::script
