// "HtmlTag" and "HtmlParser".
#include "script/objects/html_object.h"

#include <string>

#include "base/text_file.h"
#include "script/builtins/array_object.h"
#include "script/core/engine.h"
#include "script/core/factory.h"
#include "script/core/value_list.h"
#include "script/objects/object_support.h"

namespace kestrin::script {
namespace {

Value GetTagName(TJObject& self) { return Value::String(StrRef(static_cast<TJHtmlTagObject&>(self).name)); }
void SetTagName(TJObject& self, const Value& v) { static_cast<TJHtmlTagObject&>(self).name = ValueToStdString(v); }

constexpr PropDef kTagProps[] = {{"name", GetTagName, SetTagName}};

TJHtmlParserObject& ParserOf(TJObject& self) { return static_cast<TJHtmlParserObject&>(self); }

Value GetHtml(TJObject& self) { return Value::String(StrRef(ParserOf(self).Html())); }
void SetHtml(TJObject& self, const Value& v) { ParserOf(self).Parse(ValueToStdString(v)); }
Value GetHtmlText(TJObject& self) { return Value::String(StrRef(ParserOf(self).Parser().Text)); }
Value GetCount(TJObject& self) { return Value::Integer(ParserOf(self).GetCount()); }

constexpr PropDef kParserProps[] = {{"html", GetHtml, SetHtml}, {"text", GetHtmlText, nullptr},
    {"count", GetCount, nullptr}, {"length", GetCount, nullptr}};

void PParse(TJObject& self, TJValueList& params, Value& result) {
  result = Value::Object(&self);
  if (params.GetCount() > 0) ParserOf(self).Parse(ArgText(params, 0));
}

// parseFile(path): a file that is not there (or cannot be read) leaves the parser as it is.
void PParseFile(TJObject& self, TJValueList& params, Value& result) {
  result = Value::Object(&self);
  std::string text;
  if (params.GetCount() > 0 && read_file_bytes(ArgText(params, 0), text)) ParserOf(self).Parse(text);
}

void PClear(TJObject& self, TJValueList&, Value& result) {
  result = Value::Object(&self);
  ParserOf(self).Parser().Clear();
}

}  // namespace

TJHtmlTagObject::TJHtmlTagObject(BaseEngine* engine) : TJObject(engine), props_(*this, kTagProps) {
  SetObjectName("HtmlTag");
}

TJHtmlTagObject::TJHtmlTagObject(BaseEngine* engine, const THtmlTag& tag) : TJHtmlTagObject(engine) {
  name = tag.Name;
  for (const std::string& attribute : tag.GetAttributeNames())
    StoreMember(StrRef(attribute), Value::String(StrRef(tag.GetAttribute(attribute))));
}

StrRef TJHtmlTagObject::ToString(const Value*) {
  std::vector<StrRef> names;
  GetMemberNames(names, 0, KindBit(vtFunction));
  std::string out = "<" + name + " ";
  for (const StrRef& attribute : names) {
    const std::string value = ValueToStdString(GetValue(attribute));
    out += attribute.view();
    if (!value.empty()) out += "=\"" + value + "\"";
    out += ' ';
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return StrRef(out + ">");
}

TJHtmlParserObject::TJHtmlParserObject(BaseEngine* engine, const TJValueList* params)
    : TJObject(engine), props_(*this, kParserProps) {
  SetObjectName("HtmlParser");
  if (params && params->GetCount() > 0) Parse(ArgText(*params, 0));
}

const ClassInfo& TJHtmlParserObject::Class() const {
  static const ClassInfo info(&BaseClass(), {{"parse", PParse}, {"parseFile", PParseFile}, {"clear", PClear}});
  return info;
}

void TJHtmlParserObject::Parse(const std::string& html) {
  html_ = html;
  parser_.Parse(html_);
}

void TJHtmlParserObject::GetItem(int32_t index, Value& out) {
  const THtmlTag* tag = parser_.GetTag(index);
  BaseEngine* engine = Engine();
  if (!tag || !engine) {
    out = Value::Null();
    return;
  }
  out = NewHostObject<TJHtmlTagObject>(engine, *tag);
}

bool TJHtmlParserObject::GetValueImpl(const StrRef& name, Value& out, const Value* param) {
  int32_t index;
  if (!ElementIndex(name, index)) return TJObject::GetValueImpl(name, out, param);
  GetItem(index, out);
  return true;
}

void RegisterHtmlObjects(TJEngine& engine) {
  engine.RegisterObjectClass("HtmlTag", [](BaseEngine* e, TJValueList*) -> TJObject* { return new TJHtmlTagObject(e); });
  engine.RegisterObjectClass("HtmlParser",
                             [](BaseEngine* e, TJValueList* p) -> TJObject* { return new TJHtmlParserObject(e, p); });
}

}  // namespace kestrin::script
