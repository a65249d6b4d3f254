// The methods of the `Kestrin` script object, in one table that every binding shares: the
// script object registers them with the engine, the headless harness reads them from
// command lines. An entry names the method, says how many arguments it reads and runs the
// routine the menus run; the binding converts its own argument values (script values,
// command-line text) through MethodArgs and shows the result its own way.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace kestrin {

// A method's arguments as the binding converts them.
class MethodArgs {
public:
  virtual ~MethodArgs() = default;
  virtual size_t count() const = 0;
  // Argument i as a real number, an integer (rounded, halves to even) and a string. A
  // binding whose values cannot be converted throws its conversion error.
  virtual double number(size_t i) const = 0;
  virtual int32_t integer(size_t i) const = 0;
  virtual std::string text(size_t i) const = 0;
};

// A method's result: nothing (the script's undefined), an integer or a real number.
using MethodResult = std::variant<std::monostate, int32_t, double>;

struct KestrinMethod {
  std::string name;
  // A method does nothing, and has no result, unless it gets at least this many arguments
  // (Test and LineFit ask for more once they know their point count).
  size_t arguments = 0;
  std::function<MethodResult(const MethodArgs&)> run;
};

// The script object's 76 methods, in its registration order. A method whose routine is
// not part of this build logs " <routine>() : not available in this version." and changes
// nothing.
std::span<const KestrinMethod> kestrin_methods();
// The method of that name, or null.
const KestrinMethod* find_kestrin_method(std::string_view name);

// Runs a method under the argument rule above. Index and coordinate arguments outside the
// data they address give no result and read nothing. Text that a method must read as a
// number (GetValue1, GetValue2) throws ConversionError.
MethodResult call_kestrin_method(const KestrinMethod& method, const MethodArgs& args);

}  // namespace kestrin
