// The headless harness: runs methods of the Kestrin script object given as command lines,
// prints every log line and every result.
#pragma once

#include <functional>
#include <istream>
#include <optional>
#include <map>
#include <ostream>
#include <cstdint>
#include <string>
#include <vector>

namespace kestrin::harness {

using Args = std::vector<std::string>;
// A command runs with its arguments (script-literal text already unquoted) and returns
// its result text, or nothing for methods without a result.
using CommandFn = std::function<std::optional<std::string>(const Args&)>;

class Registry {
public:
  // Adds a command; a name registered twice is a programming error (std::logic_error).
  void add(const std::string& name, CommandFn fn);
  const CommandFn* find(const std::string& name) const;
  const std::map<std::string, CommandFn>& all() const { return commands_; }

private:
  std::map<std::string, CommandFn> commands_;
};

// Splits one input line into a method name and its arguments. Accepts "Name arg arg"
// (arguments separated by blanks, quoted with ' or " when they hold blanks) and the
// recorded-macro form "Kestrin.Name('arg', 2);". Returns false for lines with nothing to
// run (blank, comments, "Kestrin = new Kestrin;").
bool parse_command(const std::string& line, std::string& name, Args& args, std::string& error);

// A script argument as an integer, as the script object converts it: integer text as it
// is ("$1F" included), a number rounded to the nearest integer with ties to even (2.5
// gives 2) and clamped to the Int32 range; nothing for what is not a number.
std::optional<int32_t> integer_arg(const std::string& text);

// Runs every line of `in`; log lines and results go to `out`, problems to `err`.
void run_commands(std::istream& in, std::ostream& out, std::ostream& err, const Registry& registry);

// Every command group, and the hooks the headless program needs (parameter reading).
void register_all_commands(Registry& r);
// The program's start without windows: the start state, then the settings file of the
// configuration folder ($XDG_CONFIG_HOME/kestrin), then the geometry read from the controls.
void start_headless_program();

// Command groups, one per area of the program.
void register_core_commands(Registry& r);
void register_integration_commands(Registry& r);
void register_peak_commands(Registry& r);
void register_loading_commands(Registry& r);
void register_pattern_commands(Registry& r);
void register_histogram_commands(Registry& r);

}  // namespace kestrin::harness
