// The script lexer: turns decoded source characters into tokens (code, sub-code, value,
// text, line), telling regular-expression literals from division by the previous token.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace kestrin::script {

// Token codes of the script language.
enum TokenCode : int {
  tkNone = 0,
  tkVar = 257, tkFunction = 258, tkIf = 260, tkElse = 261, tkWhile = 262, tkFor = 263,
  tkContinue = 264, tkBreak = 265, tkReturn = 266, tkWith = 267, tkThis = 268, tkNull = 269,
  tkTrue = 270, tkFalse = 271, tkNew = 272, tkDelete = 273, tkVoid = 274, tkTypeof = 275,
  tkTry = 276, tkCatch = 277, tkFinally = 278, tkThrow = 279, tkUndefined = 280,
  tkInfinity = 281, tkIn = 282, tkCase = 283, tkClass = 284, tkConst = 285, tkDebugger = 286,
  tkDo = 287, tkEnum = 288, tkExport = 289, tkExtends = 290, tkImport = 291, tkSuper = 292,
  tkSwitch = 293, tkString = 294, tkIdentifier = 295, tkInteger = 296, tkFloat = 297,
  tkLParen = 299, tkRParen = 300, tkLBrace = 301, tkRBrace = 302, tkLBracket = 303,
  tkRBracket = 304, tkSemicolon = 305, tkComma = 306,
  tkAdditive = 308,        // + -            sub-code '+' '-'
  tkShift = 309,           // << >> >>>      sub-code '<' '>' '3'
  tkMultiplicative = 310,  // * / %          sub-code the operator
  tkRelational = 311,      // < > <= >=      sub-code '<' '>' '(' ')'
  tkEquality = 312,        // == != === !==  sub-code '=' '!' '3' '2'
  tkAssignOp = 313,        // += ... >>>=    sub-code the operator, '<' '>' '3' for shifts
  tkIncDec = 314,          // ++ --          sub-code '+' '-'
  tkNot = 315,             // ! ~            sub-code '!' '~'
  tkAssign = 316, tkQuestion = 317, tkColon = 318, tkOrOr = 319, tkAndAnd = 320, tkBitOr = 321,
  tkBitXor = 322, tkBitAnd = 323, tkDot = 324, tkRegExp = 325, tkDefault = 326, tkAt = 327,
  tkStatic = 328, tkGlobal = 329,
  tkNaN = 502,  // "NaN" and number literals that no conversion accepts
};

class TJLex {
public:
  TJLex();
  TJLex(const TJLex&) = delete;  // source_ may point into owned_
  TJLex& operator=(const TJLex&) = delete;

  void Reset();
  void SetSource(std::u32string text);
  // Reads valid UTF-8 text in place, without a copy (its bytes are the packed form of its
  // characters). The text must outlive the reading, up to ForgetViewedSource at the latest.
  void ViewSource(std::string_view utf8);
  // Lets go of a text read in place; a text of the lexer's own stays.
  void ForgetViewedSource();
  // Inserts text so that it is read next (the textual form of import); the length it
  // takes in the source, in the units of Position.
  size_t InsertSource(std::u32string_view text);
  // Reads the next token; false at the end of input (Token is then 0).
  bool Next();

  int Token = 0;
  int PrevToken = 0;
  int Line = 1;
  char SubCode = 0;          // tokens 308 to 315
  int32_t IntValue = 0;      // token 296
  double FloatValue = 0;     // token 297
  // The token's text as CP932 bytes: for strings the decoded contents, for regular
  // expressions the pattern, a NUL character and the flags.
  std::string TokenText;
  // Called after each token with its decimal code, "( ", its text and " )".
  std::function<void(const std::string&)> OnTrace;

  // The reading position, an offset into the source as the lexer keeps it.
  size_t Position() const { return pos_; }
  bool AtEnd() const { return pos_ >= source_.size(); }

private:
  char32_t ReadChar();
  // The next character without adding it to the token's characters.
  char32_t ReadContentChar();
  void UnreadChar();
  char32_t PeekChar() const;
  int ReadIdentifier();
  int ReadNumber();
  int ReadString();
  int ReadOperator();
  int ReadRegExp();
  int ReadSlash();
  bool SkipComment(char32_t kind);
  int Op(int code, char sub = 0);
  int ConvertNumber(const std::string& text, bool is_float);
  bool SlashIsDivision() const;

  std::string owned_;        // packed characters (lex.cpp) unless the text is viewed
  std::string_view source_;  // the text read: owned_, or a viewed UTF-8 text
  size_t pos_ = 0;           // a byte offset into source_
  std::u32string text_;  // characters of the current token
};

}  // namespace kestrin::script
