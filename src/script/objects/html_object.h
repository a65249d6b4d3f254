// "HtmlParser": a flat scan of an HTML text for scripts; its items are "HtmlTag" objects,
// each with the tag's name and its attributes as members.
#pragma once

#include <string>

#include "script/builtins/builtin_props.h"
#include "script/core/object.h"
#include "script/objects/net/html_parser.h"

namespace kestrin::script {

class TJHtmlTagObject : public TJObject {
public:
  explicit TJHtmlTagObject(BaseEngine* engine);
  TJHtmlTagObject(BaseEngine* engine, const THtmlTag& tag);
  PublishedProperties* Published() override { return &props_; }
  // "<" name, each attribute as name="value" (an empty value as its name alone), ">".
  StrRef ToString(const Value*) override;

  std::string name;

private:
  PropTable props_;
};

class TJHtmlParserObject : public TJObject {
public:
  // new HtmlParser([html]).
  TJHtmlParserObject(BaseEngine* engine, const TJValueList* params);
  const ClassInfo& Class() const override;
  PublishedProperties* Published() override { return &props_; }
  StrRef ToString(const Value*) override { return StrRef(html_); }
  bool IsCollection() override { return true; }
  int32_t GetCount() override { return parser_.Count(); }
  // A new HtmlTag for a tag, null for anything else.
  void GetItem(int32_t index, Value& out) override;
  bool GetValueImpl(const StrRef& name, Value& out, const Value* param) override;

  void Parse(const std::string& html);
  THtmlParser& Parser() { return parser_; }
  const std::string& Html() const { return html_; }

private:
  THtmlParser parser_;
  std::string html_;
  PropTable props_;
};

void RegisterHtmlObjects(class TJEngine& engine);

}  // namespace kestrin::script
