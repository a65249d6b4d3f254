// The tree view wrappers: own properties, methods, event hooks and the life of the node
// wrappers.
#include "script/gui/vcl_tree_view.h"

#include <string>

#include "base/cp932.h"
#include "platform/gui/tab_controls.h"
#include "platform/gui/tree_view.h"
#include "script/builtins/array_object.h"
#include "script/builtins/number_object.h"
#include "script/builtins/script_path.h"
#include "script/builtins/string_object.h"
#include "script/core/engine_base.h"
#include "script/core/factory.h"
#include "script/core/hash_table.h"
#include "script/core/published.h"
#include "script/core/value_list.h"
#include "script/gui/vcl_events.h"
#include "script/objects/object_support.h"

namespace kestrin::script {
namespace {

using kgui::TTreeNode;

std::string NativeText(const Value& v) { return cp932_to_utf8(ValueToStdString(v)); }
Value ScriptText(const std::string& utf8) { return Value::String(StrRef(utf8_to_cp932(utf8))); }

// A node argument: a bound node wrapper, or null (nil); anything else is an arguments error.
TTreeNode* NodeArg(TJVCLPersistent& w, const TJValueList& params, int32_t i) {
  const Value v = params.GetCount() > i ? params.GetValue(i) : Value();
  if (ValueIsNullOrUndefined(v)) return nullptr;
  auto* node = dynamic_cast<TJVCLBaseTreeNode*>(v.object());
  if (!node || !node->HasVCL()) w.RaiseArgumentsError();
  return static_cast<TTreeNode*>(node->VCL());
}

// The script's name order of texts, for AlphaSort without onCompare.
int LocaleTextOrder(std::string_view a, std::string_view b) {
  return LocaleCompare(utf8_to_cp932(a), utf8_to_cp932(b));
}

// The view wrapper a weak link names, while it is bound to its view.
TJVCLBaseTreeView* LiveView(const WeakPtr<TJObject>& link) {
  auto* view = static_cast<TJVCLBaseTreeView*>(link.get());
  return view && view->HasVCL() ? view : nullptr;
}

// ---- event bridges ----

TJVCLBaseTreeView& ViewOf(TJVCLPersistent& self) { return static_cast<TJVCLBaseTreeView&>(self); }

kgui::TTVChangedEvent NodeBridge(TJVCLBaseTreeView& w, const char* event) {
  return [weak = WeakOf(w), event](kgui::TComponent* sender, TTreeNode* node) {
    FireVCLEvent(weak, event, sender, [&](TJVCLPersistent& self, TJValueList& p) {
      p.Add(ViewOf(self).WrapNode(node), true);
    }, NoBack);
  };
}

// allow* is a Boolean object.
kgui::TTVChangingEvent NodeVetoBridge(TJVCLBaseTreeView& w, const char* event) {
  return [weak = WeakOf(w), event](kgui::TComponent* sender, TTreeNode* node, bool& allow) {
    FireVCLEvent(weak, event, sender, [&](TJVCLPersistent& self, TJValueList& p) {
      p.Add(ViewOf(self).WrapNode(node), true);
      AddBoolRef(self, p, allow);
    }, [&](TJValueList& p) {
      BackBool(p, 2, allow);
    });
  };
}

// text* is a String object holding the new text.
kgui::TTVEditedEvent EditedBridge(TJVCLBaseTreeView& w, const char* event) {
  return [weak = WeakOf(w), event](kgui::TComponent* sender, TTreeNode* node, std::string& text) {
    FireVCLEvent(weak, event, sender, [&](TJVCLPersistent& self, TJValueList& p) {
      p.Add(ViewOf(self).WrapNode(node), true);
      p.Add(NewHostObject<TJStringObject>(self.Engine(), StrRef(utf8_to_cp932(text))), true);
    }, [&](TJValueList& p) {
      if (auto* s = dynamic_cast<TJStringObject*>(p.GetValue(2).object())) text = cp932_to_utf8(s->Text().view());
    });
  };
}

// compare* is a Number object; its sign is the order.
kgui::TTVCompareEvent CompareBridge(TJVCLBaseTreeView& w, const char* event) {
  return [weak = WeakOf(w), event](kgui::TComponent* sender, TTreeNode* a, TTreeNode* b, int data, int& compare) {
    FireVCLEvent(weak, event, sender, [&](TJVCLPersistent& self, TJValueList& p) {
      p.Add(ViewOf(self).WrapNode(a), true);
      p.Add(ViewOf(self).WrapNode(b), true);
      p.AddInteger(data);
      p.Add(NewHostObject<TJNumberObject>(self.Engine(), Value::Integer(compare)), true);
    }, [&](TJValueList& p) {
      if (auto* n = dynamic_cast<TJNumberObject*>(p.GetValue(4).object())) {
        const double d = ValueToNumber(n->Held());
        compare = d < 0 ? -1 : d > 0 ? 1 : 0;
      }
    });
  };
}

// The deletion hook: "onDeletion" while a handler is there (not while the view itself is
// being destroyed), then the node's wrapper lets go of it.
void NodeGone(const WeakPtr<TJObject>& weak, TTreeNode* node) {
  if (!node->treeView()->closing())
    FireVCLEvent(weak, "onDeletion", node->treeView(), [&](TJVCLPersistent& self, TJValueList& p) {
      p.Add(ViewOf(self).WrapNode(node), true);
    }, NoBack);
  if (auto* w = static_cast<TJVCLBaseTreeNode*>(node->data())) w->Unlink();
}

// ---- node properties ----

TJVCLBaseTreeNode& N(TJObject& self) { return static_cast<TJVCLBaseTreeNode&>(self); }
TTreeNode& NodeOf(TJObject& self) { return N(self).CheckNode(TJValueList()); }

template <bool (TTreeNode::*Get)() const>
Value GetFlag(TJObject& self) {
  return Value::Bool((NodeOf(self).*Get)());
}
template <void (TTreeNode::*Set)(bool)>
void SetFlag(TJObject& self, const Value& v) {
  TTreeNode& node = NodeOf(self);
  VCLGuard(N(self), [&] { (node.*Set)(ValueToBool(v)); });
}
template <int (TTreeNode::*Get)() const>
Value GetInt(TJObject& self) {
  return Value::Integer((NodeOf(self).*Get)());
}
template <void (TTreeNode::*Set)(int)>
void SetInt(TJObject& self, const Value& v) {
  (NodeOf(self).*Set)(ValueToInteger(v));
}

Value GetItemId(TJObject& self) { return Value::Integer(static_cast<int32_t>(NodeOf(self).itemId())); }
Value GetData(TJObject& self) {
  TJObject* data = N(self).data.get();
  return data ? Value::Object(data) : Value::Null();
}
void SetData(TJObject& self, const Value& v) {
  NodeOf(self);
  N(self).data = Ref<TJObject>(v.object());
}
Value GetText(TJObject& self) { return ScriptText(NodeOf(self).text()); }
void SetText(TJObject& self, const Value& v) {
  TTreeNode& node = NodeOf(self);
  VCLGuard(N(self), [&] { node.setText(NativeText(v)); });
}
Value GetNodeOwner(TJObject& self) {
  NodeOf(self);
  return Value::Object(N(self).View()->Nodes());
}
Value GetNodeParent(TJObject& self) {
  TTreeNode& node = NodeOf(self);
  return N(self).View()->WrapNode(node.parent());
}
Value GetNodeTreeView(TJObject& self) {
  NodeOf(self);
  return Value::Object(N(self).View());
}
Value GetAbsoluteIndex(TJObject& self) { return Value::Integer(NodeOf(self).absoluteIndex()); }

constexpr PropDef kNodeProps[] = {
    {"AbsoluteIndex", GetAbsoluteIndex, nullptr},
    {"Count", GetInt<&TTreeNode::count>, nullptr},
    {"Cut", GetFlag<&TTreeNode::cut>, SetFlag<&TTreeNode::setCut>},
    {"DropTarget", GetFlag<&TTreeNode::dropTarget>, SetFlag<&TTreeNode::setDropTarget>},
    {"Focused", GetFlag<&TTreeNode::focused>, SetFlag<&TTreeNode::setFocused>},
    {"Selected", GetFlag<&TTreeNode::selected>, SetFlag<&TTreeNode::setSelected>},
    {"Expanded", GetFlag<&TTreeNode::expanded>, SetFlag<&TTreeNode::setExpanded>},
    {"HasChildren", GetFlag<&TTreeNode::hasChildren>, SetFlag<&TTreeNode::setHasChildren>},
    {"Data", GetData, SetData},
    {"Deleting", GetFlag<&TTreeNode::deleting>, nullptr},
    {"ImageIndex", GetInt<&TTreeNode::imageIndex>, SetInt<&TTreeNode::setImageIndex>},
    {"SelectedIndex", GetInt<&TTreeNode::selectedIndex>, SetInt<&TTreeNode::setSelectedIndex>},
    {"OverlayIndex", GetInt<&TTreeNode::overlayIndex>, SetInt<&TTreeNode::setOverlayIndex>},
    {"StateIndex", GetInt<&TTreeNode::stateIndex>, SetInt<&TTreeNode::setStateIndex>},
    {"Index", GetInt<&TTreeNode::index>, nullptr},
    {"IsVisible", GetFlag<&TTreeNode::isVisible>, nullptr},
    {"ItemId", GetItemId, nullptr},
    {"Level", GetInt<&TTreeNode::level>, nullptr},
    {"Owner", GetNodeOwner, nullptr},
    {"Parent", GetNodeParent, nullptr},
    {"Text", GetText, SetText},
    {"TreeView", GetNodeTreeView, nullptr},
};

// ---- node methods ----

// Runs op on the method's node inside the guard; the result is the wrapper itself.
template <class Op>
void OnNode(TJObject& self, TJValueList& params, Value& result, int32_t min_count, Op op) {
  TTreeNode& node = N(self).CheckNode(params, min_count);
  Ref<TJObject> hold(&self);
  VCLGuard(N(self), [&] { op(node); });
  result = Value::Object(&self);
}

void TNAlphaSort(TJObject& self, TJValueList& params, Value& result) {
  bool sorted = false;
  OnNode(self, params, result, 0, [&](TTreeNode& n) { sorted = n.alphaSort(false); });
  result = Value::Bool(sorted);
}
void TNCollapse(TJObject& self, TJValueList& params, Value& result) {
  OnNode(self, params, result, 1, [&](TTreeNode& n) { n.collapse(ValueToBool(params.GetValue(0))); });
}
void TNExpand(TJObject& self, TJValueList& params, Value& result) {
  OnNode(self, params, result, 1, [&](TTreeNode& n) { n.expand(ValueToBool(params.GetValue(0))); });
}
void TNDelete(TJObject& self, TJValueList& params, Value& result) {
  OnNode(self, params, result, 0, [&](TTreeNode& n) { n.remove(); });
  result = Value();
}
void TNDeleteChildren(TJObject& self, TJValueList& params, Value& result) {
  OnNode(self, params, result, 0, [&](TTreeNode& n) { n.deleteChildren(); });
}
void TNDisplayRect(TJObject& self, TJValueList& params, Value& result) {
  kgui::TRect r{};
  OnNode(self, params, result, 1, [&](TTreeNode& n) { r = n.displayRect(ValueToBool(params.GetValue(0))); });
  result = NewRectValue(self.Engine(), r);
}
void TNEditText(TJObject& self, TJValueList& params, Value& result) {
  bool editing = false;
  OnNode(self, params, result, 0, [&](TTreeNode& n) { editing = n.editText(); });
  result = Value::Bool(editing);
}
void TNEndEdit(TJObject& self, TJValueList& params, Value& result) {
  OnNode(self, params, result, 1, [&](TTreeNode& n) { n.endEdit(ValueToBool(params.GetValue(0))); });
}
void TNMakeVisible(TJObject& self, TJValueList& params, Value& result) {
  OnNode(self, params, result, 0, [&](TTreeNode& n) { n.makeVisible(); });
}

// The node methods that give another node of the tree.
template <TTreeNode* (TTreeNode::*Get)() const>
void TNNeighbour(TJObject& self, TJValueList& params, Value& result) {
  TTreeNode& node = N(self).CheckNode(params);
  result = N(self).View()->WrapNode((node.*Get)());
}
template <TTreeNode* (TTreeNode::*Get)(const TTreeNode*) const>
void TNChildOf(TJObject& self, TJValueList& params, Value& result) {
  TTreeNode& node = N(self).CheckNode(params, 1);
  result = N(self).View()->WrapNode((node.*Get)(NodeArg(N(self), params, 0)));
}
void TNHasAsParent(TJObject& self, TJValueList& params, Value& result) {
  TTreeNode& node = N(self).CheckNode(params, 1);
  result = Value::Bool(node.hasAsParent(NodeArg(N(self), params, 0)));
}
void TNIndexOf(TJObject& self, TJValueList& params, Value& result) {
  TTreeNode& node = N(self).CheckNode(params, 1);
  result = Value::Integer(node.indexOf(NodeArg(N(self), params, 0)));
}

void TNMoveTo(TJObject& self, TJValueList& params, Value& result) {
  TJVCLBaseTreeNode& w = N(self);
  w.CheckNode(params, 2);
  TTreeNode* destination = NodeArg(w, params, 0);
  const auto mode = ValueToEnumOrd(kgui::nodeAttachModeType().idents, params.GetValue(1));
  if (!mode || *mode < kgui::naAdd || *mode > kgui::naInsert) w.RaiseArgumentsError();
  OnNode(self, params, result, 2,
         [&](TTreeNode& n) { n.moveTo(destination, static_cast<kgui::TNodeAttachMode>(*mode)); });
}

// Copies the source node into the target, which keeps its own wrapper and takes the
// source wrapper's Data.
void CopyNode(TJVCLBaseTreeNode& target_wrapper, TTreeNode& target, const Value& source_value) {
  auto* source = dynamic_cast<TJVCLBaseTreeNode*>(source_value.object());
  if (!source || !source->HasVCL()) target_wrapper.RaiseArgumentsError();
  void* own = target.data();
  VCLGuard(target_wrapper, [&] { target.assign(*static_cast<TTreeNode*>(source->VCL())); });
  target.setData(own);
  if (auto* w = static_cast<TJVCLBaseTreeNode*>(own)) w->data = source->data;
}

void TNItem(TJObject& self, TJValueList& params, Value& result) {
  TJVCLBaseTreeNode& w = N(self);
  TTreeNode& node = w.CheckNode(params, 1);
  TTreeNode* child = node.item(ValueToInteger(params.GetValue(0)));
  if (!child) w.RaiseArgumentsError();
  if (params.GetCount() < 2) {
    result = w.View()->WrapNode(child);
    return;
  }
  const Value source = params.GetValue(1);
  if (ValueIsNullOrUndefined(source)) {
    result = Value::Null();
    return;
  }
  w.View()->WrapNode(child);
  CopyNode(w, *child, source);
  result = source;
}

// ---- nodes ----

TJVCLBaseTreeNodes& NS(TJObject& self) { return static_cast<TJVCLBaseTreeNodes&>(self); }

kgui::TTreeNodes& NodesOf(TJVCLBaseTreeNodes& w, const TJValueList& params, int32_t min_count = 0) {
  w.CheckVCL(params, min_count);
  if (!w.View()) w.RaiseVCLError("vcl is null");
  return *static_cast<kgui::TTreeNodes*>(w.VCL());
}

Value GetNodesCount(TJObject& self) { return Value::Integer(NodesOf(NS(self), TJValueList()).count()); }
Value GetNodesOwner(TJObject& self) {
  NodesOf(NS(self), TJValueList());
  return Value::Object(NS(self).View());
}
constexpr PropDef kNodesProps[] = {{"Count", GetNodesCount, nullptr}, {"Owner", GetNodesOwner, nullptr}};

using Adder = TTreeNode* (kgui::TTreeNodes::*)(TTreeNode*, const std::string&);

// The adders: (node, text) or, for the "...Object" ones, (node, text, data); Data is set
// only when data is an object.
template <Adder Add, bool WithData>
void TNSAdd(TJObject& self, TJValueList& params, Value& result) {
  TJVCLBaseTreeNodes& w = NS(self);
  kgui::TTreeNodes& nodes = NodesOf(w, params, WithData ? 3 : 2);
  TTreeNode* at = NodeArg(w, params, 0);
  const std::string text = NativeText(params.GetValue(1));
  TTreeNode* node = nullptr;
  VCLGuard(w, [&] { node = (nodes.*Add)(at, text); });
  result = w.View()->WrapNode(node);
  if (WithData && params.GetValue(2).object())
    if (auto* nw = dynamic_cast<TJVCLBaseTreeNode*>(result.object())) nw->data = Ref<TJObject>(params.GetValue(2).object());
}

template <void (kgui::TTreeNodes::*Op)()>
void TNSCall(TJObject& self, TJValueList& params, Value& result) {
  TJVCLBaseTreeNodes& w = NS(self);
  kgui::TTreeNodes& nodes = NodesOf(w, params);
  Ref<TJObject> hold(&self);
  VCLGuard(w, [&] { (nodes.*Op)(); });
  result = Value::Object(&self);
}

// A node wrapper is deleted; null or any other value does nothing.
void TNSDelete(TJObject& self, TJValueList& params, Value& result) {
  TJVCLBaseTreeNodes& w = NS(self);
  kgui::TTreeNodes& nodes = NodesOf(w, params, 1);
  result = Value::Object(&self);
  auto* node = dynamic_cast<TJVCLBaseTreeNode*>(params.GetValue(0).object());
  if (!node || !node->HasVCL()) return;
  Ref<TJObject> hold(&self);
  VCLGuard(w, [&] { nodes.remove(static_cast<TTreeNode*>(node->VCL())); });
}

void TNSGetFirstNode(TJObject& self, TJValueList& params, Value& result) {
  kgui::TTreeNodes& nodes = NodesOf(NS(self), params);
  result = NS(self).View()->WrapNode(nodes.getFirstNode());
}

void TNSGetNode(TJObject& self, TJValueList& params, Value& result) {
  kgui::TTreeNodes& nodes = NodesOf(NS(self), params, 1);
  const double id = ValueToNumber(params.GetValue(0));
  TTreeNode* node = id >= 1 && id <= 0xFFFFFFFF ? nodes.getNode(static_cast<uint32_t>(id)) : nullptr;
  result = NS(self).View()->WrapNode(node);
}

void TNSItem(TJObject& self, TJValueList& params, Value& result) {
  TJVCLBaseTreeNodes& w = NS(self);
  kgui::TTreeNodes& nodes = NodesOf(w, params, 1);
  TTreeNode* node = nodes.item(ValueToInteger(params.GetValue(0)));
  if (!node) w.RaiseArgumentsError();
  result = w.View()->WrapNode(node);
}

// The nodes' "assign" changes nothing.
void TNSAssign(TJObject& self, TJValueList& params, Value& result) {
  NodesOf(NS(self), params, 1);
  result = Value();
}

// ---- tree view ----

TJVCLBaseTreeView& TV(TJObject& self) { return static_cast<TJVCLBaseTreeView&>(self); }
kgui::TTreeView& TreeOf(TJObject& self, const TJValueList& params, int32_t min_count = 0) {
  return NativeOfSelf<kgui::TTreeView>(TV(self), params, min_count);
}

Value GetItems(TJObject& self) {
  TreeOf(self, TJValueList());
  return Value::Object(TV(self).Nodes());
}

// A node role of the view: read as its wrapper, written with a node wrapper or null.
template <TTreeNode* (kgui::TTreeView::*Get)() const>
Value GetRole(TJObject& self) {
  return TV(self).WrapNode((TreeOf(self, TJValueList()).*Get)());
}
template <void (kgui::TTreeView::*Set)(TTreeNode*)>
void SetRole(TJObject& self, const Value& v) {
  kgui::TTreeView& tree = TreeOf(self, TJValueList());
  TJValueList one;
  one.Add(v);
  TTreeNode* node = NodeArg(TV(self), one, 0);
  Ref<TJObject> hold(&self);
  VCLGuard(TV(self), [&] { (tree.*Set)(node); });
}

constexpr PropDef kTreeViewProps[] = {
    {"Items", GetItems, nullptr},
    {"DropTarget", GetRole<&kgui::TTreeView::dropTarget>, SetRole<&kgui::TTreeView::setDropTarget>},
    {"Selected", GetRole<&kgui::TTreeView::selected>, SetRole<&kgui::TTreeView::setSelected>},
    {"TopItem", GetRole<&kgui::TTreeView::topItem>, SetRole<&kgui::TTreeView::setTopItem>},
};

template <class Op>
void OnTree(TJObject& self, TJValueList& params, Value& result, int32_t min_count, Op op) {
  kgui::TTreeView& tree = TreeOf(self, params, min_count);
  Ref<TJObject> hold(&self);
  VCLGuard(TV(self), [&] { op(tree); });
  result = Value::Object(&self);
}

void TVAlphaSort(TJObject& self, TJValueList& params, Value& result) {
  bool sorted = false;
  OnTree(self, params, result, 0, [&](kgui::TTreeView& t) { sorted = t.alphaSort(); });
  result = Value::Bool(sorted);
}
void TVFullCollapse(TJObject& self, TJValueList& params, Value& result) {
  OnTree(self, params, result, 0, [](kgui::TTreeView& t) { t.fullCollapse(); });
}
void TVFullExpand(TJObject& self, TJValueList& params, Value& result) {
  OnTree(self, params, result, 0, [](kgui::TTreeView& t) { t.fullExpand(); });
}
void TVGetHitTestInfoAt(TJObject& self, TJValueList& params, Value& result) {
  kgui::TTreeView& tree = TreeOf(self, params, 2);
  const uint32_t bits = tree.hitTestInfoAt(ValueToInteger(params.GetValue(0)), ValueToInteger(params.GetValue(1)));
  result = Value::String(StrRef(kgui::setToNames(kgui::hitTestType(), bits)));
}
void TVGetNodeAt(TJObject& self, TJValueList& params, Value& result) {
  kgui::TTreeView& tree = TreeOf(self, params, 2);
  result = TV(self).WrapNode(tree.getNodeAt(ValueToInteger(params.GetValue(0)), ValueToInteger(params.GetValue(1))));
}
void TVIsEditing(TJObject& self, TJValueList& params, Value& result) {
  result = Value::Bool(TreeOf(self, params).isEditing());
}
void TVLoadFromFile(TJObject& self, TJValueList& params, Value& result) {
  OnTree(self, params, result, 1,
         [&](kgui::TTreeView& t) { t.loadFromFile(ScriptPathToOs(ValueToStdString(params.GetValue(0)))); });
}
void TVSaveToFile(TJObject& self, TJValueList& params, Value& result) {
  OnTree(self, params, result, 1,
         [&](kgui::TTreeView& t) { t.saveToFile(ScriptPathToOs(ValueToStdString(params.GetValue(0)))); });
}

}  // namespace

// ---- TJVCLBaseTreeNode ----

TJVCLBaseTreeNode::TJVCLBaseTreeNode(BaseEngine* engine) : TJVCLPersistent(engine) {
  SetObjectName("VCLTreeNode");
  AddOwnProps(kNodeProps);
}

const ClassInfo& TJVCLBaseTreeNode::Class() const {
  static const ClassInfo info(
      &TJVCLPersistent::Class(),
      {{"alphaSort", TNAlphaSort}, {"collapse", TNCollapse}, {"delete", TNDelete},
       {"deleteChildren", TNDeleteChildren}, {"displayRect", TNDisplayRect}, {"editText", TNEditText},
       {"endEdit", TNEndEdit}, {"expand", TNExpand},
       {"getFirstChild", TNNeighbour<&TTreeNode::getFirstChild>},
       {"getLastChild", TNNeighbour<&TTreeNode::getLastChild>}, {"getNext", TNNeighbour<&TTreeNode::getNext>},
       {"getNextSibling", TNNeighbour<&TTreeNode::getNextSibling>},
       {"getNextVisible", TNNeighbour<&TTreeNode::getNextVisible>}, {"getPrev", TNNeighbour<&TTreeNode::getPrev>},
       {"getPrevSibling", TNNeighbour<&TTreeNode::getPrevSibling>},
       {"getPrevVisible", TNNeighbour<&TTreeNode::getPrevVisible>},
       {"getNextChild", TNChildOf<&TTreeNode::getNextChild>}, {"getPrevChild", TNChildOf<&TTreeNode::getPrevChild>},
       {"hasAsParent", TNHasAsParent}, {"indexOf", TNIndexOf}, {"makeVisible", TNMakeVisible},
       {"moveTo", TNMoveTo}, {"item", TNItem}});
  return info;
}

const kgui::ClassInfo& TJVCLBaseTreeNode::VCLClass() const { return TTreeNode::staticClassInfo(); }

kgui::TTreeNode& TJVCLBaseTreeNode::CheckNode(const TJValueList& params, int32_t min_count) {
  if (!vcl_) RaiseVCLError("VCL is null");
  if (!View()) RaiseVCLError("vcl is null");
  CheckVCL(params, min_count);
  return *static_cast<TTreeNode*>(vcl_);
}

TJVCLBaseTreeView* TJVCLBaseTreeNode::View() const { return LiveView(view_); }

void TJVCLBaseTreeNode::Link(TTreeNode* node, TJVCLBaseTreeView& view) {
  AttachVCL(node, false);
  view_ = WeakPtr<TJObject>(view.WeakHandle());
  node->setData(this);
  IncRef();
  linked_ = true;
}

void TJVCLBaseTreeNode::Unlink() { DetachVCL(); }

void TJVCLBaseTreeNode::DetachVCL() {
  if (auto* node = static_cast<TTreeNode*>(vcl_); node && node->data() == this) node->setData(nullptr);
  view_ = WeakPtr<TJObject>();
  data = Ref<TJObject>();
  TJVCLPersistent::DetachVCL();
  if (linked_) {
    linked_ = false;
    DecRef();  // may free this wrapper: nothing after it
  }
}

bool TJVCLBaseTreeNode::GetElement(const StrRef& key, Value& out) { return GetIndexedElement(*this, key, out); }

bool TJVCLBaseTreeNode::SetElement(const StrRef& key, const Value& v) {
  int32_t index = 0;
  if (!ElementIndex(key, index)) return false;
  TJValueList params;
  params.AddInteger(index);
  params.Add(v);
  Value result;
  TNItem(*this, params, result);
  return true;
}

int32_t TJVCLBaseTreeNode::GetCount() {
  auto* node = static_cast<TTreeNode*>(vcl_);
  return node ? node->count() : 0;
}

void TJVCLBaseTreeNode::GetItem(int32_t index, Value& out) {
  TTreeNode& node = CheckNode(TJValueList());
  if (TTreeNode* child = node.item(index)) out = View()->WrapNode(child);
}

// ---- TJVCLBaseTreeNodes ----

TJVCLBaseTreeNodes::TJVCLBaseTreeNodes(BaseEngine* engine) : TJVCLPersistent(engine) {
  SetObjectName("VCLTreeNodes");
  AddOwnProps(kNodesProps);
}

const ClassInfo& TJVCLBaseTreeNodes::Class() const {
  static const ClassInfo info(
      &TJVCLPersistent::Class(),
      {{"addChildFirst", TNSAdd<&kgui::TTreeNodes::addChildFirst, false>},
       {"addChild", TNSAdd<&kgui::TTreeNodes::addChild, false>},
       {"addChildObjectFirst", TNSAdd<&kgui::TTreeNodes::addChildFirst, true>},
       {"addChildObject", TNSAdd<&kgui::TTreeNodes::addChild, true>},
       {"addFirst", TNSAdd<&kgui::TTreeNodes::addFirst, false>}, {"add", TNSAdd<&kgui::TTreeNodes::add, false>},
       {"addObjectFirst", TNSAdd<&kgui::TTreeNodes::addFirst, true>},
       {"addObject", TNSAdd<&kgui::TTreeNodes::add, true>},
       {"beginUpdate", TNSCall<&kgui::TTreeNodes::beginUpdate>}, {"clear", TNSCall<&kgui::TTreeNodes::clear>},
       {"delete", TNSDelete}, {"endUpdate", TNSCall<&kgui::TTreeNodes::endUpdate>},
       {"getFirstNode", TNSGetFirstNode}, {"getNode", TNSGetNode},
       {"insert", TNSAdd<&kgui::TTreeNodes::insert, false>},
       {"insertObject", TNSAdd<&kgui::TTreeNodes::insert, true>}, {"item", TNSItem}, {"assign", TNSAssign}});
  return info;
}

const kgui::ClassInfo& TJVCLBaseTreeNodes::VCLClass() const { return kgui::TTreeNodes::staticClassInfo(); }

bool TJVCLBaseTreeNodes::GetElement(const StrRef& key, Value& out) { return GetIndexedElement(*this, key, out); }

int32_t TJVCLBaseTreeNodes::GetCount() {
  auto* nodes = static_cast<kgui::TTreeNodes*>(vcl_);
  return nodes && View() ? nodes->count() : 0;
}

void TJVCLBaseTreeNodes::GetItem(int32_t index, Value& out) {
  kgui::TTreeNodes& nodes = NodesOf(*this, TJValueList());
  if (TTreeNode* node = nodes.item(index)) out = View()->WrapNode(node);
}

TJVCLBaseTreeView* TJVCLBaseTreeNodes::View() const { return LiveView(view_); }

void TJVCLBaseTreeNodes::SetView(TJVCLBaseTreeView* view) {
  view_ = view ? WeakPtr<TJObject>(view->WeakHandle()) : WeakPtr<TJObject>();
}

// ---- TJVCLBaseTreeView ----

TJVCLBaseTreeView::TJVCLBaseTreeView(BaseEngine* engine) : TJVCLWinControl(engine) {
  SetObjectName("VCLTreeView");
  AddOwnProps(kTreeViewProps);
  auto* nodes = new TJVCLBaseTreeNodes(engine);
  if (engine) engine->Factory().Register(nodes);
  nodes_ = Ref<TJVCLBaseTreeNodes>(nodes);
}

TJVCLBaseTreeView::~TJVCLBaseTreeView() { ReleaseNodes(); }

const ClassInfo& TJVCLBaseTreeView::Class() const {
  static const ClassInfo info(&TJVCLWinControl::Class(),
                              {{"alphaSort", TVAlphaSort}, {"fullCollapse", TVFullCollapse},
                               {"fullExpand", TVFullExpand}, {"getHitTestInfoAt", TVGetHitTestInfoAt},
                               {"getNodeAt", TVGetNodeAt}, {"isEditing", TVIsEditing},
                               {"loadFromFile", TVLoadFromFile}, {"saveToFile", TVSaveToFile}});
  return info;
}

const kgui::ClassInfo& TJVCLBaseTreeView::VCLClass() const { return kgui::TTreeView::staticClassInfo(); }

kgui::TTreeView* TJVCLBaseTreeView::Tree() const { return static_cast<kgui::TTreeView*>(vcl_); }

void TJVCLBaseTreeView::AfterAttach() {
  HookControlEvents(*this, kEvClick | kEvDblClick | kEvMouse | kEvKeys | kEvFocus);
  kgui::TTreeView* tree = Tree();
  tree->OnChange = NodeBridge(*this, "onChange");
  tree->OnChanging = NodeVetoBridge(*this, "onChanging");
  tree->OnCollapsed = NodeBridge(*this, "onCollapsed");
  tree->OnCollapsing = NodeVetoBridge(*this, "onCollapsing");
  tree->OnCompare = CompareBridge(*this, "onCompare");
  tree->OnEdited = EditedBridge(*this, "onEdited");
  tree->OnEditing = NodeVetoBridge(*this, "onEditing");
  tree->OnExpanded = NodeBridge(*this, "onExpanded");
  tree->OnExpanding = NodeVetoBridge(*this, "onExpanding");
  tree->deletionHook = [weak = WeakOf(*this)](TTreeNode* node) { NodeGone(weak, node); };
  tree->setTextCompare(LocaleTextOrder);
  if (TJVCLBaseTreeNodes* nodes = nodes_.get()) {
    nodes->AttachVCL(tree->items(), false);
    nodes->SetView(this);
  }
}

// Letting go of the view lets go of every node wrapper of it too: the nodes may outlive
// this wrapper, and no node may point at a wrapper that stopped following it.
void TJVCLBaseTreeView::DetachVCL() {
  ReleaseNodes();
  TJVCLWinControl::DetachVCL();  // may free this wrapper: nothing after it
}

void TJVCLBaseTreeView::ReleaseNodes() {
  if (kgui::TTreeView* tree = Tree()) {
    tree->deletionHook = nullptr;
    for (TTreeNode* n = tree->items()->getFirstNode(); n; n = n->getNext())
      if (auto* w = static_cast<TJVCLBaseTreeNode*>(n->data())) w->Unlink();
  }
  if (TJVCLBaseTreeNodes* nodes = nodes_.get()) nodes->DetachVCL();
}

Value TJVCLBaseTreeView::WrapNode(TTreeNode* node) {
  if (!node) return Value::Null();
  if (auto* w = static_cast<TJVCLBaseTreeNode*>(node->data())) return Value::Object(w);
  auto* w = new TJVCLBaseTreeNode(Engine());
  Value v = Value::Object(w);
  if (Engine()) Engine()->Factory().Register(w);
  w->Link(node, *this);
  return v;
}

}  // namespace kestrin::script
