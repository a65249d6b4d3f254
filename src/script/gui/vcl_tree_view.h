// The script wrappers of tree views: the view ("VCLTreeView"), its node collection and its
// nodes. A node has at most one wrapper, made on first use and kept in the node's data
// pointer with one count; it is detached when the node goes, by whatever path, and when
// the view's wrapper lets go of the view.
#pragma once

#include "script/gui/vcl_wrapper.h"

namespace kgui {
class TTreeNode;
class TTreeView;
}  // namespace kgui

namespace kestrin::script {

class TJVCLBaseTreeView;

class TJVCLBaseTreeNode : public TJVCLPersistent {
public:
  explicit TJVCLBaseTreeNode(BaseEngine* engine);
  const ClassInfo& Class() const override;
  const kgui::ClassInfo& VCLClass() const override;
  void DetachVCL() override;
  bool GetElement(const StrRef& key, Value& out) override;
  bool SetElement(const StrRef& key, const Value& v) override;
  bool IsCollection() override { return true; }
  int32_t GetCount() override;
  void GetItem(int32_t index, Value& out) override;

  // "VCL is null" without a node, "vcl is null" without the view's wrapper; then the
  // argument count.
  kgui::TTreeNode& CheckNode(const TJValueList& params, int32_t min_count = 0);
  TJVCLBaseTreeView* View() const;
  // Binds the wrapper to the node as its one wrapper, counted by the node.
  void Link(kgui::TTreeNode* node, TJVCLBaseTreeView& view);
  // The node went: the view link and Data are cleared and the node's count is dropped.
  void Unlink();
  Ref<TJObject> data;

private:
  WeakPtr<TJObject> view_;
  bool linked_ = false;
};

class TJVCLBaseTreeNodes : public TJVCLPersistent {
public:
  explicit TJVCLBaseTreeNodes(BaseEngine* engine);
  const ClassInfo& Class() const override;
  const kgui::ClassInfo& VCLClass() const override;
  bool GetElement(const StrRef& key, Value& out) override;
  bool IsCollection() override { return true; }
  int32_t GetCount() override;
  void GetItem(int32_t index, Value& out) override;
  TJVCLBaseTreeView* View() const;
  void SetView(TJVCLBaseTreeView* view);

private:
  WeakPtr<TJObject> view_;
};

class TJVCLBaseTreeView : public TJVCLWinControl {
public:
  explicit TJVCLBaseTreeView(BaseEngine* engine);
  ~TJVCLBaseTreeView() override;
  const ClassInfo& Class() const override;
  const kgui::ClassInfo& VCLClass() const override;
  void DetachVCL() override;
  kgui::TTreeView* Tree() const;
  TJVCLBaseTreeNodes* Nodes() const { return nodes_.get(); }
  // The node's one wrapper, made now when it has none; null for nil.
  Value WrapNode(kgui::TTreeNode* node);

protected:
  void AfterAttach() override;

private:
  void ReleaseNodes();
  Ref<TJVCLBaseTreeNodes> nodes_;
};

}  // namespace kestrin::script
