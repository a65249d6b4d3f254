// The script wrappers of the tool window family (tool bars with their buttons, cool bars;
// the up-down builds on it too) and of images. Buttons read through a tool bar are the
// caster's one wrapper of each button.
#pragma once

#include "script/gui/vcl_wrapper.h"

namespace kestrin::script {

// The common base of the tool window wrappers; no script constructor of its own.
class TJVCLToolWindow : public TJVCLWinControl {
public:
  explicit TJVCLToolWindow(BaseEngine* engine);
  const kgui::ClassInfo& VCLClass() const override;
};

// Tool bars are collections of their buttons: bar[i] is button i, null out of range.
class TJVCLBaseToolBar : public TJVCLToolWindow {
public:
  explicit TJVCLBaseToolBar(BaseEngine* engine);
  const ClassInfo& Class() const override;
  const kgui::ClassInfo& VCLClass() const override;
  bool GetElement(const StrRef& key, Value& out) override;
  bool IsCollection() override { return true; }
  int32_t GetCount() override;
  void GetItem(int32_t index, Value& out) override;

protected:
  void AfterAttach() override;
};

class TJVCLBaseToolButton : public TJVCLControl {
public:
  explicit TJVCLBaseToolButton(BaseEngine* engine);
  const kgui::ClassInfo& VCLClass() const override;

protected:
  void AfterAttach() override;
};

class TJVCLBaseCoolBar : public TJVCLToolWindow {
public:
  explicit TJVCLBaseCoolBar(BaseEngine* engine);
  const kgui::ClassInfo& VCLClass() const override;

protected:
  void AfterAttach() override;
};

// An image: "onProgress" (stage, percentDone, redrawNow, rect, msg) besides the mouse.
class TJVCLBaseImage : public TJVCLControl {
public:
  explicit TJVCLBaseImage(BaseEngine* engine);
  const kgui::ClassInfo& VCLClass() const override;

protected:
  void AfterAttach() override;
};

}  // namespace kestrin::script
