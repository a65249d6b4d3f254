// The one table of script errors that the engine and the built-in objects raise: each
// kind with its error name and its message text.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace kestrin::script {

class Value;

// X(kind, error name, text). Each "%s" of a text takes the next detail given at the raise.
// A new error is one row here; host objects add their rows in the same form.
#define KESTRIN_SCRIPT_ERRORS(X)                                                      \
  /* Compile errors: the text is followed by ": Text( token )". */                    \
  X(TooDeeplyNested, "ESyntaxError", "too deeply nested")                             \
  X(LibraryNotOpened, "ESyntaxError", "can not open: %s")                             \
  X(CircularImport, "ESyntaxError", "circular import: %s")                            \
  X(TooManyImports, "ESyntaxError", "too many imports: %s")                           \
  X(CatchMissing, "ESyntaxError", "not found catch-statement")                        \
  /* Control flow that reached a place where it has no meaning. */                    \
  X(Break, "ESyntaxError", "break")                                                   \
  X(Continue, "ESyntaxError", "continue")                                             \
  X(Super, "ESyntaxError", "super")                                                   \
  X(CaseOutsideSwitch, "ESyntaxError", "switch case: or default:")                    \
  X(Thrown, "EThrow", "")                                                             \
  /* Values of the wrong kind. */                                                     \
  X(ForInVariable, "ETypeError", "need variable - for..in")                           \
  X(ForInObject, "ETypeError", "need object,array or collection - for..in")           \
  X(WithObject, "ETypeError", "need object - with")                                   \
  X(RegExpCase, "ETypeError", "regexp case needs the RegExp object")                  \
  X(OperandType, "ETypeError", "%s")                                                  \
  X(OperandTypes, "ETypeError", "%s - %s")                                            \
  X(ApplyArguments, "ETypeError", "%s.apply arguments error")                         \
  X(CannotAssign, "ETypeError", "can not assign - %s")                                \
  X(StringTooLong, "ETypeError", "string too long")                                   \
  X(NoArrayClass, "ETypeError", "no Array class")                                     \
  /* Names that are not there. */                                                     \
  X(OperandName, "ENameError", "")                                                    \
  X(Undefined, "ENameError", "undefined - %s")                                        \
  X(MemberMissing, "ENameError", "%s")                                                \
  X(KeyMissing, "EKeyError", "%s")                                                    \
  X(MemberError, "ENameError", "member error %s")                                     \
  X(MemberAssign, "ENameError", "member assign error %s")                             \
  X(PrototypeAssign, "ENameError", "prototype assign error %s")                       \
  X(ConstructorError, "ENameError", "create object constructor error %s")             \
  X(CreateObject, "ENameError", "create object error %s")                             \
  X(NamespaceNotFound, "ENameError", "namespace not found: %s")                       \
  /* Calls. */                                                                        \
  X(NeedFunctionOrObject, "ECallError", "call function error,need function or object") \
  X(StackOverflow, "ECallError", "stack overflow")                                    \
  X(UnsupportedFunction, "ECallError", "not support function type")                   \
  /* Automation objects and native calls. */                                          \
  X(ActiveXFailure, "EActiveXError", "%s: %s")                                        \
  X(ActiveXCreate, "EActiveXError", "create error %s")                                \
  X(ActiveXNoDispatch, "EActiveXError", "%s")                                         \
  X(EnumeratorCreate, "EEnumeratorError", "Enumerator.Create Error")                  \
  X(DynaCallFlags, "EDynaCallError", "arguments flag error")                          \
  X(DllRegister, "EDLLLoadError", "register error: %s %s")                            \
  X(DllLoad, "EDLLLoadError", "%s")                                                   \
  X(DllInvalidParameter, "EDLLLoadError", "invalid parameter")                        \
  X(StructNeedType, "EStructError", "need member type")                               \
  X(StructMemberType, "EStructError", "member type error")                            \
  X(StructMemberNotFound, "EStructError", "member not found")                         \
  X(StructTooLarge, "EStructError", "struct too large")                               \
  /* Lists and strings past their bounds. */                                          \
  X(ValueListIndex, "EIndexError", "List index out of bounds (%s)")                   \
  X(ListIndex, "EIndexError", "list index out of bounds (%s)")                        \
  X(ListCount, "EIndexError", "list count out of bounds (%s)")                        \
  X(ListTooLong, "EIndexError", "list too long")                                      \
  X(AppendTooLong, "EStringError", "string too long")                                 \
  /* Built-in objects. */                                                             \
  X(IndexText, "EIndexError", "%s")                                                   \
  X(IndexOutside, "EIndexError", "")                                                  \
  X(SortCompare, "ETypeError", "sort compare function error")                         \
  X(ArrayAssign, "ETypeError", "array assign error")                                  \
  X(Convert, "EConvertError", "%s")                                                   \
  X(ReadStdin, "EFileError", "read error: STDIN")                                     \
  X(CannotCreateDir, "EDirectoryError", "Cannot Create Dir")                         \
  /* System objects: files, folders, lists, INI files, CRC, Base64, Win32. */         \
  X(FileOpen, "EFileError", "can not open: %s")                                       \
  X(FileRead, "EFileError", "read error: %s")                                         \
  X(FileWrite, "EFileError", "write error: %s")                                       \
  X(FileSeek, "EFileError", "seek error: %s")                                         \
  X(FileEof, "EFileError", "eof error: %s")                                           \
  X(FileRemove, "EFileError", "remove error: %s")                                     \
  X(FileRename, "EFileError", "rename error: %s")                                     \
  X(FileCopy, "EFileError", "copy error: %s")                                         \
  X(DirMake, "EDirectoryError", "make error: %s")                                     \
  X(DirRemove, "EDirectoryError", "remove error: %s")                                 \
  X(DirFindNext, "EDirectoryError", "findNext error: %s")                             \
  X(DirFindNextDir, "EDirectoryError", "findNextDir error: %s")                       \
  X(DirFindNextFile, "EDirectoryError", "findNextFile error: %s")                     \
  X(StringsNull, "EStringsError", "strings is null")                                  \
  X(StringsInsert, "EStringsError", "insert error")                                   \
  X(StringsDelete, "EStringsError", "delete error")                                   \
  X(StringsAddStrings, "EStringsError", "addStrings error")                           \
  X(StringsLoad, "EStringsError", "loadFromFile error")                               \
  X(StringsSave, "EStringsError", "saveToFile error")                                 \
  X(StringsList, "EStringsError", "%s")                                               \
  X(BufferDelete, "EStringError", "delete error")                                     \
  X(BufferInsert, "EStringError", "insert error")                                     \
  X(BufferReplace, "EStringError", "replace error")                                   \
  X(BufferLength, "EStringError", "length error %s")                                  \
  X(ShellExecute, "EWin32Error", "shellExecute error")                                \
  X(WinExec, "EWin32Error", "winExec error")                                          \
  X(IniCreate, "EIniError", "ini create error")                                       \
  X(IniDeleteKey, "EIniError", "deleteKey error: %s")                                 \
  X(IniEraseSection, "EIniError", "eraseSection error: %s")                           \
  X(IniReadSection, "EIniError", "readSection error: %s")                             \
  X(IniReadSections, "EIniError", "readSections error: %s")                           \
  X(IniRead, "EIniError", "read error: %s")                                           \
  X(IniWrite, "EIniError", "write error: %s")                                         \
  X(IniUpdate, "EIniError", "update error: %s")                                       \
  X(CrcCalc, "ECRCError", "calc error")                                               \
  X(CrcCalcFile, "ECRCError", "calcFile error")                                       \
  X(Base64Encode, "EBase64Error", "encode error")                                     \
  X(Base64Decode, "EBase64Error", "decode error")                                     \
  X(Base64EncodeHeader, "EBase64Error", "encodeHeader error")                         \
  X(Base64DecodeHeader, "EBase64Error", "decodeHeader error")                         \
  /* Network objects: "Class.method error". */                                        \
  X(SocketError, "ESocketError", "%s")

enum class ScriptError : uint8_t {
#define KESTRIN_SCRIPT_ERROR_KIND(kind, name, text) kind,
  KESTRIN_SCRIPT_ERRORS(KESTRIN_SCRIPT_ERROR_KIND)
#undef KESTRIN_SCRIPT_ERROR_KIND
};

using ErrorDetails = std::initializer_list<std::string_view>;

// The error name of a kind ("ETypeError").
std::string_view ErrorName(ScriptError kind);
// The message text of a kind with its details in place of "%s".
std::string ErrorText(ScriptError kind, ErrorDetails details = {});
// Raises the kind as EJThrow; `value` (null when not given) travels with it.
[[noreturn]] void RaiseError(ScriptError kind, ErrorDetails details = {}, const Value* value = nullptr);

}  // namespace kestrin::script
