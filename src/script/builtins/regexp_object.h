// RegExp: TJRegExp adapts TRegex to scripts (the global flag, loops over the whole input,
// replacement by template or callback, limited splits and the last-match state), and
// TJRegExpObject is the script class "RegExp" built on it. One RegExp per engine is its
// singleton: it shows the latest match of any RegExp and tests regex case labels.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "script/builtins/builtin_props.h"
#include "script/core/object.h"
#include "script/core/singletons.h"
#include "script/regexp/regex.h"

namespace kestrin::script {

class TJEngine;

class TJRegExp {
public:
  // Script mode (CP932 characters) with modifier r off; `cache` shares compiled programs.
  explicit TJRegExp(std::shared_ptr<RegexProgramCache> cache = nullptr);

  TRegex& Regex() { return regex_; }
  const TRegex& Regex() const { return regex_; }
  bool global = false;

  // The subject of the last operation.
  const StrRef& Input() const { return input_; }
  void SetInput(StrRef input) { input_ = std::move(input); }

  // Searches `input` and records the first match and, with the global flag, every later
  // one; `matches` (when given) receives their whole-match texts. The answer is that of
  // the first search; a failed search leaves the last recorded match as it was.
  bool Exec(const StrRef& input, std::vector<StrRef>* matches = nullptr);

  // The text that replaces one match, from the matcher that found it.
  using Replacer = std::function<StrRef(TRegex& match)>;
  // `input` with its first match (every match with the global flag) replaced. The loop
  // runs its own copy of the matcher, so a replacer that uses this object again cannot
  // disturb it; afterwards the state describes the last match replaced.
  StrRef Replace(const StrRef& input, const Replacer& replacer);
  // The pieces of `input` between matches, at most `limit` of them (negative: no limit).
  void Split(const StrRef& input, std::vector<std::string>& pieces, int32_t limit);

  void ClearMatch();
  // Copies pattern, modifiers, global flag, input and last match.
  void Assign(const TJRegExp& source);

  // The last match; texts are cut from its subject only when read.
  int32_t Index() const { return spans_[0].pos; }  // 0-based byte offset, -1 when none
  int32_t LastIndex() const { return spans_[0].pos < 0 ? -1 : spans_[0].pos + spans_[0].len; }
  StrRef LastMatch() const { return SubMatch(0); }
  StrRef LeftContext() const;
  StrRef RightContext() const;
  // The text of the highest-numbered group that took part, "" when none did.
  StrRef LastParen() const { return sub_count_ > 1 ? SubMatch(sub_count_ - 1) : StrRef(); }
  // Sub-match 0 (the whole match) and the groups up to the highest that took part.
  int SubMatchCount() const { return sub_count_; }
  StrRef SubMatch(int n) const;

private:
  struct Span {
    int32_t pos = -1;  // 0-based byte offset into matched_, -1 when the part did not match
    int32_t len = 0;
  };
  void RecordMatch(const TRegex& r, const StrRef& subject);

  TRegex regex_;
  StrRef input_;
  StrRef matched_;  // the subject that the recorded spans point into
  std::array<Span, TRegex::kSubMatches> spans_{};
  int sub_count_ = 0;
};

class TJRegExpObject : public TJObject {
public:
  // new RegExp(pattern [, flags]) or new RegExp(/literal/). With an engine that has a
  // RegExp singleton, every match is also shown there and exec() without an argument
  // reads the singleton's input.
  TJRegExpObject(BaseEngine* engine, const TJValueList* params);
  const ClassInfo& Class() const override;
  uint32_t ClassFlags() const override { return kRegExpObjectClass; }
  PublishedProperties* Published() override { return &props_; }
  // The dollar members "$0" to "$9", each "".
  void RegisterConstants() override;
  // "/" + source + "/" and the flags i, g, m in that order.
  StrRef ToString(const Value*) override;

  TJRegExp& State() { return re_; }
  // Copies the other object's state and refreshes the dollar members.
  void Assign(const TJRegExpObject& source);

  // The script's exec and test: the search runs, the dollar members take the sub-matches
  // ("" past the last), and the singleton is told (exec: on success).
  bool ScriptExec(const StrRef& input, std::vector<StrRef>* matches);
  bool ScriptTest(const StrRef& input);
  // exec() without an argument: the singleton's input, else "".
  StrRef SuppliedInput() const;
  // After a replace: the dollar members and the singleton describe the last match.
  void ReplaceDone(bool matched);

protected:
  // Pattern and flags of a regular-expression literal.
  void LoadLiteral(const Value& literal);
  void SetFlags(std::string_view letters);
  // "$0" to "$9" from the last match: sub-match d, or "" past the last.
  void CopyDollars();
  void AfterMatch();

  TJRegExp re_;

private:
  void Configure(const TJValueList& params);
  void SetDollar(int digit, StrRef text);

  WeakPtr<TJObject> singleton_;  // nil for the singleton itself and without an engine
  PropTable props_;
};

// The engine's RegExp object. It owns the compile cache that every RegExp of the engine
// shares, so a literal used in a loop (a fresh object each time) compiles once.
class TJRegExpSingleton final : public TJRegExpObject, public RegExpSingleton {
public:
  explicit TJRegExpSingleton(BaseEngine* engine);
  const std::shared_ptr<RegexProgramCache>& Cache() const { return cache_; }

  // RegExpSingleton.
  TJObject& Object() override { return *this; }
  bool CaseTest(const Value& label, const Value& subject) override;
  void Reset() override;

private:
  std::shared_ptr<RegexProgramCache> cache_;
};

// The String methods that work through a RegExp: match, replace, search and split.
void StringMatch(TJObject& self, TJValueList& params, Value& result);
void StringReplace(TJObject& self, TJValueList& params, Value& result);
void StringSearch(TJObject& self, TJValueList& params, Value& result);
void StringSplit(TJObject& self, TJValueList& params, Value& result);

// Registers "RegExp" and gives the engine its RegExp singleton.
void RegisterRegExp(TJEngine& engine);

}  // namespace kestrin::script
