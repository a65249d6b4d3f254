// Form descriptions to components and back: the whole tree is resolved against the class
// registry and the descriptors first (a plan), then components are created, filled,
// linked by reference and told loaded(), in creation order with the root last.
#include "platform/classes/form_stream.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <unordered_set>

#include "base/paths.h"
#include "platform/classes/strings.h"
#include "platform/classes/type_tables.h"

namespace kgui {

namespace {

struct LoadError {
  std::string message;
};

[[noreturn]] void fail(std::string message) { throw LoadError{std::move(message)}; }
[[noreturn]] void invalidValue() { fail("Invalid property value"); }

enum class Action { Set, Strings, Collection, Reference, Ignore };

struct PlannedProp {
  const FormProperty* src = nullptr;
  std::vector<const PropertyInfo*> chain;  // sub-object properties, then the property (none for Ignore)
  Action action = Action::Ignore;
  std::vector<std::vector<PlannedProp>> items;  // collection items
};

struct PlannedNode {
  const FormNode* node = nullptr;
  const StreamClass* cls = nullptr;  // nil for the root
  std::string name;
  std::vector<PlannedProp> props;
  std::vector<PlannedNode> children;
};

std::vector<std::string> splitPath(const std::string& path) {
  std::vector<std::string> out;
  size_t start = 0;
  for (size_t dot; (dot = path.find('.', start)) != std::string::npos; start = dot + 1)
    out.push_back(path.substr(start, dot - start));
  out.push_back(path.substr(start));
  return out;
}

bool isFormClass(const ClassInfo& cls) { return cls.inheritsFrom("TForm"); }

// Properties a form description may hold that the descriptors do not have: design-time
// values of the platform's designer.
bool ignoredPath(const ClassInfo& cls, const std::vector<std::string>& parts) {
  const std::string& last = parts.back();
  if (sameText(last, "DesignSize")) return true;
  if (parts.size() != 1 || cls.findProperty(last)) return false;
  if (sameText(last, "Left") || sameText(last, "Top")) return true;
  return isFormClass(cls) &&
         (sameText(last, "PixelsPerInch") || sameText(last, "TextHeight") || sameText(last, "OldCreateOrder"));
}

// Item blobs of list and tree views are written by the platform's designer only.
bool ignoredBinary(const ClassInfo& cls, const std::vector<std::string>& parts) {
  return sameText(parts.back(), "Data") && (cls.inheritsFrom("TListView") || cls.inheritsFrom("TTreeView"));
}

bool fitsInt32(int64_t v) { return v >= INT32_MIN && v <= static_cast<int64_t>(UINT32_MAX); }

// Whether the value is of a kind the property takes (references aside).
void checkKind(const PropertyInfo& prop, const FormValue& v) {
  using K = FormValue::Kind;
  bool ok = false;
  switch (prop.kind) {
    case PropKind::Integer:
      ok = (v.kind == K::Integer && fitsInt32(v.integer)) ||
           (v.kind == K::Ident && prop.ident_map && identToInt(*prop.ident_map, v.text));
      break;
    case PropKind::Char:
      ok = (v.kind == K::String && v.text.size() == 1) || (v.kind == K::Integer && v.integer >= 0 && v.integer <= 255);
      break;
    case PropKind::Enumeration: ok = v.kind == K::Ident && prop.type && textToEnum(*prop.type, v.text); break;
    case PropKind::Float: ok = v.kind == K::Float || v.kind == K::Integer; break;
    case PropKind::String: ok = v.kind == K::String; break;
    case PropKind::Set:
      ok = v.kind == K::Set && prop.type &&
           std::all_of(v.names.begin(), v.names.end(), [&](const std::string& n) {
             auto ord = textToEnum(*prop.type, n);
             return ord && *ord < 32;
           });
      break;
    case PropKind::Class:
    case PropKind::Method: ok = true; break;
  }
  if (!ok) invalidValue();
}

class Planner {
public:
  Planner(TComponent& root, const ClassRegistry& registry) : root_(root), registry_(registry) {
    for (int i = 0; i < root.componentCount(); ++i) names_.insert(kestrin::to_lower_ascii(root.components(i)->name()));
  }

  PlannedNode planRoot(const FormNode& tree) {
    PlannedNode plan;
    plan.node = &tree;
    plan.name = tree.name;
    checkName(plan.name, nullptr);
    root_name_ = plan.name;
    planBody(plan, root_.classInfo());
    checkReferences(plan);
    return plan;
  }

private:
  // Valid, and unique among the root's components: those it has and those this read makes.
  void checkName(const std::string& name, std::unordered_set<std::string>* taken) {
    if (name.empty()) return;
    if (!isValidIdent(name)) fail("'" + name + "' is not a valid component name");
    if (taken && !taken->insert(kestrin::to_lower_ascii(name)).second)
      fail("A component named " + name + " already exists");
  }

  void planBody(PlannedNode& plan, const ClassInfo& cls) {
    const bool is_root = plan.cls == nullptr;
    for (const FormProperty& p : plan.node->properties) {
      if (sameText(p.path, "Name")) {
        if (p.value.kind != FormValue::Kind::String) invalidValue();
        plan.name = p.value.text;
        if (is_root) checkName(plan.name, nullptr), root_name_ = plan.name;
        continue;  // the name goes with the component's creation
      }
      plan.props.push_back(planProperty(cls, p));
    }
    if (!is_root) checkName(plan.name, &names_);
    for (const FormNode& child : plan.node->children) {
      PlannedNode c;
      c.node = &child;
      c.cls = &registry_.require(child.class_name);
      c.name = child.name;
      planBody(c, *c.cls->info);
      plan.children.push_back(std::move(c));
    }
  }

  PlannedProp planProperty(const ClassInfo& cls, const FormProperty& p) {
    PlannedProp plan;
    plan.src = &p;
    const std::vector<std::string> parts = splitPath(p.path);
    if (ignoredPath(cls, parts)) return plan;
    if (p.value.kind == FormValue::Kind::Binary && ignoredBinary(cls, parts)) return plan;
    const ClassInfo* cur = &cls;
    auto unknown = [&]() -> void { fail("Property " + p.path + " does not exist"); };
    for (size_t i = 0; i + 1 < parts.size(); ++i) {
      const PropertyInfo* sub = cur->findProperty(parts[i]);
      if (!sub || sub->kind != PropKind::Class || !sub->class_type) unknown();
      plan.chain.push_back(sub);
      cur = &sub->class_type();
      if (i + 2 == parts.size() && sameText(parts.back(), "Strings") && cur->inheritsFrom("TStrings")) {
        if (p.value.kind != FormValue::Kind::List) invalidValue();
        for (const FormValue& item : p.value.list)
          if (item.kind != FormValue::Kind::String) invalidValue();
        plan.action = Action::Strings;
        return plan;
      }
    }
    const PropertyInfo* prop = cur->findProperty(parts.back());
    if (!prop) unknown();
    plan.chain.push_back(prop);
    if (prop->kind == PropKind::Method) {
      plan.action = Action::Ignore;  // handler names: the script or program assigns handlers
      return plan;
    }
    if (prop->kind == PropKind::Class) return planClassValue(plan, *prop, p.value);
    if (prop->readOnly()) fail("Property " + p.path + " is read-only");
    checkKind(*prop, p.value);
    plan.action = Action::Set;
    return plan;
  }

  PlannedProp& planClassValue(PlannedProp& plan, const PropertyInfo& prop, const FormValue& v) {
    if (v.kind == FormValue::Kind::Ident && !prop.class_type) {
      plan.action = Action::Reference;
      references_.push_back(&v);
      return plan;
    }
    if (v.kind == FormValue::Kind::Collection && prop.item_type) {
      const ClassInfo& item_cls = prop.item_type();
      for (const auto& item : v.items) {
        std::vector<PlannedProp> props;
        for (const FormProperty& ip : item) props.push_back(planProperty(item_cls, ip));
        plan.items.push_back(std::move(props));
      }
      plan.action = Action::Collection;
      return plan;
    }
    invalidValue();
  }

  // A reference names the root or one of its components, those this read makes included.
  void checkReferences(const PlannedNode&) {
    for (const FormValue* v : references_) {
      if (sameText(v->text, "nil") || (!root_name_.empty() && sameText(v->text, root_name_))) continue;
      if (!names_.count(kestrin::to_lower_ascii(v->text))) invalidValue();
    }
  }

  TComponent& root_;
  const ClassRegistry& registry_;
  std::unordered_set<std::string> names_;  // by name without case
  std::string root_name_;
  std::vector<const FormValue*> references_;
};

// Keeps the list of the components a read created, as they are freed by any means.
class CreatedList : public TComponent {
public:
  CreatedList() : TComponent(nullptr) {}
  ~CreatedList() override {
    for (TComponent* c : list) removeFreeNotification(c);
  }
  void add(TComponent* c) {
    list.push_back(c);
    freeNotification(c);
  }
  void freeAll() {
    while (!list.empty()) {
      TComponent* c = list.back();
      list.pop_back();
      removeFreeNotification(c);
      delete c;
    }
  }
  std::vector<TComponent*> list;

protected:
  void notification(TComponent* c, Operation op) override {
    if (op == Operation::Remove) list.erase(std::remove(list.begin(), list.end(), c), list.end());
  }
};

PropValue toPropValue(const PropertyInfo& prop, const FormValue& v) {
  switch (prop.kind) {
    case PropKind::Integer:
      if (v.kind == FormValue::Kind::Ident) return *identToInt(*prop.ident_map, v.text);
      return static_cast<int64_t>(static_cast<int32_t>(v.integer));
    case PropKind::Char:
      return v.kind == FormValue::Kind::String ? static_cast<int64_t>(static_cast<unsigned char>(v.text[0])) : v.integer;
    case PropKind::Enumeration: return *textToEnum(*prop.type, v.text);
    case PropKind::Float: return v.kind == FormValue::Kind::Float ? v.number : static_cast<double>(v.integer);
    case PropKind::String: return v.text;
    case PropKind::Set: {
      int64_t bits = 0;
      for (const std::string& n : v.names) bits |= int64_t{1} << *textToEnum(*prop.type, n);
      return bits;
    }
    default: return std::monostate();
  }
}

class Loader {
public:
  Loader(TComponent& root, CreatedList& created) : root_(root), created_(created) {}

  void load(const PlannedNode& plan) {
    if (!plan.name.empty()) root_.setName(plan.name);
    applyProps(root_, plan.props);
    for (const PlannedNode& child : plan.children) create(child, &root_);
    for (const auto& [obj, prop] : references_) {
      const std::string& name = prop->src->value.text;
      TComponent* target = nullptr;
      if (!sameText(name, "nil")) target = sameText(name, root_.name()) ? &root_ : root_.findComponent(name);
      if (!target && !sameText(name, "nil")) invalidValue();
      prop->chain.back()->set(*obj, PropValue(static_cast<TPersistent*>(target)));
    }
  }

private:
  void create(const PlannedNode& plan, TComponent* parent) {
    TComponent* c = plan.cls->create(&root_);
    created_.add(c);
    c->setLoading();
    c->setName(plan.name);
    c->setParentComponent(parent);
    applyProps(*c, plan.props);
    for (const PlannedNode& child : plan.children) create(child, c);
  }

  // The object a property path leads to, through its sub-object properties.
  static TPersistent& walk(TPersistent& obj, const PlannedProp& p, size_t steps) {
    TPersistent* cur = &obj;
    for (size_t i = 0; i < steps; ++i) {
      PropValue v = p.chain[i]->get(*cur);
      auto* next = std::get_if<TPersistent*>(&v);
      if (!next || !*next) invalidValue();
      cur = *next;
    }
    return *cur;
  }

  void applyProps(TPersistent& obj, const std::vector<PlannedProp>& props) {
    for (const PlannedProp& p : props) {
      switch (p.action) {
        case Action::Ignore: break;
        case Action::Set: {
          TPersistent& target = walk(obj, p, p.chain.size() - 1);
          p.chain.back()->set(target, toPropValue(*p.chain.back(), p.src->value));
          break;
        }
        case Action::Strings: {
          auto& strings = dynamic_cast<TStrings&>(walk(obj, p, p.chain.size()));
          strings.beginUpdate();
          strings.clear();
          for (const FormValue& item : p.src->value.list) strings.add(item.text);
          strings.endUpdate();
          break;
        }
        case Action::Collection: {
          auto& coll = dynamic_cast<TCollection&>(walk(obj, p, p.chain.size()));
          coll.clear();
          for (const auto& item : p.items) applyProps(*coll.addItem(), item);
          break;
        }
        case Action::Reference:
          references_.emplace_back(&walk(obj, p, p.chain.size() - 1), &p);
          break;
      }
    }
  }

  TComponent& root_;
  CreatedList& created_;
  std::vector<std::pair<TPersistent*, const PlannedProp*>> references_;
};

// ---- Writing ----

FormValue identValue(std::string text) {
  FormValue v;
  v.kind = FormValue::Kind::Ident;
  v.text = std::move(text);
  return v;
}

FormValue stringValue(std::string text) {
  FormValue v;
  v.kind = FormValue::Kind::String;
  v.text = std::move(text);
  return v;
}

void writeProps(const TPersistent& obj, const std::string& prefix, std::vector<FormProperty>& out, const TComponent& root);

// The value of an ordinal, float or string property, or nothing when it is not stored.
std::optional<FormValue> plainValue(const TPersistent& obj, const PropertyInfo& prop) {
  if (!isStoredProperty(obj, prop)) return std::nullopt;
  PropValue pv = prop.get(obj);
  const int64_t ord = std::holds_alternative<int64_t>(pv) ? std::get<int64_t>(pv) : 0;
  FormValue v;
  switch (prop.kind) {
    case PropKind::Integer:
      if (prop.ident_map)
        if (auto id = intToIdent(*prop.ident_map, ord)) return identValue(*id);
      v.integer = ord;
      return v;
    case PropKind::Char:
      if (ord >= 0 && ord < 0x80) return stringValue(std::string(1, static_cast<char>(ord)));
      v.integer = ord;
      return v;
    case PropKind::Enumeration: return identValue(enumToText(*prop.type, ord));
    case PropKind::Set: {
      v.kind = FormValue::Kind::Set;
      for (size_t i = 0; i < prop.type->idents.size() && i < 32; ++i)
        if (ord & (int64_t{1} << i)) v.names.push_back(prop.type->idents[i]);
      return v;
    }
    case PropKind::Float: {
      const double* d = std::get_if<double>(&pv);
      if (!d || *d == 0) return std::nullopt;
      v.kind = FormValue::Kind::Float;
      v.number = *d;
      return v;
    }
    case PropKind::String: {
      const std::string* s = std::get_if<std::string>(&pv);
      if (!s || s->empty()) return std::nullopt;
      return stringValue(*s);
    }
    default: return std::nullopt;
  }
}

void writeClassProp(const TPersistent& obj, const PropertyInfo& prop, const std::string& path,
                    std::vector<FormProperty>& out, const TComponent& root) {
  if (prop.stored && !prop.stored(obj)) return;
  PropValue pv = prop.get(obj);
  auto* const* ptr = std::get_if<TPersistent*>(&pv);
  if (!ptr || !*ptr) return;
  const TPersistent* sub = *ptr;
  if (auto* c = dynamic_cast<const TComponent*>(sub)) {
    // A reference: written by name when the reader can find it again.
    if (!c->name().empty() && (c == &root || c->owner() == &root)) out.push_back({path, identValue(c->name()), 0});
  } else if (auto* strings = dynamic_cast<const TStrings*>(sub)) {
    if (strings->count() == 0) return;
    FormValue v;
    v.kind = FormValue::Kind::List;
    for (int i = 0; i < strings->count(); ++i) v.list.push_back(stringValue(strings->get(i)));
    out.push_back({path + ".Strings", std::move(v), 0});
  } else if (auto* coll = dynamic_cast<const TCollection*>(sub)) {
    if (coll->count() == 0) return;
    FormValue v;
    v.kind = FormValue::Kind::Collection;
    for (int i = 0; i < coll->count(); ++i) {
      std::vector<FormProperty> item;
      writeProps(*coll->item(i), "", item, root);
      v.items.push_back(std::move(item));
    }
    out.push_back({path, std::move(v), 0});
  } else {
    writeProps(*sub, path + ".", out, root);
  }
}

void writeProps(const TPersistent& obj, const std::string& prefix, std::vector<FormProperty>& out, const TComponent& root) {
  for (const PropertyInfo* prop : obj.classInfo().properties()) {
    if (prop->kind == PropKind::Method) continue;
    if (prefix.empty() && sameText(prop->name, "Name") && dynamic_cast<const TComponent*>(&obj)) continue;
    if (prop->kind == PropKind::Class) {
      writeClassProp(obj, *prop, prefix + prop->name, out, root);
    } else if (!prop->readOnly()) {
      if (auto v = plainValue(obj, *prop)) out.push_back({prefix + prop->name, std::move(*v), 0});
    }
  }
}

FormNode nodeOf(const TComponent& c, const TComponent& root) {
  FormNode node;
  node.name = c.name();
  node.class_name = c.className();
  writeProps(c, "", node.properties, root);
  c.getChildren([&](TComponent* child) { node.children.push_back(nodeOf(*child, root)); }, &root);
  return node;
}

// A setter refused its value: the components of this read go; the root stays as it is now.
std::string abandon(TComponent& root, CreatedList& created, std::string message) {
  created.freeAll();
  if (root.loading()) root.loaded();
  return message;
}

}  // namespace

std::string readComponentTree(TComponent& root, const FormNode& tree, const ClassRegistry& registry) {
  PlannedNode plan;
  try {
    plan = Planner(root, registry).planRoot(tree);
  } catch (const LoadError& e) {
    return e.message;
  } catch (const EPropertyError& e) {
    return e.what();
  }
  CreatedList created;
  try {
    root.setLoading();
    Loader(root, created).load(plan);
    for (TComponent* c : std::vector<TComponent*>(created.list)) c->loaded();
    root.loaded();
  } catch (const LoadError& e) {
    return abandon(root, created, e.message);
  } catch (const std::exception& e) {
    return abandon(root, created, e.what());
  }
  return {};
}

std::string readComponentText(TComponent& root, std::string_view text, RawText raw, const ClassRegistry& registry) {
  FormParseResult parsed = parseFormText(text, raw);
  if (!parsed.ok()) return parsed.error;
  return readComponentTree(root, parsed.root, registry);
}

FormNode componentTree(const TComponent& root) { return nodeOf(root, root); }

std::string writeComponentText(const TComponent& root) { return formatFormText(componentTree(root)); }

}  // namespace kgui
