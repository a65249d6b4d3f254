// Form text: the textual component description (object ... end) parsed into a tree and
// written back. Strings are UTF-8 in the tree; the text holds them as the platform does
// (CP932 bytes as #n, UTF-16 units when CP932 cannot hold the text).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kgui {

struct FormProperty;

struct FormValue {
  enum class Kind { Integer, Float, String, Ident, Set, List, Collection, Binary };
  Kind kind = Kind::Integer;
  int64_t integer = 0;
  double number = 0;
  std::string text;                               // String (UTF-8) or Ident
  std::vector<std::string> names;                 // Set members
  std::vector<FormValue> list;                    // List items
  std::vector<std::vector<FormProperty>> items;   // Collection items
  std::string bytes;                              // Binary
  int line = 0;

  bool operator==(const FormValue& o) const;
};

struct FormProperty {
  std::string path;  // "Font.Name"
  FormValue value;
  int line = 0;
  bool operator==(const FormProperty& o) const { return path == o.path && value == o.value; }
};

struct FormNode {
  enum class Kind { Object, Inherited, Inline };
  Kind kind = Kind::Object;
  std::string name;  // may be empty
  std::string class_name;
  std::vector<FormProperty> properties;
  std::vector<FormNode> children;
  int line = 0;
  bool operator==(const FormNode& o) const;
};

// How raw non-ASCII bytes inside quotes are read: as UTF-8 when the whole text is valid
// UTF-8, else as CP932 (files); always as CP932 (script strings).
enum class RawText { Detect, Cp932 };

struct FormParseResult {
  FormNode root;
  std::string error;  // empty on success: "String expected on line 3"
  bool ok() const { return error.empty(); }
};

// Parses one object block; text after its "end" other than blanks is an error.
FormParseResult parseFormText(std::string_view text, RawText raw = RawText::Detect);

// The text of a tree: 2 blanks per level, CR LF line ends.
std::string formatFormText(const FormNode& root);
// One value as it stands after "Path = " at the given nesting level (strings and lists
// may run over several lines).
std::string formatFormValue(const FormValue& v, int level);
// A string literal: printable ASCII in quotes, the rest as #n.
std::string formStringLiteral(std::string_view utf8);

}  // namespace kgui
