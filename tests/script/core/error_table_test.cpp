// The script error table: names from the documented vocabulary, details in place of
// "%s", and a raise that carries name, text and value.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "script/core/error_table.h"
#include "script/core/errors.h"

namespace kestrin::script {
namespace {

TEST(ErrorTable, EveryNameIsOneOfTheEngineErrorNames) {
  const std::set<std::string_view> names{"ENameError", "EKeyError", "ETypeError", "ESyntaxError", "ECallError",
                                         "EConvertError", "EIndexError", "EThrow", "EStringError",
                                         "EFileError", "EDirectoryError", "EStringsError", "EWin32Error",
                                         "EIniError", "ECRCError", "EBase64Error", "EActiveXError",
                                         "EEnumeratorError", "EDynaCallError", "EDLLLoadError", "EStructError",
                                         "ESocketError"};
#define KESTRIN_CHECK_ERROR_NAME(kind, name, text) EXPECT_TRUE(names.count(ErrorName(ScriptError::kind))) << #kind;
  KESTRIN_SCRIPT_ERRORS(KESTRIN_CHECK_ERROR_NAME)
#undef KESTRIN_CHECK_ERROR_NAME
}

TEST(ErrorTable, DetailsFillThePlaceholdersInOrder) {
  struct Case {
    ScriptError kind;
    ErrorDetails details;
    const char* text;
  };
  for (const Case& c : {Case{ScriptError::OperandTypes, {"integer", "object"}, "integer - object"},
                        Case{ScriptError::ApplyArguments, {"f"}, "f.apply arguments error"},
                        Case{ScriptError::ValueListIndex, {"7"}, "List index out of bounds (7)"},
                        Case{ScriptError::OperandName, {}, ""},
                        Case{ScriptError::Undefined, {}, "undefined - "}})
    EXPECT_EQ(ErrorText(c.kind, c.details), c.text);
}

TEST(ErrorTable, RaiseCarriesNameTextAndValue) {
  Value thrown = Value::Integer(5);
  try {
    RaiseError(ScriptError::Thrown, {}, &thrown);
  } catch (const EJThrow& e) {
    EXPECT_EQ(e.error_name, "EThrow");
    EXPECT_EQ(e.Message(), "");
    EXPECT_EQ(e.value.integer(), 5);
  }
  try {
    RaiseError(ScriptError::ListCount, {"-1"});
  } catch (const EJThrow& e) {
    EXPECT_EQ(e.error_name, "EIndexError");
    EXPECT_EQ(e.Message(), "list count out of bounds (-1)");
    EXPECT_EQ(e.value.type(), vtNull);
  }
}

}  // namespace
}  // namespace kestrin::script
