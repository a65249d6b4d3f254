// S-expression dumps of syntax trees, for tests.
#include "ast_dump.h"

#include <charconv>

namespace kestrin::script::test {
namespace {

const char* OpName(int code) {
  static const char* const names[] = {
      "empty", ",", "+", "-", "/", "*", "%", "div", "=", "*=", "/=", "+=", "-=", "%=", "<<=",
      ">>=", ">>>=", "&=", "^=", "|=", "const", "id", "pos", "neg", "this", ".", "prop",
      "super.", "new", "object", "array", "call", "list", "pre++", "pre--", "post++", "post--",
      "delete", "void", "typeof", "!", "||", "||all", "&&", "&&all", "<<", ">>", ">>>", "<", ">",
      "<=", ">=", "==", "!=", "===", "!==", "&", "^", "|", "~", "?:", "function", "method", "var"};
  return code >= 0 && code <= 63 ? names[code] : "?";
}

const char* TypeName(int type) {
  static const char* const names[] = {
      "empty", "module", "block", "expr", "if", "while", "do", "for", "forin", "forin7",
      "function", "param", "class", "item", "break", "continue", "return", "try", "catch",
      "finally", "throw", "with", "var", "case", "switch", "static", "global"};
  return type >= 0 && type <= 26 ? names[type] : "?";
}

std::string Quote(std::string_view s) {
  std::string out = "\"";
  for (unsigned char c : s) {
    if (c < 32 || c == '"' || c == '\\') {
      static const char hex[] = "0123456789ABCDEF";
      out += "\\x";
      out += hex[c >> 4];
      out += hex[c & 15];
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

std::string Constant(const Value& v) {
  switch (v.type()) {
    case vtInteger: return std::to_string(v.integer());
    case vtDouble: {
      char buf[64];
      auto r = std::to_chars(buf, buf + sizeof buf, v.dbl());
      std::string s(buf, r.ptr);
      if (s.find_first_of(".e") == std::string::npos) s += ".0";
      return s;
    }
    case vtString: return Quote(v.text());
    case vtBool: return v.boolean() ? "true" : "false";
    case vtNull: return "null";
    case vtNaN: return "NaN";
    case vtInfinity: return v.negative() ? "-inf" : "inf";
    case vtRegExp: return "/" + std::string(v.text()) + "/" + std::string(v.regexp_flags());
    default: return "?";
  }
}

void DumpList(const TJExpr* list, std::string& out) {
  if (!list) return;
  DumpList(list->Left, out);  // lists are short in tests
  if (list->Left) out += ' ';
  out += DumpExpr(list->Right);
}

std::string Opt(const TJExpr* e) { return e ? DumpExpr(e) : "_"; }

}  // namespace

std::string DumpExpr(const TJExpr* e) {
  if (!e) return "_";
  switch (e->Code) {
    case ecConstant: return Constant(*e->Value);
    case ecIdentifier: return e->Name->str();
    case ecThis: return "this";
    case ecEmpty: return "()";
    case ecList: {
      std::string out = "[";
      DumpList(e, out);
      return out + "]";
    }
    case ecFunction: return DumpStatements(e->Statement);
    default: break;
  }
  std::string out = "(";
  out += OpName(e->Code);
  if (e->Code == ecProperty) return out + " " + DumpExpr(e->Left) + " " + Opt(e->Right) + ")";
  if (e->Code == ecConditional) {
    return out + " " + DumpExpr(e->Left) + " " + DumpExpr(e->Right) + " " + DumpExpr(e->Third) + ")";
  }
  if (e->Code == ecMethodCall) {
    return out + " " + DumpExpr(e->Left) + " " + DumpExpr(e->Right) + " " + (e->Third ? DumpExpr(e->Third) : "[]") + ")";
  }
  bool list_right = e->Code == ecCall || e->Code == ecNew;
  bool list_left = e->Code == ecObject || e->Code == ecArray;
  if (e->Left) out += " " + DumpExpr(e->Left);
  else if (list_left) out += " []";
  if (e->Right) out += " " + DumpExpr(e->Right);
  else if (list_right) out += " []";
  return out + ")";
}

namespace {

std::string Chain(const TJStatement* s, bool lines) { return s ? " " + DumpStatements(s, lines) : ""; }

std::string DumpOne(const TJStatement* s, bool lines) {
  std::string out = "(";
  out += s->Type == stCase && !s->Expr ? "default" : TypeName(s->Type);
  if (lines) out += ":" + std::to_string(s->Line);
  switch (s->Type) {
    case stModule:
    case stBlock:
    case stVar:
    case stStatic:
    case stGlobal:
      if (s->Expr) out += " " + DumpExpr(s->Expr);
      return out + Chain(s->Sub1(), lines) + ")";
    case stFunction:
      out += " " + Opt(s->Expr) + " (params" + Chain(s->Sub1(), lines) + ")";
      return out + Chain(s->Sub2(), lines) + ")";
    case stClass:
      out += " " + DumpExpr(s->Expr) + " " + Opt(s->Expr ? s->Expr->Left : nullptr);
      return out + Chain(s->Sub1(), lines) + ")";
    case stDeclItem:
      return out + " " + DumpExpr(s->Expr) + (s->Expr->Left ? " " + DumpExpr(s->Expr->Left) : "") + ")";
    case stFor:
      out += " " + Opt(s->Expr) + " " + Opt(s->Sub2()->Expr) + " " + Opt(s->Sub2()->Next->Expr);
      return out + " " + DumpOne(s->Sub1(), lines) + ")";
    case stForIn:
    case stForInValues:
      return out + " " + DumpExpr(s->Expr) + " " + DumpExpr(s->Sub2()->Expr) + " " + DumpOne(s->Sub1(), lines) + ")";
    case stTry:
      out += " " + DumpOne(s->Sub1(), lines);
      if (s->Sub2()) out += " " + DumpOne(s->Sub2(), lines);
      if (s->Sub3()) out += " " + DumpOne(s->Sub3(), lines);
      return out + ")";
    default:
      if (s->Expr) out += " " + DumpExpr(s->Expr);
      if (s->Sub1()) out += (s->Type == stCase || s->Type == stSwitch) ? Chain(s->Sub1(), lines) : " " + DumpOne(s->Sub1(), lines);
      if (s->Sub2()) out += " " + DumpOne(s->Sub2(), lines);
      return out + ")";
  }
}

}  // namespace

std::string DumpStatements(const TJStatement* first, bool with_lines) {
  std::string out;
  for (const TJStatement* s = first; s; s = s->Next) {
    if (!out.empty()) out += ' ';
    out += DumpOne(s, with_lines);
  }
  return out;
}

}  // namespace kestrin::script::test

#include "parse_helpers.h"
#include "script/core/source_text.h"

namespace kestrin::script::test {

std::string ParseToText(TJParser& parser, std::string_view source, bool with_lines) {
  parser.Source = DecodeScriptSource(source);
  try {
    if (!parser.Parse()) return "<none>";
    return DumpStatements(parser.Root->Sub1(), with_lines);
  } catch (const EJSyntaxError& e) {
    return "error " + std::to_string(e.line_no) + ": " + e.Message();
  } catch (const EJRuntimeError& e) {
    return e.error_name + ": " + e.Message();
  }
}

std::string ParseToText(std::string_view source, bool with_lines) {
  TJParser parser;
  return ParseToText(parser, source, with_lines);
}

}  // namespace kestrin::script::test
