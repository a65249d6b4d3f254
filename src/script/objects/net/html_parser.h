// A flat HTML scanner: the text outside tags, and each tag as a name and attributes. It
// builds no tree, checks no nesting and decodes no character references in the text.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "script/core/hash_table.h"

namespace kestrin::script {

class THtmlTag {
public:
  // `tag_text` runs from "<" to ">" inclusive.
  explicit THtmlTag(std::string_view tag_text);

  std::string Name;                        // lower case: "a", "/a", "!doctype", "!--"
  TStringHashTable Attributes{53, true};   // lower-case name -> value

  std::string GetAttribute(const std::string& name) const { return Attributes.GetValue(name); }
  std::vector<std::string> GetAttributeNames() const { return Attributes.Keys(); }

private:
  void Parse(std::string_view tag_text);
};

class THtmlParser {
public:
  explicit THtmlParser(std::string_view html = {}) { Parse(html); }

  std::vector<std::unique_ptr<THtmlTag>> Tags;  // in document order
  std::string Text;  // the text outside tags, CR LF for each "<br>"; Parse appends to it

  // Replaces the tags; the text keeps growing.
  void Parse(std::string_view html);
  void Clear() { Tags.clear(); }
  int Count() const { return static_cast<int>(Tags.size()); }
  // nullptr when `index` is outside 0..Count-1.
  THtmlTag* GetTag(int index) const;
};

}  // namespace kestrin::script
