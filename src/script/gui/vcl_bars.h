// The script wrappers of the tabbed controls (tab controls, page controls and their tab
// sheets) and of status bars with their panels. Pages read through a page control are the
// caster's one wrapper of each sheet.
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

// A status bar; its `panels` is the one status-panels object of the wrapper.
class TJVCLBaseStatusBar : public TJVCLWinControl {
public:
  explicit TJVCLBaseStatusBar(BaseEngine* engine);
  const kgui::ClassInfo& VCLClass() const override;

protected:
  void AfterAttach() override;
};

// The panels of a status bar: panels[i] is a plain wrapper of panel i (null out of range);
// panels[i] = panel and items(i, panel) copy a panel into item i.
class TJVCLBaseStatusPanels : public TJVCLPersistent {
public:
  explicit TJVCLBaseStatusPanels(BaseEngine* engine);
  const ClassInfo& Class() const override;
  const kgui::ClassInfo& VCLClass() const override;
  bool GetElement(const StrRef& key, Value& out) override;
  bool SetElement(const StrRef& key, const Value& v) override;
  bool IsCollection() override { return true; }
  int32_t GetCount() override;
  void GetItem(int32_t index, Value& out) override;
  // Copies the panel of a panel wrapper into item index; false when either is missing.
  bool PutItem(int32_t index, const Value& v);
};

}  // namespace kestrin::script
