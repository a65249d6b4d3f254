// TTreeView with its TTreeNodes and TTreeNode: the nodes live in our own tree, shown through
// one item model by a QTreeView. Expanding, collapsing, selecting and editing ask their veto
// (OnExpanding, OnCollapsing, OnChanging, OnEditing) before Qt acts, whether the user or
// code asks; every node removed, by any path, goes through the deletion hook.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "base/text_compare.h"
#include "platform/gui/control.h"
#include "platform/gui/tree_text.h"

namespace kgui {

class TTreeNode;
class TTreeNodes;
class TTreeView;
class TreeModel;
class TreeWidget;
class StructureChange;

enum TNodeAttachMode { naAdd, naAddFirst, naAddChild, naAddChildFirst, naInsert };
const EnumInfo& nodeAttachModeType();

// Deeper trees are refused: Qt lays out an expanded chain by recursion, one frame per level
// (a chain of 30,000 levels overflows an 8 MB stack), and a script's own calls need room too.
constexpr int kMaxTreeDepth = 3000;

using TTVChangedEvent = std::function<void(TComponent* sender, TTreeNode* node)>;
using TTVChangingEvent = std::function<void(TComponent* sender, TTreeNode* node, bool& allow)>;
using TTVEditedEvent = std::function<void(TComponent* sender, TTreeNode* node, std::string& text)>;
using TTVCompareEvent =
    std::function<void(TComponent* sender, TTreeNode* node1, TTreeNode* node2, int data, int& compare)>;

class TTreeNode : public TPersistent {
public:
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }
  // Copies text, image indexes, HasChildren and the data pointer of another node.
  void assign(const TPersistent& source) override;

  TTreeNodes* owner() const { return &owner_; }
  TTreeView* treeView() const;
  const std::string& text() const { return text_; }
  void setText(const std::string& text);
  TTreeNode* parent() const;  // nil for top-level nodes
  int level() const { return level_; }
  int count() const { return static_cast<int>(children_.size()); }
  TTreeNode* item(int index) const;  // nil out of range
  int index() const;                 // among its siblings
  int absoluteIndex() const;
  // The node's number in the window-handle table, given on the first read: nodes that no
  // one asks for cost no entry there.
  uint32_t itemId() const;
  bool deleting() const { return deleting_; }

  TTreeNode* getFirstChild() const { return children_.empty() ? nullptr : children_.front(); }
  TTreeNode* getLastChild() const { return children_.empty() ? nullptr : children_.back(); }
  TTreeNode* getNextSibling() const;
  TTreeNode* getPrevSibling() const;
  TTreeNode* getNext() const;  // the next node in tree order
  TTreeNode* getPrev() const;
  TTreeNode* getNextVisible() const;
  TTreeNode* getPrevVisible() const;
  TTreeNode* getNextChild(const TTreeNode* child) const;
  TTreeNode* getPrevChild(const TTreeNode* child) const;
  bool hasAsParent(const TTreeNode* node) const;
  int indexOf(const TTreeNode* child) const;  // -1 when it is not a child
  bool isVisible() const;                     // every parent expanded

  bool expanded() const { return expanded_; }
  void setExpanded(bool e);
  // Each asks OnExpanding or OnCollapsing first, for each node (recurse: the whole branch).
  void expand(bool recurse);
  void collapse(bool recurse);
  bool hasChildren() const { return has_children_ || !children_.empty(); }
  void setHasChildren(bool h);
  bool cut() const { return cut_; }
  void setCut(bool c);
  bool dropTarget() const;
  void setDropTarget(bool d);
  bool focused() const { return focused_; }
  void setFocused(bool f);
  bool selected() const;
  void setSelected(bool s);  // asks OnChanging as a user's choice does
  int imageIndex() const { return image_index_; }
  void setImageIndex(int v) { image_index_ = v; }
  int selectedIndex() const { return selected_index_; }
  void setSelectedIndex(int v) { selected_index_ = v; }
  int overlayIndex() const { return overlay_index_; }
  void setOverlayIndex(int v) { overlay_index_ = v; }
  int stateIndex() const { return state_index_; }
  void setStateIndex(int v) { state_index_ = v; }
  // The user's pointer: the script wrapper of the node.
  void* data() const { return data_; }
  void setData(void* d) { data_ = d; }

  // Removes the node with its branch; the deletion hook runs for each of them.
  void remove();
  void deleteChildren();
  // Moves the node with its branch; "tree too deep" when the branch would pass the limit.
  void moveTo(TTreeNode* destination, TNodeAttachMode mode);
  // Sorts the children by the view's text order, which OnCompare may change (stable).
  bool alphaSort(bool recurse = false);
  void makeVisible();
  TRect displayRect(bool text_only) const;
  bool editText();
  void endEdit(bool cancel);

private:
  friend class TTreeNodes;
  friend class TreeModel;
  friend class TTreeView;
  explicit TTreeNode(TTreeNodes& owner) : owner_(owner) {}
  TTreeNodes& owner_;
  TTreeNode* parent_ = nullptr;  // the hidden root for top-level nodes
  std::vector<TTreeNode*> children_;
  std::string text_;
  void* data_ = nullptr;
  mutable uint32_t id_ = 0;  // 0 until itemId() gives one
  int level_ = 0;
  mutable int row_ = 0;                // index among its siblings, when the parent's rows are numbered
  mutable bool rows_stale_ = false;    // the children's row_ need numbering again
  int abs_ = 0;                        // absolute index, when the order is fresh
  int image_index_ = -1, selected_index_ = -1, overlay_index_ = -1, state_index_ = -1;
  bool expanded_ = false, has_children_ = false, cut_ = false, focused_ = false, deleting_ = false;
};

class TTreeNodes : public TPersistent {
public:
  explicit TTreeNodes(TTreeView& view);
  ~TTreeNodes() override;
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  TTreeView* owner() const { return &view_; }
  int count() const { return count_; }
  TTreeNode* item(int absolute_index) const;  // nil out of range
  TTreeNode* getFirstNode() const;
  // Nil for an id that names no node of this tree (none at all, a freed node, a control,
  // another tree's node).
  TTreeNode* getNode(uint32_t item_id) const;

  // The nodes freed while a watch lives. Code that runs handlers over nodes it took before
  // keeps their pointers and asks the watch for each, since a handler may free nodes; unlike
  // item ids this costs nothing per node.
  class Watch {
  public:
    explicit Watch(TTreeNodes& nodes);
    ~Watch();
    Watch(const Watch&) = delete;
    Watch& operator=(const Watch&) = delete;
    // The node, or nil when it was freed since the watch began.
    TTreeNode* live(TTreeNode* node) const { return node && !freed_.count(node) ? node : nullptr; }

  private:
    friend class TTreeNodes;
    TTreeNodes& nodes_;
    std::unordered_set<const TTreeNode*> freed_;
  };

  // The adders: nil as sibling or parent means the top level. Each raises "tree too deep"
  // past the depth limit and refuses a node that is being deleted.
  TTreeNode* add(TTreeNode* sibling, const std::string& text);
  TTreeNode* addFirst(TTreeNode* sibling, const std::string& text);
  TTreeNode* addChild(TTreeNode* parent, const std::string& text);
  TTreeNode* addChildFirst(TTreeNode* parent, const std::string& text);
  TTreeNode* insert(TTreeNode* sibling, const std::string& text);
  void remove(TTreeNode* node);
  void clear();
  // Between the two the view is not told node by node; it is reset at the end.
  void beginUpdate();
  void endUpdate();
  bool updating() const { return update_count_ > 0; }

  // Replaces every node by the lines (levels checked by the reader).
  void assignLines(const std::vector<TreeTextLine>& lines);
  // Every node in tree order with its level.
  std::vector<TreeTextLine> lines() const;

private:
  friend class TTreeNode;
  friend class TTreeView;
  friend class TreeModel;
  TTreeNode* attach(TTreeNode* parent, int row, const std::string& text);
  TTreeNode* newNode(TTreeNode* parent, const std::string& text);
  void detach(TTreeNode* node);
  void destroyBranch(TTreeNode* node);
  void freeNode(TTreeNode* node);
  void checkUsable(const TTreeNode* node) const;
  void numberRows(const TTreeNode* parent) const;
  void refreshOrder() const;
  void orderChanged() { order_stale_ = true; }

  TTreeView& view_;
  TTreeNode root_{*this};
  int count_ = 0;
  int update_count_ = 0;
  mutable std::vector<TTreeNode*> order_;
  mutable bool order_stale_ = false;
  // The nodes that hold an item id: the handle table names other objects too, so getNode
  // takes only what this set vouches for.
  std::unordered_set<const void*> with_ids_;
  std::vector<Watch*> watches_;
};

class TTreeView : public TWinControl {
public:
  explicit TTreeView(TComponent* owner);
  ~TTreeView() override;
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  TTreeNodes* items() const { return items_.get(); }
  TTreeNode* selected() const;
  void setSelected(TTreeNode* node);  // asks OnChanging
  TTreeNode* dropTarget() const { return drop_target_; }
  void setDropTarget(TTreeNode* node);
  TTreeNode* topItem() const;
  void setTopItem(TTreeNode* node);
  bool alphaSort();  // the whole tree
  void fullExpand();
  void fullCollapse();
  TTreeNode* getNodeAt(int x, int y) const;
  uint32_t hitTestInfoAt(int x, int y) const;  // THitTest bits
  bool isEditing() const;
  // The file's tree text replaces the nodes; nothing changes when it cannot be read.
  void loadFromFile(const std::string& path);
  void saveToFile(const std::string& path) const;

  bool readOnly() const { return read_only_; }
  void setReadOnly(bool r) { read_only_ = r; }
  bool showButtons() const;
  void setShowButtons(bool s);
  int indent() const;
  void setIndent(int v);
  // The text order of AlphaSort, where OnCompare starts.
  void setTextCompare(kestrin::TextCompare compare) { text_compare_ = compare; }

  TTVChangedEvent OnChange;
  TTVChangingEvent OnChanging;
  TTVChangingEvent OnExpanding;
  TTVChangedEvent OnExpanded;
  TTVChangingEvent OnCollapsing;
  TTVChangedEvent OnCollapsed;
  TTVChangingEvent OnEditing;
  TTVEditedEvent OnEdited;
  TTVCompareEvent OnCompare;
  TTVChangedEvent OnDeletion;

  // Told of every node that goes, after it left the tree and before it is freed, whatever
  // removed it (a delete, a clear, a load, the view's destruction); unlike OnDeletion it is
  // not a published event, so detaching a script wrapper does not clear it.
  std::function<void(TTreeNode*)> deletionHook;
  // True while the view is being destroyed: its nodes go without published events.
  bool closing() const { return closing_; }

protected:
  QWidget* mouseWidget() const override;
  void applyColor() override;

private:
  friend class TTreeNode;
  friend class TTreeNodes;
  friend class TreeWidget;
  friend class TreeSelection;
  friend class StructureChange;
  TreeWidget* view() const;
  bool ownNode(const TTreeNode* node) const;
  TreeModel* model() const { return model_; }
  bool askExpanding(TTreeNode* node, bool expand);
  void applyExpanded(TTreeNode* node);
  void selectionMoved();
  bool allowSelect(TTreeNode* node);
  void sortChildren(TTreeNode* parent);
  void nodeGone(TTreeNode* node);
  void runPendingChange();
  void reportChange();
  void checkChangeable() const;

  std::unique_ptr<TTreeNodes> items_;
  TreeModel* model_ = nullptr;
  TTreeNode* drop_target_ = nullptr;
  kestrin::TextCompare text_compare_ = nullptr;
  bool read_only_ = false;
  bool syncing_expand_ = false;
  bool sorting_ = false;
  bool closing_ = false;
  bool change_pending_ = false;
  uint32_t reported_ = 0;  // the item id of the node the last OnChange named
  int structure_depth_ = 0;  // > 0 while the model is being changed
  std::shared_ptr<char> alive_ = std::make_shared<char>(0);
};

}  // namespace kgui
