// The script wrappers of list views: the list view, its item and column collections and one
// item. Each item of a list that is not owner data gets one wrapper when it is inserted; the
// wrapper carries the script's Data and is detached when the item leaves the list by any path,
// so a script that still holds it gets an error instead of a freed item.
#pragma once

#include <vector>

#include "script/core/weak.h"
#include "script/gui/vcl_wrapper.h"

namespace kgui {
class TListItem;
class TListView;
}  // namespace kgui

namespace kestrin::script {

class TJVCLBaseListView;

class TJVCLBaseListItem : public TJVCLPersistent {
public:
  explicit TJVCLBaseListItem(BaseEngine* engine);
  ~TJVCLBaseListItem() override;
  const ClassInfo& Class() const override;
  const kgui::ClassInfo& VCLClass() const override;
  // Once the item is gone its published properties raise "VCL is null" (Data reads null).
  bool GetValueImpl(const StrRef& name, Value& out, const Value* param) override;
  bool SetValueImpl(const StrRef& name, const Value& v, const Value* param) override;
  void DetachVCL() override;
  kgui::TListItem* Item() const;
  TJVCLBaseListView* ListView() const;
  // CheckVCL, then "vcl is null" once the list view's wrapper is gone.
  void CheckItem(const TJValueList& params, int32_t min_count = 0);

  Ref<TJObject> data;            // the script's Data
  WeakPtr<TJObject> list_view;  // the list view's wrapper
  bool list_counted = false;     // the list holds one count on a stored wrapper

protected:
  void AfterAttach() override;
};

class TJVCLBaseListItems : public TJVCLPersistent {
public:
  explicit TJVCLBaseListItems(BaseEngine* engine);
  const ClassInfo& Class() const override;
  const kgui::ClassInfo& VCLClass() const override;
  bool GetElement(const StrRef& key, Value& out) override;
  bool SetElement(const StrRef& key, const Value& v) override;
  bool IsCollection() override { return true; }
  int32_t GetCount() override;
  void GetItem(int32_t index, Value& out) override;
  TJVCLBaseListView* ListView() const;

  WeakPtr<TJObject> owner;  // the list view's wrapper
};

class TJVCLBaseListColumns : public TJVCLPersistent {
public:
  explicit TJVCLBaseListColumns(BaseEngine* engine);
  const ClassInfo& Class() const override;
  const kgui::ClassInfo& VCLClass() const override;
  bool GetElement(const StrRef& key, Value& out) override;
  bool IsCollection() override { return true; }
  int32_t GetCount() override;
  // A wrapper of column index; "arguments error" out of range.
  void GetItem(int32_t index, Value& out) override;
};

class TJVCLBaseListView : public TJVCLWinControl {
public:
  explicit TJVCLBaseListView(BaseEngine* engine);
  ~TJVCLBaseListView() override;
  const ClassInfo& Class() const override;
  const kgui::ClassInfo& VCLClass() const override;
  void DetachVCL() override;
  kgui::TListView* List() const;
  // The item's wrapper: the stored one, else (owner data) a new one; null for nil.
  Value WrapItem(kgui::TListItem* item);
  // Takes the item wrapper off its item and drops the list's count on it.
  void DetachItemWrapper(TJVCLBaseListItem& w);
  Value ItemsWrapper();
  Value ColumnsWrapper();

protected:
  void AfterAttach() override;

private:
  void ItemLifecycle(kgui::TListItem* item, bool inserted);
  void DetachHanded(kgui::TListItem* item);
  // Wrappers made for owner-data rows; they are detached with their item.
  std::vector<WeakPtr<TJObject>> handed_;
};

// The creating class: new VCLListView(parent).
class TJVCLListView : public TJVCLBaseListView {
public:
  using TJVCLBaseListView::TJVCLBaseListView;
};

}  // namespace kestrin::script
