// Command parsing and the run loop of the headless harness.
#include "harness/harness.h"

#include <cctype>
#include <cmath>
#include <istream>

#include "base/convert.h"
#include "ports/log.h"

namespace kestrin::harness {

std::optional<int32_t> integer_arg(const std::string& text) {
  if (auto v = TryStrToInt(text)) return v;
  if (auto v = TryStrToFloat(text)) return saturate_int32(std::nearbyint(*v));
  return std::nullopt;
}

double TextArgs::number(size_t i) const { return StrToFloat(args_.at(i)); }

int32_t TextArgs::integer(size_t i) const {
  if (auto v = integer_arg(args_.at(i))) return *v;
  return int32_t(StrToFloat(args_.at(i)));  // throws the conversion error
}

namespace {

std::string trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
  return s.substr(b, e - b);
}

// Reads a quoted literal starting at s[i] (the quote); handles \\ \' \" escapes.
bool read_quoted(const std::string& s, size_t& i, std::string& out) {
  const char q = s[i++];
  while (i < s.size() && s[i] != q) {
    if (s[i] == '\\' && i + 1 < s.size()) ++i;
    out += s[i++];
  }
  if (i >= s.size()) return false;
  ++i;
  return true;
}

bool parse_macro_args(const std::string& inner, Args& args, std::string& error) {
  size_t i = 0;
  while (true) {
    while (i < inner.size() && std::isspace(static_cast<unsigned char>(inner[i]))) ++i;
    if (i >= inner.size()) return args.empty() || (error = "missing argument", false);
    std::string arg;
    if (inner[i] == '\'' || inner[i] == '"') {
      if (!read_quoted(inner, i, arg)) return error = "unterminated string", false;
    } else {
      size_t j = inner.find(',', i);
      arg = trim(inner.substr(i, j == std::string::npos ? std::string::npos : j - i));
      i = j == std::string::npos ? inner.size() : j;
    }
    args.push_back(arg);
    while (i < inner.size() && std::isspace(static_cast<unsigned char>(inner[i]))) ++i;
    if (i >= inner.size()) return true;
    if (inner[i] != ',') return error = "expected ','", false;
    ++i;
  }
}

}  // namespace

bool parse_command(const std::string& raw, std::string& name, Args& args, std::string& error) {
  name.clear();
  args.clear();
  error.clear();
  std::string line = trim(raw);
  if (line.empty() || line[0] == '#' || line.rfind("//", 0) == 0) return false;
  if (line.rfind("Kestrin", 0) == 0 && line.find('=') != std::string::npos &&
      line.find("new") != std::string::npos && line.find('(') == std::string::npos)
    return false;
  if (line.rfind("Kestrin.", 0) == 0) {
    size_t open = line.find('(');
    size_t close = line.rfind(')');
    if (open == std::string::npos || close == std::string::npos || close < open) {
      error = "bad macro line";
      return false;
    }
    name = trim(line.substr(8, open - 8));
    return parse_macro_args(line.substr(open + 1, close - open - 1), args, error);
  }
  size_t i = 0;
  while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i]))) ++i;
  name = line.substr(0, i);
  while (i < line.size()) {
    while (i < line.size() && std::isspace(static_cast<unsigned char>(line[i]))) ++i;
    if (i >= line.size()) break;
    std::string arg;
    if (line[i] == '\'' || line[i] == '"') {
      if (!read_quoted(line, i, arg)) return error = "unterminated string", false;
    } else {
      while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i]))) arg += line[i++];
    }
    args.push_back(arg);
  }
  return true;
}

namespace {

const KestrinMethod* find_in(std::span<const KestrinMethod> methods, const std::string& name) {
  for (const KestrinMethod& m : methods)
    if (m.name == name) return &m;
  return nullptr;
}

void print_result(std::ostream& out, const MethodResult& result) {
  if (const int32_t* i = std::get_if<int32_t>(&result)) out << "= " << *i << '\n';
  if (const double* d = std::get_if<double>(&result)) out << "= " << FloatToStr(*d) << '\n';
}

}  // namespace

std::span<const KestrinMethod> harness_methods() {
  static const std::vector<KestrinMethod> all = [] {
    std::vector<KestrinMethod> methods(kestrin_methods().begin(), kestrin_methods().end());
    methods.insert(methods.end(), bitmap_commands().begin(), bitmap_commands().end());
    methods.insert(methods.end(), image_window_commands().begin(), image_window_commands().end());
    methods.insert(methods.end(), window_commands().begin(), window_commands().end());
    return methods;
  }();
  return all;
}

void run_commands(std::istream& in, std::ostream& out, std::ostream& err, std::span<const KestrinMethod> methods) {
  the_log().set_listener([&out](const std::string& l) { out << l << '\n'; });
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    std::string name, error;
    Args args;
    if (!parse_command(line, name, args, error)) {
      if (!error.empty()) err << "line " << number << ": " << error << '\n';
      continue;
    }
    const KestrinMethod* method = find_in(methods, name);
    if (!method) {
      err << "line " << number << ": unknown command " << name << '\n';
      continue;
    }
    try {
      print_result(out, call_kestrin_method(*method, TextArgs(args)));
    } catch (const std::exception& e) {
      err << "line " << number << ": " << name << ": " << e.what() << '\n';
    }
    out.flush();
  }
  the_log().set_listener(nullptr);
}

}  // namespace kestrin::harness
