// Reading form descriptions into components and writing them back, over small component
// classes of the test's own: kinds and references, the loading state, the errors (and
// that a failed read changes nothing), and the written text.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/classes/form_stream.h"
#include "platform/classes/graphics.h"
#include "platform/classes/property_builders.h"
#include "platform/classes/strings.h"

namespace kgui {
namespace {

std::vector<std::string>& loadedLog() {
  static std::vector<std::string> log;
  return log;
}

// A component with a property of each kind; Index waits for its Items while loading.
class TThing : public TComponent {
public:
  explicit TThing(TComponent* owner) : TComponent(owner), items_(std::make_unique<TStringList>()) {}
  static const ClassInfo& staticClassInfo() {
    using T = TThing;
    static const ClassInfo info(
        "TThing", &TComponent::staticClassInfo(),
        {ordProp<T, int>("Count", PropKind::Integer, &T::count, &T::setCount, nullptr, 0),
         ordProp<T, int>("Mode", PropKind::Enumeration, &T::mode, &T::setMode, &alignType(), alNone),
         strProp<T>("Label", &T::label, &T::setLabel),
         floatProp<T>("Ratio", &T::ratio, &T::setRatio),
         ordProp<T, uint32_t>("Flags", PropKind::Set, &T::flags, &T::setFlags, &anchorKindType(), 0),
         [] {
           auto p = ordProp<T, int>("Color", PropKind::Integer, &T::color, &T::setColor, nullptr, 0);
           p.ident_map = &colorIdents();
           return p;
         }(),
         ordProp<T, int>("Key", PropKind::Char, &T::key, &T::setKey, nullptr, 0),
         [] {
           PropertyInfo p;
           p.name = "Link";
           p.kind = PropKind::Class;
           p.get = [](const TPersistent& o) { return PropValue(static_cast<TPersistent*>(static_cast<const T&>(o).link)); };
           p.set = [](TPersistent& o, const PropValue& v) {
             auto* const* c = std::get_if<TPersistent*>(&v);
             static_cast<T&>(o).link = c ? dynamic_cast<TComponent*>(*c) : nullptr;
           };
           return p;
         }(),
         classProp<T, TStrings>("Items", &T::items),
         ordProp<T, int>("Index", PropKind::Integer, &T::index, &T::setIndex, nullptr, -1),
         [] {
           auto p = classProp<T, TFont>("Font", &T::font);
           p.stored = [](const TPersistent& o) { return static_cast<const T&>(o).font()->name() == "Courier"; };
           return p;
         }(),
         eventProp<T>("OnClick", &T::OnClick)});
    return info;
  }
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  int count() const { return count_; }
  void setCount(int v) {
    if (v < 0) throw EPropertyError("Count must not be negative");
    count_ = v;
  }
  int mode() const { return mode_; }
  void setMode(int v) { mode_ = v; }
  std::string label() const { return label_; }
  void setLabel(const std::string& v) { label_ = v; }
  double ratio() const { return ratio_; }
  void setRatio(double v) { ratio_ = v; }
  uint32_t flags() const { return flags_; }
  void setFlags(uint32_t v) { flags_ = v; }
  int color() const { return color_; }
  void setColor(int v) { color_ = v; }
  int key() const { return key_; }
  void setKey(int v) { key_ = v; }
  TStrings* items() const { return items_.get(); }
  TFont* font() const { return &font_; }
  int index() const { return index_; }
  void setIndex(int v) {
    if (loading()) pending_ = v;
    else index_ = v < items_->count() ? v : -1;
  }
  void loaded() override {
    TComponent::loaded();
    loadedLog().push_back(name().empty() ? className() : name());
    if (pending_ >= -1) setIndex(pending_);
  }

  TComponent* link = nullptr;
  std::function<void()> OnClick;

private:
  int count_ = 0, mode_ = alNone, color_ = 0, key_ = 0, index_ = -1, pending_ = -2;
  std::string label_;
  double ratio_ = 0;
  uint32_t flags_ = 0;
  std::unique_ptr<TStringList> items_;
  mutable TFont font_;
};

// A container: boxes read inside a box become its children.
class TBox : public TThing {
public:
  explicit TBox(TComponent* owner) : TThing(owner) {}
  ~TBox() override {
    if (parent_) std::erase(parent_->kids_, this);
    for (TBox* k : kids_) k->parent_ = nullptr;
  }
  static const ClassInfo& staticClassInfo() {
    static const ClassInfo info("TBox", &TThing::staticClassInfo());
    return info;
  }
  const ClassInfo& classInfo() const override { return staticClassInfo(); }
  bool hasParent() const override { return true; }
  void setParentComponent(TComponent* parent) override {
    auto* box = dynamic_cast<TBox*>(parent);
    if (!box) throw EComponentError("Box " + name() + " lies outside a box");
    parent_ = box;
    box->kids_.push_back(this);
  }
  void getChildren(const std::function<void(TComponent*)>& proc, const TComponent* root) const override {
    for (TBox* k : kids_)
      if (k->owner() == root) proc(k);
  }
  std::vector<TBox*> kids_;
  TBox* parent_ = nullptr;
};

// The root: a box that lists its other components after its boxes.
class TRootBox : public TBox {
public:
  TRootBox() : TBox(nullptr) {}
  static const ClassInfo& staticClassInfo() {
    static const ClassInfo info("TRootBox", &TBox::staticClassInfo());
    return info;
  }
  const ClassInfo& classInfo() const override { return staticClassInfo(); }
  bool hasParent() const override { return false; }
  void getChildren(const std::function<void(TComponent*)>& proc, const TComponent* root) const override {
    TBox::getChildren(proc, root);
    for (int i = 0; i < componentCount(); ++i)
      if (!components(i)->hasParent()) proc(components(i));
  }
};

ClassRegistry& registry() {
  static ClassRegistry r = [] {
    ClassRegistry reg;
    registerStreamClass<TThing>(reg);
    registerStreamClass<TBox>(reg);
    return reg;
  }();
  return r;
}

std::string read(TComponent& root, const std::string& text) { return readComponentText(root, text, RawText::Detect, registry()); }

const char* const kSample =
    "object Root: TSomething\r\n"
    "  Label = 'root'\r\n"
    "  object Box1: TBox\r\n"
    "    Index = 1\r\n"
    "    Link = Thing1\r\n"
    "    Items.Strings = (\r\n"
    "      'a'\r\n"
    "      'b')\r\n"
    "    OnClick = Box1Click\r\n"
    "    DesignSize = (\r\n"
    "      10\r\n"
    "      20)\r\n"
    "    object Inner: TBox\r\n"
    "      Count = 3\r\n"
    "      Mode = alClient\r\n"
    "      Flags = [akLeft, akBottom]\r\n"
    "      Color = clRed\r\n"
    "      Ratio = 0.25\r\n"
    "      Key = '*'\r\n"
    "      Font.Name = 'Courier'\r\n"
    "      Font.Style = [fsBold]\r\n"
    "      Link = Root\r\n"
    "    end\r\n"
    "  end\r\n"
    "  object Thing1: TThing\r\n"
    "    Left = 8\r\n"
    "    Top = 16\r\n"
    "    Link = nil\r\n"
    "  end\r\n"
    "end\r\n";

TEST(FormStream, ReadsEveryKindReferencesForwardAndDependentValuesAfterLoading) {
  loadedLog().clear();
  TRootBox root;
  ASSERT_EQ(read(root, kSample), "");
  EXPECT_EQ(root.name(), "Root");
  EXPECT_EQ(root.label(), "root");
  ASSERT_EQ(root.componentCount(), 3);
  auto* box = dynamic_cast<TBox*>(root.findComponent("Box1"));
  auto* inner = dynamic_cast<TBox*>(root.findComponent("inner"));
  auto* thing = dynamic_cast<TThing*>(root.findComponent("Thing1"));
  ASSERT_TRUE(box && inner && thing);
  EXPECT_EQ(root.kids_, std::vector<TBox*>{box});
  EXPECT_EQ(box->kids_, std::vector<TBox*>{inner});
  EXPECT_EQ(box->link, thing);  // named before its component was read
  EXPECT_EQ(inner->link, &root);
  EXPECT_EQ(box->items()->toVector(), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(box->index(), 1);  // read before the items, applied after them
  EXPECT_EQ(inner->count(), 3);
  EXPECT_EQ(inner->mode(), alClient);
  EXPECT_EQ(inner->flags(), setOf({akLeft, akBottom}));
  EXPECT_EQ(inner->color(), 0x0000FF);
  EXPECT_DOUBLE_EQ(inner->ratio(), 0.25);
  EXPECT_EQ(inner->key(), '*');
  EXPECT_EQ(inner->font()->name(), "Courier");
  EXPECT_FALSE(box->OnClick);
  EXPECT_EQ(loadedLog(), (std::vector<std::string>{"Box1", "Inner", "Thing1", "Root"}));
  EXPECT_FALSE(root.loading() || box->loading());
}

// Each text is refused before anything is made: the root keeps its components and values.
TEST(FormStream, ErrorsChangeNothing) {
  struct Case {
    std::string text;
    const char* message;
  };
  auto body = [](const std::string& inner) { return "object Root: TRootBox\r\n  Label = 'changed'\r\n" + inner + "end\r\n"; };
  const Case cases[] = {
      {body("  object X: TFoo\r\n  end\r\n"), "Class TFoo not found"},
      {body("  object X: TBox\r\n    Bogus = 1\r\n  end\r\n"), "Property Bogus does not exist"},
      {body("  object X: TBox\r\n    Font.Bogus = 1\r\n  end\r\n"), "Property Font.Bogus does not exist"},
      {body("  object X: TBox\r\n    Label.Text = 1\r\n  end\r\n"), "Property Label.Text does not exist"},
      {body("  object X: TBox\r\n    Mode = alSideways\r\n  end\r\n"), "Invalid property value"},
      {body("  object X: TBox\r\n    Count = 'three'\r\n  end\r\n"), "Invalid property value"},
      {body("  object X: TBox\r\n    Count = 4294967296\r\n  end\r\n"), "Invalid property value"},
      {body("  object X: TBox\r\n    Color = clNoSuchColour\r\n  end\r\n"), "Invalid property value"},
      {body("  object X: TBox\r\n    Flags = [akLeft, akNowhere]\r\n  end\r\n"), "Invalid property value"},
      {body("  object X: TBox\r\n    Label = 5\r\n  end\r\n"), "Invalid property value"},
      {body("  object X: TBox\r\n    Key = 'ab'\r\n  end\r\n"), "Invalid property value"},
      {body("  object X: TBox\r\n    Link = Nowhere\r\n  end\r\n"), "Invalid property value"},
      {body("  object X: TBox\r\n    Items.Strings = (\r\n      1)\r\n  end\r\n"), "Invalid property value"},
      {body("  object X: TBox\r\n    Font = 'x'\r\n  end\r\n"), "Invalid property value"},
      {body("  object X: TBox\r\n  end\r\n  object x: TThing\r\n  end\r\n"), "A component named x already exists"},
      {body("  object Old: TThing\r\n  end\r\n"), "A component named Old already exists"},
      {body("  object X: TBox\r\n    Name = '1x'\r\n  end\r\n"), "'1x' is not a valid component name"},
      {body("  object X: TBox\r\n    Caption = 'a' +\r\n      5\r\n  end\r\n"), "String expected on line 5"},
  };
  for (const Case& c : cases) {
    TRootBox root;
    new TThing(&root);
    root.components(0)->setName("Old");
    root.setLabel("kept");
    EXPECT_EQ(read(root, c.text), c.message) << c.text;
    EXPECT_EQ(root.componentCount(), 1) << c.text;
    EXPECT_EQ(root.label(), "kept") << c.text;
    EXPECT_EQ(root.name(), "") << c.text;
    EXPECT_FALSE(root.loading());
  }
}

// A setter refusing its value frees what the read made; root values set before it stay.
TEST(FormStream, ARefusingSetterFreesTheNewComponents) {
  TRootBox root;
  const std::string text =
      "object Root: TRootBox\r\n  Label = 'set'\r\n"
      "  object A: TBox\r\n    object B: TBox\r\n    end\r\n  end\r\n"
      "  object C: TThing\r\n    Count = -1\r\n  end\r\nend\r\n";
  EXPECT_EQ(read(root, text), "Count must not be negative");
  EXPECT_EQ(root.componentCount(), 0);
  EXPECT_TRUE(root.kids_.empty());
  EXPECT_EQ(root.label(), "set");
  EXPECT_FALSE(root.loading());
  // The same read again succeeds: no name is left taken.
  EXPECT_EQ(read(root, "object Root: TRootBox\r\n  object A: TBox\r\n  end\r\nend\r\n"), "");
  // Reading twice into one root meets the names of the first read.
  EXPECT_EQ(read(root, "object Root: TRootBox\r\n  object A: TBox\r\n  end\r\nend\r\n"), "A component named A already exists");
}

TEST(FormStream, WritesStoredValuesNestedChildrenAndReadsItBack) {
  TRootBox root;
  ASSERT_EQ(read(root, kSample), "");
  const std::string written = writeComponentText(root);
  EXPECT_EQ(written,
            "object Root: TRootBox\r\n"
            "  Label = 'root'\r\n"
            "  object Box1: TBox\r\n"
            "    Link = Thing1\r\n"
            "    Items.Strings = (\r\n"
            "      'a'\r\n"
            "      'b')\r\n"
            "    Index = 1\r\n"
            "    object Inner: TBox\r\n"
            "      Count = 3\r\n"
            "      Mode = alClient\r\n"
            "      Ratio = 0.25\r\n"
            "      Flags = [akLeft, akBottom]\r\n"
            "      Color = clRed\r\n"
            "      Key = '*'\r\n"
            "      Link = Root\r\n"
            "      Font.Charset = DEFAULT_CHARSET\r\n"
            "      Font.Color = clWindowText\r\n"
            "      Font.Height = -11\r\n"
            "      Font.Name = 'Courier'\r\n"
            "      Font.Style = [fsBold]\r\n"
            "    end\r\n"
            "  end\r\n"
            "  object Thing1: TThing\r\n"
            "  end\r\n"
            "end\r\n");
  TRootBox again;
  ASSERT_EQ(read(again, written), "");
  EXPECT_EQ(writeComponentText(again), written);
  EXPECT_EQ(componentTree(again), componentTree(root));
}

}  // namespace
}  // namespace kgui
