// Command parsing and the run loop of the headless harness.
#include "harness/harness.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <istream>

#include "base/convert.h"
#include "base/cp932.h"
#include "base/wrap_int.h"
#include "ports/log.h"
#include "script/core/lex.h"
#include "script/core/source_text.h"

namespace kestrin::harness {

std::optional<int32_t> integer_arg(const std::string& text) {
  if (auto v = TryStrToInt(text)) return v;
  if (auto v = TryStrToFloat(text)) return RoundToInt32Wrapped(*v);
  return std::nullopt;
}

double TextArgs::number(size_t i) const { return StrToFloat(args_.at(i)); }

int32_t TextArgs::integer(size_t i) const {
  if (auto v = integer_arg(args_.at(i))) return *v;
  return int32_t(StrToFloat(args_.at(i)));  // throws the conversion error
}

namespace {

using script::TJLex;

std::string trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
  return s.substr(b, e - b);
}

// Reads a quoted argument of the plain form starting at s[i] (the quote); handles \\ \' \"
// escapes.
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

std::string shortest_text(double v) {
  char buffer[32];
  const auto r = std::to_chars(buffer, buffer + sizeof buffer, v);
  return std::string(buffer, r.ptr);
}

// One argument of a macro line, read by the script lexer: a string literal (its CP932
// bytes back in UTF-8, as the script object hands them on) or a number with an optional
// sign, given as text that StrToFloat reads back as the same value.
bool read_literal(TJLex& lex, std::string& arg, std::string& error) {
  bool negative = false;
  if (lex.Token == script::tkAdditive) {
    negative = lex.SubCode == '-';
    if (!lex.Next()) return error = "missing argument", false;
  }
  switch (lex.Token) {
    case script::tkString:
      if (negative) return error = "unsupported argument", false;
      arg = cp932_to_utf8(lex.TokenText);
      break;
    case script::tkInteger:
      arg = std::to_string(negative ? -int64_t(lex.IntValue) : int64_t(lex.IntValue));
      break;
    case script::tkFloat:
      arg = shortest_text(negative ? -lex.FloatValue : lex.FloatValue);
      break;
    default:
      return error = "unsupported argument", false;
  }
  lex.Next();
  return true;
}

// "Kestrin.Name(arg, ...);" read token by token, with the literal rules of the scripts.
bool parse_macro_line(const std::string& line, std::string& name, Args& args, std::string& error) {
  TJLex lex;
  lex.SetSource(script::DecodeScriptSource(line));
  auto expect = [&lex](int token) { return lex.Next() && lex.Token == token; };
  if (!expect(script::tkIdentifier) || !expect(script::tkDot) || !expect(script::tkIdentifier))
    return error = "bad macro line", false;
  name = lex.TokenText;
  if (!expect(script::tkLParen) || !lex.Next()) return error = "bad macro line", false;
  while (lex.Token != script::tkRParen) {
    std::string arg;
    if (!read_literal(lex, arg, error)) return false;
    args.push_back(std::move(arg));
    if (lex.Token == script::tkComma) {
      if (!lex.Next() || lex.Token == script::tkRParen) return error = "missing argument", false;
    } else if (lex.Token != script::tkRParen) {
      return error = lex.Token == 0 ? "bad macro line" : "expected ','", false;
    }
  }
  if (lex.Next() && lex.Token == script::tkSemicolon) lex.Next();
  if (lex.Token != 0) return error = "bad macro line", false;
  return true;
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
  if (line.rfind("Kestrin.", 0) == 0) return parse_macro_line(line, name, args, error);
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
    for (std::span<const KestrinMethod> own :
         {bitmap_commands(), image_window_commands(), window_commands(), analysis_window_commands(), fit_commands()})
      methods.insert(methods.end(), own.begin(), own.end());
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
