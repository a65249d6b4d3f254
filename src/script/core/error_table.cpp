// The rows of the script error table, and the raise that builds a message from them.
#include "script/core/error_table.h"

#include "script/core/errors.h"

namespace kestrin::script {
namespace {

struct ErrorRow {
  std::string_view name;
  std::string_view text;
};

constexpr ErrorRow kRows[] = {
#define KESTRIN_SCRIPT_ERROR_ROW(kind, name, text) {name, text},
    KESTRIN_SCRIPT_ERRORS(KESTRIN_SCRIPT_ERROR_ROW)
#undef KESTRIN_SCRIPT_ERROR_ROW
};

const ErrorRow& RowOf(ScriptError kind) { return kRows[static_cast<size_t>(kind)]; }

}  // namespace

std::string_view ErrorName(ScriptError kind) { return RowOf(kind).name; }

std::string ErrorText(ScriptError kind, ErrorDetails details) {
  std::string_view text = RowOf(kind).text;
  std::string out;
  const std::string_view* next = details.begin();
  for (size_t at = 0; at < text.size(); ++at) {
    if (text.compare(at, 2, "%s") == 0) {
      if (next != details.end()) out += *next++;
      ++at;
    } else {
      out += text[at];
    }
  }
  return out;
}

void RaiseError(ScriptError kind, ErrorDetails details, const Value* value) {
  throw EJThrow(std::string(ErrorName(kind)), ErrorText(kind, details), value);
}

}  // namespace kestrin::script
