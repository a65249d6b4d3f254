// The script parser: source elements, class definitions and the import of ".dms" libraries.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "script/core/parser.h"
#include "script/core/source_text.h"

namespace kestrin::script {
namespace {

namespace fs = std::filesystem;

// Imports one compilation may make, and the characters they may bring in, counting those
// of its libraries: more means libraries that import each other over and over.
constexpr int kMaxImports = 1000;
constexpr size_t kMaxImportedChars = size_t{32} << 20;
constexpr std::uintmax_t kMaxLibraryBytes = 16u << 20;

bool IsRegularFile(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return lower(x) == lower(y);
  });
}

// The file itself, else the only file of its folder whose name matches without case.
bool FindFile(const std::string& candidate, std::string& path) {
  if (IsRegularFile(candidate)) {
    path = candidate;
    return true;
  }
  size_t slash = candidate.rfind('/');
  std::string folder = slash == std::string::npos ? "." : candidate.substr(0, slash + 1);
  std::string name = slash == std::string::npos ? candidate : candidate.substr(slash + 1);
  std::error_code ec;
  fs::directory_iterator it(folder.empty() ? "/" : folder, ec), end;
  std::string found;
  int matches = 0;
  for (; !ec && it != end; it.increment(ec)) {
    std::string entry = it->path().filename().string();
    if (EqualsIgnoringCase(entry, name) && IsRegularFile(it->path().string())) {
      found = slash == std::string::npos ? entry : folder + entry;
      ++matches;
    }
  }
  if (matches != 1) return false;
  path = found;
  return true;
}

}  // namespace

// The top level of a program or library: class definitions, imports and statements up to
// the first token that starts none of them; the text from there on is ignored.
TJStatement* TJParser::ParseSourceElements() {
  StatementChain chain;
  while (TJStatement* s = Is(tkClass) ? ParseClass() : Is(tkImport) ? ParseImport() : ParseStatement())
    chain.Append(s);
  return chain.first;
}

// class Name [ "(" Base ")" | extends Base ] "{" Members "}"
TJStatement* TJParser::ParseClass() {
  Lexer.Next();
  Expect(tkIdentifier);
  TJExpr* name = ExprFactory.MakeIdentifier(Lexer.TokenText);
  Lexer.Next();
  TJExpr* base = nullptr;
  if (Is(tkLParen) || Is(tkExtends)) {
    bool parenthesised = Is(tkLParen);
    Lexer.Next();
    Expect(tkIdentifier);
    base = ExprFactory.MakeIdentifier(Lexer.TokenText);
    Lexer.Next();
    if (parenthesised) ExpectAndNext(tkRParen);
  }
  Expect(tkLBrace);
  StmtFactory.BeginClass(Nesting, Line());
  Lexer.Next();
  TJStatement* members = ParseClassMembers();
  ExpectAndNext(tkRBrace);
  return StmtFactory.EndClass(Nesting, name, members, base);
}

// Function definitions, var/static/global declarations and bare declaration lists.
TJStatement* TJParser::ParseClassMembers() {
  StatementChain chain;
  for (;;) {
    TJStatement* s = nullptr;
    if (Is(tkFunction)) {
      s = ParseFunctionStatement();
    } else if (Is(tkVar) || Is(tkStatic) || Is(tkGlobal)) {
      s = ParseDeclaration(Is(tkVar) ? 1 : Is(tkStatic) ? 2 : 0);
    } else if (Is(tkIdentifier)) {
      TJStatement* items = ParseDeclarationItems();
      Expect(tkSemicolon);
      s = StmtFactory.MakeDeclaration(Line(), 1, items);
      Lexer.Next();
    } else {
      return chain.first;
    }
    chain.Append(s);
  }
}

// import Name ";" parses the library as a module of that name; import Name "." "*" ";"
// splices its text into the source right after the ";".
TJStatement* TJParser::ParseImport() {
  Lexer.Next();
  Expect(tkIdentifier);
  TJExpr* name = ExprFactory.MakeIdentifier(Lexer.TokenText);
  std::string file_name = Lexer.TokenText + ".dms";
  Lexer.Next();
  bool textual = Is(tkDot);
  if (textual) {
    Lexer.Next();
    if (!IsOp(tkMultiplicative, '*')) SyntaxError();
    Lexer.Next();
  }
  Expect(tkSemicolon);
  std::u32string text;
  std::string path;
  if (!LoadLibrary(file_name, text, path)) SyntaxError(ScriptError::LibraryNotOpened, {file_name});
  if (IsOpenLibrary(path)) SyntaxError(ScriptError::CircularImport, {file_name});
  imports_->chars += text.size();
  if (++imports_->count > kMaxImports || imports_->chars > kMaxImportedChars)
    SyntaxError(ScriptError::TooManyImports, {file_name});
  TJStatement* s = nullptr;
  if (textual) {
    size_t at = Lexer.Position();
    size_t length = Lexer.InsertSource(text);
    for (Splice& open : splices_) open.end += length;
    splices_.push_back({path, at + length});
    s = StmtFactory.Make(stEmpty, Line());
  } else {
    auto sub = std::make_unique<TJParser>();
    sub->open_libraries_ = open_libraries_;
    for (const Splice& open : splices_) sub->open_libraries_.push_back(open.path);
    sub->open_libraries_.push_back(path);
    sub->imports_ = imports_;
    sub->import_depth_ = import_depth_ + 1;
    if (sub->import_depth_ > kMaxImportDepth) SyntaxError(ScriptError::TooDeeplyNested);
    const NestingLevel level = EnterNesting();
    sub->Source = std::move(text);
    TJParser& parser = *SubParsers.emplace_back(std::move(sub));
    s = parser.Parse(name) ? parser.Root : StmtFactory.Make(stEmpty, Line());
  }
  Lexer.Next();
  return s;
}

// True when the library is being parsed already: by an importing parser, or as text
// spliced into this source that the lexer has not yet left.
bool TJParser::IsOpenLibrary(const std::string& path) {
  std::error_code ec;
  std::string canonical = fs::weakly_canonical(path, ec).string();
  if (ec) canonical = path;
  while (!splices_.empty() && Lexer.Position() > splices_.back().end) splices_.pop_back();
  auto same = [&](const std::string& p) { return p == canonical; };
  if (std::any_of(open_libraries_.begin(), open_libraries_.end(), same)) return true;
  return std::any_of(splices_.begin(), splices_.end(), [&](const Splice& s) { return same(s.path); });
}

bool TJParser::FindLibrary(const std::string& file_name, std::string& path) const {
  if (FindFile(file_name, path)) return true;
  size_t slash = file_name.rfind('/');
  std::string name = slash == std::string::npos ? file_name : file_name.substr(slash + 1);
  for (const std::string& folder : LibraryPath) {
    if (folder.empty()) continue;
    std::string candidate = folder.back() == '/' ? folder + name : folder + "/" + name;
    if (FindFile(candidate, path)) return true;
  }
  return false;
}

// Finds and reads a library: UTF-8 text when valid, else CP932. `path` is its canonical path.
bool TJParser::LoadLibrary(const std::string& file_name, std::u32string& text, std::string& path) {
  std::string found;
  if (!FindLibrary(file_name, found)) return false;
  std::error_code ec;
  std::uintmax_t size = fs::file_size(found, ec);
  if (ec || size > kMaxLibraryBytes) return false;
  std::ifstream in(found, std::ios::binary);
  if (!in) return false;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return false;
  text = DecodeScriptSource(bytes);
  path = fs::weakly_canonical(found, ec).string();
  if (ec) path = found;
  return true;
}

}  // namespace kestrin::script
