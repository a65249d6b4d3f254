// The object model: base methods, member lookup order, prototypes, published properties,
// method identity and events.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "script/core/errors.h"
#include "script/core/factory.h"
#include "script/core/object.h"
#include "script/core/operators.h"
#include "script/core/published.h"
#include "script/core/hash_table.h"
#include "script_test_engine.h"

namespace kestrin::script {
namespace {

using testing::ArrayTexts;
using testing::CallMethod;
using testing::TestEngine;

// One published property "Caption" and one event "OnClick", as a native component has.
class CaptionProps : public PublishedProperties {
public:
  void ListNames(std::vector<StrRef>& out, bool events) override { out.push_back(events ? "OnClick" : "Caption"); }
  bool Has(std::string_view name) override { return LocaleLower(name) == "caption"; }
  bool Get(std::string_view name, Value& out) override {
    if (!Has(name)) return false;
    out = Value::String(caption);
    return true;
  }
  bool Set(std::string_view name, const Value& v) override {
    if (!Has(name)) return false;
    caption = ValueToStdString(v);
    return true;
  }
  std::string caption = "native";
};

class Widget : public TJObject {
public:
  explicit Widget(BaseEngine* e) : TJObject(e) { SetObjectName("Widget"); }
  PublishedProperties* Published() override { return &props; }
  CaptionProps props;
};

std::vector<std::string> Texts(const std::vector<StrRef>& names) {
  std::vector<std::string> out;
  for (const StrRef& n : names) out.push_back(n.str());
  return out;
}

TEST(ObjectModel, PlainObjectListsTheBaseMethodsInBucketOrder) {
  TestEngine engine;
  Value o = engine.NewObject();
  EXPECT_EQ(ArrayTexts(CallMethod(*o.object(), "getKeys")),
            (std::vector<std::string>{"getEvents", "getProperties", "hasOwnProperty", "getKeys", "hasKey",
                                      "valueOf", "removeKey", "toString", "getMethods"}));
  EXPECT_TRUE(ArrayTexts(CallMethod(*o.object(), "getProperties")).empty());
  EXPECT_EQ(ValueToStdString(CallMethod(*o.object(), "toString")), "[object Object]");
  EXPECT_TRUE(StrictEquals(CallMethod(*o.object(), "valueOf"), o));
}

TEST(ObjectModel, MissingMembersRaiseByAccessStyle) {
  Value o = Value::Object(new TJObject(nullptr));
  try {
    o.object()->GetValue("nope", false);
    FAIL();
  } catch (const EJThrow& e) {
    EXPECT_EQ(e.error_name, "ENameError");
    EXPECT_EQ(e.Message(), "nope");
  }
  try {
    o.object()->GetValue("nope", true);
    FAIL();
  } catch (const EJThrow& e) {
    EXPECT_EQ(e.error_name, "EKeyError");
  }
  o.object()->SetValue("nope", Value::Integer(1));
  EXPECT_EQ(o.object()->GetValue("nope").integer(), 1);
}

TEST(ObjectModel, LookupOrderPublishedOwnPrototypeAssignedChain) {
  TestEngine engine;
  TJObjectFactory& f = engine.Factory();
  Value w = Value::Object(new Widget(&engine));
  f.Register(w.object());
  TJObject& o = *w.object();
  // Published beats an own member of the same name; names are matched without case.
  o.StoreMember("Caption", Value::String("member"));
  EXPECT_EQ(ValueToStdString(o.GetValue("caption")), "native");
  // Own member beats the class prototype; assignment creates an own member.
  f.GetPrototype("Widget")->SetValue("x", Value::Integer(1));
  EXPECT_EQ(o.GetValue("x").integer(), 1);
  o.SetValue("x", Value::Integer(2));
  EXPECT_EQ(o.GetValue("x").integer(), 2);
  EXPECT_EQ(f.GetPrototype("Widget")->GetValue("x").integer(), 1);
  // An assigned ordinary object continues the chain through its own class prototype.
  Value base = engine.NewObject();
  base.object()->SetObjectName("Base");
  base.object()->SetValue("y", Value::Integer(3));
  f.GetPrototype("Base")->SetValue("z", Value::Integer(4));
  ASSERT_TRUE(f.SetPrototype("Widget", base.object()));
  EXPECT_EQ(o.GetValue("y").integer(), 3);
  EXPECT_EQ(o.GetValue("z").integer(), 4);
  // Assigning Widget's chain back under Base would make a cycle.
  EXPECT_FALSE(f.SetPrototype("Base", &o));
  EXPECT_EQ(f.GetPrototype("Base")->ClassName().view(), "Prototype");
  // hasKey ignores prototypes but sees published properties.
  EXPECT_FALSE(o.HasKey("y"));
  EXPECT_TRUE(o.HasKey("CAPTION"));
  EXPECT_TRUE(CallMethod(o, "hasOwnProperty", {Value::String("caption")}).boolean());
}

TEST(ObjectModel, PrototypesHaveNoBaseMethods) {
  TestEngine engine;
  TJObject* p = engine.Factory().GetPrototype("Thing");
  EXPECT_FALSE(p->HasKey("toString"));
  EXPECT_EQ(p->ToString(nullptr).view(), "[object Prototype]");
  EXPECT_EQ(engine.Factory().GetPrototype("Thing"), p);  // made once
}

TEST(ObjectModel, MethodsAreDistinctPerObjectAndStablePerObject) {
  Value a = Value::Object(new TJObject(nullptr)), b = Value::Object(new TJObject(nullptr));
  Value m1 = a.object()->GetValue("toString"), m2 = a.object()->GetValue("toString");
  Value m3 = b.object()->GetValue("toString");
  EXPECT_TRUE(StrictEquals(m1, m2));
  EXPECT_FALSE(StrictEquals(m1, m3));
  EXPECT_EQ(m1.function()->func_type, ftNative);
}

TEST(ObjectModel, RemovingAndReplacingMethods) {
  Value o = Value::Object(new TJObject(nullptr));
  TJObject& obj = *o.object();
  EXPECT_TRUE(obj.RemoveKey("toString"));
  EXPECT_FALSE(obj.HasKey("toString"));
  EXPECT_FALSE(obj.RemoveKey("toString"));
  EXPECT_THROW(obj.GetValue("toString"), EJThrow);
  obj.SetValue("toString", Value::Integer(5));
  EXPECT_EQ(obj.GetValue("toString").integer(), 5);
  obj.Clear();  // methods come back, data goes
  EXPECT_EQ(obj.GetValue("toString").type(), vtFunction);
  obj.SetValue("a", Value::Integer(1));
  obj.ClearDataMembers();
  EXPECT_FALSE(obj.HasKey("a"));
  EXPECT_TRUE(obj.HasKey("hasKey"));
  obj.ClearMembers();
  EXPECT_FALSE(obj.HasKey("hasKey"));
}

TEST(ObjectModel, PropertyAndMethodNames) {
  Value o = Value::Object(new Widget(nullptr));
  TJObject& obj = *o.object();
  obj.SetValue("b", Value::Integer(1));
  obj.SetValue("a", Value::String("x"));
  obj.DefineMethod("zz", [](TJObject&, TJValueList&, Value& r) { r = Value::Integer(9); });
  std::vector<StrRef> props, methods, keys;
  obj.GetPropertyNames(props);
  EXPECT_EQ(Texts(props), (std::vector<std::string>{"a", "b", "Caption"}));
  obj.GetMethodNames(methods);
  EXPECT_EQ(methods.size(), 10u);
  obj.RemoveMembers(KindBit(vtFunction), 0);
  obj.GetMemberNames(keys, 0, 0);
  EXPECT_EQ(Texts(keys), (std::vector<std::string>{"a", "b"}));
}

TEST(ObjectModel, EventsAndEventHandlers) {
  TestEngine engine;
  Value o = engine.NewObject();
  TJObject& obj = *o.object();
  obj.DefineEvent("onClick");
  obj.DefineEvent("onChange");
  obj.DefineEvent("onclick");
  std::vector<StrRef> events;
  obj.GetEventNames(events);
  EXPECT_EQ(Texts(events), (std::vector<std::string>{"onChange", "onClick"}));
  EXPECT_FALSE(obj.HasEventHandler("onClick"));
  obj.DefineMethod("onClick", [](TJObject&, TJValueList& p, Value& r) { r = Value::Integer(p.GetCount()); });
  EXPECT_TRUE(obj.HasEventHandler("onClick"));
  engine.running = false;
  EXPECT_FALSE(obj.HasEventHandler("onClick"));
  TJValueList args{Value::Integer(1), Value::Integer(2)};
  Value result;
  obj.CallEvent("", "onClick", result, &args);
  EXPECT_EQ(result.integer(), 2);
}

TEST(Published, EnumerationAndSetConversions) {
  const std::vector<std::string> align{"alNone", "alTop", "alBottom"};
  const std::vector<std::string> boolean{"False", "True"};
  EXPECT_EQ(ValueToStdString(EnumOrdToValue(align, 1)), "alTop");
  EXPECT_EQ(EnumOrdToValue(boolean, 1).type(), vtBool);
  EXPECT_EQ(ValueToEnumOrd(align, Value::String("ALBOTTOM")), 2);
  EXPECT_EQ(ValueToEnumOrd(align, Value::Integer(1)), 1);
  EXPECT_FALSE(ValueToEnumOrd(align, Value::String("alLeft")).has_value());
  const std::vector<std::string> style{"fsBold", "fsItalic", "fsUnderline"};
  EXPECT_EQ(SetOrdToNames(style, 5), "fsBold,fsUnderline");
  EXPECT_EQ(NamesToSetOrd(style, "  [fsItalic, fsBold,bogus]", 1), 3u);
  EXPECT_EQ(NamesToSetOrd(style, "", 1), 0u);
}

}  // namespace
}  // namespace kestrin::script
