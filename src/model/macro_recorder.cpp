// Script literals for recorded lines.
#include "model/macro_recorder.h"

namespace kestrin {

std::string js_quote(std::string_view text) {
  std::string out = "'";
  for (char c : text) {
    switch (c) {
      case '\'': out += "\\'"; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      default: out += c;
    }
  }
  return out + "'";
}

}  // namespace kestrin
