// The HTML scanner and the tag state machine.
#include "script/objects/net/html_parser.h"

#include "script/objects/net/net_utils.h"

namespace kestrin::script {
namespace {

// Every occurrence of `from` (compared without ASCII case) replaced by `to`.
std::string replace_all_nocase(std::string_view s, std::string_view from, std::string_view to) {
  std::string out;
  out.reserve(s.size());
  size_t i = 0;
  while (i < s.size()) {
    if (s.size() - i >= from.size() && LocaleCompareText(s.substr(i, from.size()), from) == 0) {
      out.append(to);
      i += from.size();
    } else {
      out += s[i++];
    }
  }
  return out;
}

std::string clean_name(std::string_view s) { return LocaleLower(replace_all_nocase(TrimText(s), "&quot;", "\"")); }

}  // namespace

THtmlTag::THtmlTag(std::string_view tag_text) { Parse(tag_text); }

// States: the tag name, an attribute name, an attribute value (its terminator a blank or
// the quote it began with). A value-less attribute runs into the next name, as written.
void THtmlTag::Parse(std::string_view tag_text) {
  enum class State { Name, AttributeName, Value };
  const std::string text = replace_all_nocase(ControlCharsToBlanks(tag_text), "&amp;", "&");
  State state = State::Name;
  std::string name, attribute, value;
  char terminator = ' ';
  bool value_started = false;
  for (const char c : text) {
    if (c == '<') {
      state = State::Name;
      name.clear();
      continue;
    }
    switch (state) {
      case State::Name:
        if (c == ' ' && name.empty()) break;
        if (c == ' ' || c == '>') {
          Name = clean_name(name);
          state = State::AttributeName;
          attribute.clear();
        } else {
          name += c;
        }
        break;
      case State::AttributeName:
        if (c == ' ' && attribute.empty()) break;
        if (c == '=' || c == '>') {
          attribute = clean_name(attribute);
          state = State::Value;
          value.clear();
          value_started = false;
          terminator = ' ';
        } else {
          attribute += c;
        }
        break;
      case State::Value:
        if (!value_started) {
          if (c == ' ') break;
          value_started = true;
          if (c == '"' || c == '\'') {
            terminator = c;
          } else {
            terminator = ' ';
            value += c;
          }
        } else if (c == terminator || c == '>') {
          Attributes.SetValue(attribute, replace_all_nocase(TrimText(value), "&quot;", "\""));
          state = State::AttributeName;
          attribute.clear();
          value.clear();
          terminator = ' ';
        } else {
          value += c;
        }
        break;
    }
  }
}

void THtmlParser::Parse(std::string_view html) {
  Clear();
  bool in_tag = false;
  std::string tag;
  for (const char c : html) {
    if (c == '<') {
      in_tag = true;
      tag = "<";
    } else if (c == '>' && in_tag) {
      in_tag = false;
      tag += '>';
      if (LocaleLower(tag) == "<br>") Text += "\r\n";
      else Tags.push_back(std::make_unique<THtmlTag>(tag));
    } else if (in_tag) {
      tag += c;
    } else {
      Text += c;
    }
  }
}

THtmlTag* THtmlParser::GetTag(int index) const {
  return index < 0 || index >= Count() ? nullptr : Tags[static_cast<size_t>(index)].get();
}

}  // namespace kestrin::script
