// Script errors and control-flow signals of the engine.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

#include "script/core/value.h"

namespace kestrin::script {

// How a statement ended. The interpreter carries break, continue, return, the script's
// own throw and the errors it finds itself as these codes; a throw becomes a C++
// exception (EJThrow) only where it leaves the interpreter for C++ code that called it.
// C++ exceptions are kept for errors raised by natives and operators, abort and exit.
enum class Completion : uint8_t { Normal, Break, Continue, Return, Throw };

// Base of every engine exception; the message is the text shown to users (CP932 bytes).
class EJException : public std::exception {
public:
  explicit EJException(std::string message = {}) : message_(std::move(message)) {}
  const char* what() const noexcept override { return message_.c_str(); }
  const std::string& Message() const { return message_; }

private:
  std::string message_;
};

// The host asked the running script to stop.
class EJAbort : public EJException {
public:
  using EJException::EJException;
};

// Control flow, for code that prefers exceptions to completion codes.
class EJStatement : public EJException {
public:
  using EJException::EJException;
};
class EJBreak : public EJStatement {
public:
  EJBreak() : EJStatement("break") {}
};
class EJContinue : public EJStatement {
public:
  EJContinue() : EJStatement("continue") {}
};
class EJReturn : public EJStatement {
public:
  explicit EJReturn(Value v) : EJStatement("return"), value(std::move(v)) {}
  Value value;
};
// The script functions that end the script; no message.
class EJExit : public EJStatement {
public:
  explicit EJExit(int32_t code) : exit_code(code) {}
  int32_t exit_code;
};

// An error of a library that the engine runs for scripts (the regular-expression engine's
// ERegex), under the library's own error name. Script try does not catch it: it ends the
// run and is reported as "Exception: " + name + "(" + line + ") => " + message.
class EJLibraryError : public EJException {
public:
  EJLibraryError(std::string error_name, std::string message)
      : EJException(std::move(message)), error_name(std::move(error_name)) {}
  std::string error_name;
};

// Base of script errors.
class EJError : public EJException {
public:
  using EJException::EJException;
};

// A run-time error with its error name ("ETypeError") and a value (null unless given).
class EJRuntimeError : public EJError {
public:
  EJRuntimeError(std::string error_name, std::string message, const Value* value = nullptr)
      : EJError(std::move(message)), error_name(std::move(error_name)),
        value(value ? *value : Value::Null()) {}
  std::string error_name;
  Value value;
};

// Every script error raised by the engine and the host objects, and the script's throw.
class EJThrow : public EJRuntimeError {
public:
  using EJRuntimeError::EJRuntimeError;
};

// A compile error with its line; error name "ESyntaxError".
class EJSyntaxError : public EJRuntimeError {
public:
  EJSyntaxError(int32_t line, std::string message, const Value* value = nullptr)
      : EJRuntimeError("ESyntaxError", std::move(message), value), line_no(line) {}
  int32_t line_no;
};

}  // namespace kestrin::script
