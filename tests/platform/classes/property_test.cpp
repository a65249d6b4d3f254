// Published properties read and written by name, enumeration and set text, defaults and
// stored flags.
#include <gtest/gtest.h>

#include "platform/classes/component.h"
#include "platform/classes/graphics.h"
#include "platform/classes/property_builders.h"
#include "platform/classes/type_tables.h"

namespace kgui {
namespace {

// A component with one property of each kind, declared as the library's classes do.
class Gadget : public TComponent {
public:
  using TComponent::TComponent;
  static const ClassInfo& staticClassInfo() {
    static const ClassInfo info(
        "TGadget", &TComponent::staticClassInfo(),
        {ordProp<Gadget, int>("Align", PropKind::Enumeration, &Gadget::align, &Gadget::setAlign,
                              &alignType(), alNone),
         ordProp<Gadget, uint32_t>("Anchors", PropKind::Set, &Gadget::anchors,
                                   &Gadget::setAnchors, &anchorKindType(),
                                   setOf({akLeft, akTop})),
         [] {
           auto p = ordProp<Gadget, TColor>("Color", PropKind::Integer, &Gadget::color,
                                            &Gadget::setColor, nullptr, clBtnFace);
           p.ident_map = &colorIdents();
           return p;
         }(),
         ordProp<Gadget, int>("PasswordChar", PropKind::Char, &Gadget::pwd, &Gadget::setPwd,
                              nullptr, 0),
         floatProp<Gadget>("Ratio", &Gadget::ratio, &Gadget::setRatio),
         strProp<Gadget>("Caption", &Gadget::caption, &Gadget::setCaption),
         boolProp<Gadget>("Visible", &Gadget::visible, &Gadget::setVisible, true),
         ordProp<Gadget, int>("Count", PropKind::Integer, &Gadget::count, nullptr),
         classProp<Gadget, TFont>("Font", &Gadget::font),
         eventProp<Gadget>("OnClick", &Gadget::OnClick)});
    return info;
  }
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  int align() const { return align_; }
  void setAlign(int a) { align_ = a; }
  uint32_t anchors() const { return anchors_; }
  void setAnchors(uint32_t a) { anchors_ = a; }
  TColor color() const { return color_; }
  void setColor(TColor c) { color_ = c; }
  int pwd() const { return pwd_; }
  void setPwd(int c) { pwd_ = c; }
  double ratio() const { return ratio_; }
  void setRatio(double r) { ratio_ = r; }
  std::string caption() const { return caption_; }
  void setCaption(const std::string& c) { caption_ = c; }
  bool visible() const { return visible_; }
  void setVisible(bool v) { visible_ = v; }
  int count() const { return 3; }
  TFont* font() const { return font_.get(); }
  std::function<void(TComponent*)> OnClick;

private:
  int align_ = alNone;
  uint32_t anchors_ = setOf({akLeft, akTop});
  TColor color_ = clBtnFace;
  int pwd_ = 0;
  double ratio_ = 0.5;
  std::string caption_;
  bool visible_ = true;
  std::unique_ptr<TFont> font_ = std::make_unique<TFont>();
};

TEST(Properties, ListRunsFromTheRootAncestorInDeclarationOrder) {
  std::vector<std::string> names;
  for (const PropertyInfo* p : Gadget::staticClassInfo().properties()) names.push_back(p->name);
  EXPECT_EQ(names, (std::vector<std::string>{"Name", "Tag", "Align", "Anchors", "Color",
                                             "PasswordChar", "Ratio", "Caption", "Visible",
                                             "Count", "Font", "OnClick"}));
}

TEST(Properties, ReadAndWrittenByNameWithoutCase) {
  Gadget g(nullptr);
  setProperty(g, "caption", std::string("Load Image"));
  setProperty(g, "ALIGN", int64_t{alClient});
  setProperty(g, "ratio", 2.25);
  setProperty(g, "name", std::string("Button1"));
  EXPECT_EQ(g.caption(), "Load Image");
  EXPECT_EQ(g.align(), alClient);
  EXPECT_EQ(g.name(), "Button1");
  EXPECT_EQ(std::get<double>(getProperty(g, "Ratio")), 2.25);
  EXPECT_EQ(std::get<int64_t>(getProperty(g, "tag")), 0);
  EXPECT_EQ(std::get<TPersistent*>(getProperty(g, "Font")), g.font());
  EXPECT_TRUE(hasProperty(g, "onclick"));
  EXPECT_FALSE(hasProperty(g, "OnDblClick"));
}

TEST(Properties, UnknownAndReadOnlyNamesAreErrors) {
  Gadget g(nullptr);
  try {
    getProperty(g, "Bogus");
    ADD_FAILURE();
  } catch (const EPropertyError& e) {
    EXPECT_STREQ(e.what(), "Property Bogus does not exist");
  }
  try {
    setProperty(g, "count", int64_t{4});
    ADD_FAILURE();
  } catch (const EPropertyError& e) {
    EXPECT_STREQ(e.what(), "Property Count is read-only");
  }
}

TEST(Properties, TextOfEachKindRoundTrips) {
  Gadget g(nullptr);
  struct Case {
    const char* prop;
    const char* text;
  } cases[] = {
      {"Align", "alClient"},          {"Anchors", "[akLeft, akTop, akRight]"},
      {"Anchors", "[]"},              {"Color", "clBtnFace"},
      {"Color", "clRed"},             {"Color", "15000014"},
      {"PasswordChar", "'*'"},        {"PasswordChar", "#0"},
      {"Ratio", "0.1"},               {"Caption", "'it''s'"},
      {"Visible", "False"},           {"Tag", "-5"},
  };
  for (const auto& c : cases) {
    const PropertyInfo* p = g.classInfo().findProperty(c.prop);
    ASSERT_NE(p, nullptr) << c.prop;
    setPropertyText(g, *p, c.text);
    EXPECT_EQ(propertyText(g, *p), c.text) << c.prop;
  }
  EXPECT_EQ(g.caption(), "it's");
  EXPECT_EQ(g.color(), 15000014);
}

TEST(Properties, EnumerationsAndSetsConvertWithThePlatformOrdinals) {
  EXPECT_EQ(enumToText(alignType(), alRight), "alRight");
  EXPECT_EQ(textToEnum(alignType(), "ALBOTTOM"), alBottom);
  EXPECT_EQ(textToEnum(alignType(), "alMiddle"), std::nullopt);
  EXPECT_EQ(enumToText(closeActionType(), caFree), "caFree");
  EXPECT_EQ(setToText(anchorKindType(), setOf({akTop, akLeft})), "[akLeft, akTop]");
  EXPECT_EQ(setToNames(shiftStateType(), setOf({ssShift, ssCtrl})), "ssShift,ssCtrl");
  EXPECT_EQ(anchorKindType().set_name, "TAnchors");
  // Script and form forms of set text; unknown names are ignored.
  struct Case {
    const char* text;
    uint32_t bits;
  } cases[] = {{"[akLeft, akTop]", 0b0011},  {"  [akRight]", 0b0100}, {"akBottom akTop", 0b1010},
               {"akleft,AKRIGHT", 0b0101},    {"[akLeft, akNowhere]", 0b0001}, {"", 0}};
  for (const auto& c : cases) EXPECT_EQ(textToSet(anchorKindType(), c.text), c.bits) << c.text;
}

TEST(Properties, DefaultsAndStoredPredicateDecideWhatIsWritten) {
  Gadget g(nullptr);
  auto stored = [&](const char* name) {
    return isStoredProperty(g, *g.classInfo().findProperty(name));
  };
  EXPECT_FALSE(stored("Align"));
  EXPECT_FALSE(stored("Anchors"));
  EXPECT_FALSE(stored("Color"));
  EXPECT_FALSE(stored("Visible"));
  EXPECT_TRUE(stored("Caption"));  // no default: always written
  EXPECT_FALSE(stored("OnClick"));
  g.setAlign(alTop);
  g.setVisible(false);
  g.setColor(0xFFE4CE);
  EXPECT_TRUE(stored("Align"));
  EXPECT_TRUE(stored("Visible"));
  EXPECT_TRUE(stored("Color"));
  EXPECT_FALSE(isStoredProperty(*g.font(), *TFont::staticClassInfo().findProperty("Size")));
}

TEST(Properties, ColourIdentsCarryTheSignedSystemValues) {
  Gadget g(nullptr);
  EXPECT_EQ(std::get<int64_t>(getProperty(g, "Color")), -2147483633);
  EXPECT_EQ(identToInt(colorIdents(), "clNone"), 0x1FFFFFFF);
  EXPECT_EQ(intToIdent(colorIdents(), 0xFF0000), "clBlue");
}

TEST(Properties, EventsReadAssignedAndAreCleared) {
  Gadget g(nullptr);
  EXPECT_EQ(std::get<int64_t>(getProperty(g, "OnClick")), 0);
  g.OnClick = [](TComponent*) {};
  EXPECT_EQ(std::get<int64_t>(getProperty(g, "OnClick")), 1);
  setProperty(g, "OnClick", std::monostate{});
  EXPECT_FALSE(g.OnClick);
}

TEST(Properties, FontSizeAndHeightConvertAtNinetySixPixelsPerInch) {
  TFont f;
  struct Case {
    int size, height;
  } cases[] = {{8, -11}, {9, -12}, {10, -13}, {12, -16}, {24, -32}};
  for (const auto& c : cases) {
    f.setSize(c.size);
    EXPECT_EQ(f.height(), c.height) << c.size;
    EXPECT_EQ(f.size(), c.size);
  }
  int changes = 0;
  f.OnChange = [&] { ++changes; };
  setProperty(f, "Style", int64_t{setOf({fsBold})});
  EXPECT_EQ(propertyText(f, *f.classInfo().findProperty("style")), "[fsBold]");
  EXPECT_EQ(changes, 1);
}

}  // namespace
}  // namespace kgui
