// RegExp: the adapter of TRegex with its last-match state, the script class with its
// properties, dollar members and methods, and the engine's singleton.
#include "script/builtins/regexp_object.h"

#include <utility>

#include "script/builtins/regexp_guard.h"
#include "script/core/engine.h"
#include "script/core/value_list.h"

namespace kestrin::script {
namespace {

constexpr int kDollarMembers = 10;
// A split without a limit keeps at most this many pieces.
constexpr int32_t kNoLimit = 2147483646;

// The members "$0" to "$9", each "", made once per thread (names are counted without
// atomics). A new RegExp starts with a copy.
const PropertyMap& Dollars() {
  thread_local const PropertyMap dollars = [] {
    PropertyMap m;
    for (int d = 0; d < kDollarMembers; ++d) m.Put(StrRef(std::string{'$', static_cast<char>('0' + d)}), Value::String(StrRef()));
    return m;
  }();
  return dollars;
}

StrRef Cut(const StrRef& text, int32_t pos, int32_t len) {
  if (pos < 0) return StrRef();
  return StrRef(text.view().substr(static_cast<size_t>(pos), static_cast<size_t>(len)));
}

TJRegExpObject& RegExpOf(TJObject& self) { return static_cast<TJRegExpObject&>(self); }

// The engine's RegExp singleton, when `engine` is an engine that has one.
TJRegExpSingleton* SingletonOf(BaseEngine* engine) {
  auto* e = dynamic_cast<TJEngine*>(engine);
  return e ? dynamic_cast<TJRegExpSingleton*>(e->RegExp()) : nullptr;
}

Value NewArrayOfTexts(TJObject& self, const std::vector<StrRef>& texts) {
  BaseEngine* engine = self.Engine();
  if (!engine) return Value();
  TJValueList items;
  for (const StrRef& t : texts) items.AddString(t);
  return engine->NewArray(items);
}

// ---- properties ----

Value GetIgnoreCase(TJObject& self) { return Value::Bool(RegExpOf(self).State().Regex().GetModifier(1)); }
void SetIgnoreCase(TJObject& self, const Value& v) { RegExpOf(self).State().Regex().SetModifier(1, ValueToBool(v)); }
Value GetMultiline(TJObject& self) { return Value::Bool(RegExpOf(self).State().Regex().GetModifier(5)); }
void SetMultiline(TJObject& self, const Value& v) { RegExpOf(self).State().Regex().SetModifier(5, ValueToBool(v)); }
Value GetGlobal(TJObject& self) { return Value::Bool(RegExpOf(self).State().global); }
void SetGlobal(TJObject& self, const Value& v) { RegExpOf(self).State().global = ValueToBool(v); }
Value GetSource(TJObject& self) { return Value::String(RegExpOf(self).State().Regex().Expression()); }
void SetSource(TJObject& self, const Value& v) { RegExpOf(self).State().Regex().SetExpression(ValueToString(v).view()); }
Value GetInput(TJObject& self) { return Value::String(RegExpOf(self).State().Input()); }
void SetInput(TJObject& self, const Value& v) { RegExpOf(self).State().SetInput(ValueToString(v)); }
Value GetIndex(TJObject& self) { return Value::Integer(RegExpOf(self).State().Index()); }
Value GetLastIndex(TJObject& self) { return Value::Integer(RegExpOf(self).State().LastIndex()); }
Value GetLastMatch(TJObject& self) { return Value::String(RegExpOf(self).State().LastMatch()); }
Value GetLastParen(TJObject& self) { return Value::String(RegExpOf(self).State().LastParen()); }
Value GetLeftContext(TJObject& self) { return Value::String(RegExpOf(self).State().LeftContext()); }
Value GetRightContext(TJObject& self) { return Value::String(RegExpOf(self).State().RightContext()); }

constexpr PropDef kRegExpProps[] = {
    {"ignoreCase", GetIgnoreCase, SetIgnoreCase}, {"global", GetGlobal, SetGlobal},
    {"source", GetSource, SetSource}, {"multiline", GetMultiline, SetMultiline},
    {"input", GetInput, SetInput}, {"index", GetIndex, nullptr}, {"lastIndex", GetLastIndex, nullptr},
    {"lastMatch", GetLastMatch, nullptr}, {"lastParen", GetLastParen, nullptr},
    {"leftContext", GetLeftContext, nullptr}, {"rightContext", GetRightContext, nullptr}};

// ---- methods ----

// exec([input]): null, or an Array of the whole-match texts (every match when global).
void RExec(TJObject& self, TJValueList& params, Value& result) {
  TJRegExpObject& re = RegExpOf(self);
  const StrRef input = params.GetCount() > 0 ? ValueToString(params.GetValue(0)) : re.SuppliedInput();
  std::vector<StrRef> matches;
  result = re.ScriptExec(input, &matches) ? NewArrayOfTexts(self, matches) : Value::Null();
}

// test([input]): whether the pattern matches; false without an argument.
void RTest(TJObject& self, TJValueList& params, Value& result) {
  result = Value::Bool(params.GetCount() > 0 && RegExpOf(self).ScriptTest(ValueToString(params.GetValue(0))));
}

// The replacement of one match by a script function: it gets the whole match, every group
// of the pattern ("" for one that did not take part), the byte offset and the input.
TJRegExp::Replacer CallbackReplacer(BaseEngine& engine, IJFunction& fn, const StrRef& input) {
  return [&engine, &fn, input](TRegex& match) {
    TJValueList args;
    args.AddString(match.Match(0));
    const int groups = match.GroupCount();
    for (int g = 1; g <= groups; ++g) args.AddString(match.Match(g));
    args.AddInteger(match.MatchPos(0) - 1);
    args.AddString(input);
    Value answer;
    engine.CallFunction(fn, &args, answer, nullptr);
    return ValueToString(answer);
  };
}

// replace(input [, replacement]): a template text or a script function; "" without input.
void RReplace(TJObject& self, TJValueList& params, Value& result) {
  result = Value::String(StrRef());
  if (params.GetCount() == 0) return;
  TJRegExpObject& re = RegExpOf(self);
  const StrRef input = ValueToString(params.GetValue(0));
  const Value replacement = params.GetCount() > 1 ? params.GetValue(1) : Value::String(StrRef());  // held
  const bool matched = re.ScriptTest(input);
  IJFunction* fn = replacement.function();
  BaseEngine* engine = self.Engine();
  if (fn && engine) {
    result = Value::String(re.State().Replace(input, CallbackReplacer(*engine, *fn, input)));
  } else {
    const StrRef tmpl = ValueToString(replacement);
    result = Value::String(re.State().Replace(input, [&tmpl](TRegex& match) { return StrRef(match.Substitute(tmpl.view())); }));
  }
  re.ReplaceDone(matched);
}

// split(input [, limit]): an Array of the pieces; an empty Array without input.
void RSplit(TJObject& self, TJValueList& params, Value& result) {
  std::vector<StrRef> texts;
  if (params.GetCount() > 0) {
    const int32_t limit = params.GetCount() > 1 ? ValueToInteger(params.GetValue(1)) : kNoLimit;
    std::vector<std::string> pieces;
    RegExpOf(self).State().Split(ValueToString(params.GetValue(0)), pieces, limit);
    texts.reserve(pieces.size());
    for (std::string& p : pieces) texts.emplace_back(p);
  }
  result = NewArrayOfTexts(self, texts);
}

}  // namespace

// ---- TJRegExp ----

TJRegExp::TJRegExp(std::shared_ptr<RegexProgramCache> cache) {
  regex_.SetScriptMode(true);
  regex_.SetModifier(2, false);
  regex_.SetProgramCache(std::move(cache));
}

void TJRegExp::RecordMatch(const TRegex& r, const StrRef& subject) {
  ClearMatch();
  matched_ = subject;
  sub_count_ = r.SubExprMatchCount() + 1;
  for (int n = 0; n < sub_count_; ++n) {
    const int pos = r.MatchPos(n);
    spans_[static_cast<size_t>(n)] = pos < 0 ? Span{} : Span{pos - 1, r.MatchLen(n)};
  }
}

void TJRegExp::ClearMatch() {
  spans_.fill(Span{});
  sub_count_ = 0;
  matched_ = StrRef();
}

StrRef TJRegExp::SubMatch(int n) const {
  if (n < 0 || n >= sub_count_) return StrRef();
  const Span& s = spans_[static_cast<size_t>(n)];
  return Cut(matched_, s.pos, s.len);
}

StrRef TJRegExp::LeftContext() const { return Cut(matched_, 0, spans_[0].pos < 0 ? 0 : spans_[0].pos); }

StrRef TJRegExp::RightContext() const {
  const int32_t end = LastIndex();
  return end < 0 ? StrRef() : Cut(matched_, end, static_cast<int32_t>(matched_.size()) - end);
}

bool TJRegExp::Exec(const StrRef& input, std::vector<StrRef>* matches) {
  input_ = input;
  if (matches) matches->clear();
  if (!regex_.Exec(input.view())) return false;
  do {
    RecordMatch(regex_, input);
    if (matches) matches->push_back(LastMatch());
  } while (global && regex_.ExecNext());
  return true;
}

StrRef TJRegExp::Replace(const StrRef& input, const Replacer& replacer) {
  input_ = input;
  const bool all = global;
  TRegex r = regex_;  // the loop's own matcher; the compiled program is shared
  if (!r.Exec(input.view())) return input;
  const std::string_view text = input.view();
  std::string out;
  size_t from = 0;
  do {
    const auto start = static_cast<size_t>(r.MatchPos(0) - 1);
    out.append(text, from, start - from);
    RecordMatch(r, input);  // the replacer sees this match as the last one
    const StrRef replacement = replacer(r);
    RecordMatch(r, input);  // and keeps it, whatever the replacer ran meanwhile
    out.append(replacement.view());
    from = start + static_cast<size_t>(r.MatchLen(0));
  } while (all && r.ExecNext());
  out.append(text, from);
  input_ = input;
  return StrRef(out);
}

void TJRegExp::Split(const StrRef& input, std::vector<std::string>& pieces, int32_t limit) {
  pieces.clear();
  regex_.Split(input.view(), pieces);
  const size_t keep = static_cast<size_t>(limit < 0 ? kNoLimit : limit);
  if (pieces.size() > keep) pieces.resize(keep);
}

void TJRegExp::Assign(const TJRegExp& source) {
  if (this == &source) return;
  regex_.SetExpression(source.regex_.Expression());
  for (int m = 1; m <= 6; ++m) regex_.SetModifier(m, source.regex_.GetModifier(m));
  global = source.global;
  input_ = source.input_;
  matched_ = source.matched_;
  spans_ = source.spans_;
  sub_count_ = source.sub_count_;
}

// ---- TJRegExpObject ----

TJRegExpObject::TJRegExpObject(BaseEngine* engine, const TJValueList* params)
    : TJObject(engine), props_(*this, kRegExpProps) {
  SetObjectName("RegExp");
  RegisterConstants();
  if (TJRegExpSingleton* singleton = SingletonOf(engine)) {
    singleton_ = WeakPtr<TJObject>(singleton->WeakHandle());
    re_.Regex().SetProgramCache(singleton->Cache());
  }
  if (params && params->GetCount() > 0) Configure(*params);
}

const ClassInfo& TJRegExpObject::Class() const {
  static const ClassInfo info(&TJObject::BaseClass(),
      {{"exec", Guarded<RExec>}, {"test", Guarded<RTest>}, {"replace", Guarded<RReplace>},
       {"split", Guarded<RSplit>}});
  return info;
}

void TJRegExpObject::RegisterConstants() {
  if (members().size() == 0) {
    members() = Dollars();
    return;
  }
  for (int d = 0; d < kDollarMembers; ++d) SetDollar(d, StrRef());
}

// The dollar members are the first members unless a script removed one: they are then
// stored in place, without a look-up.
void TJRegExpObject::SetDollar(int digit, StrRef text) {
  const auto at = static_cast<size_t>(digit);
  const StrRef& name = Dollars().entries()[at].key;
  std::span<PropertyMap::Entry> entries = members().entries();
  if (at < entries.size() && entries[at].key.cell() == name.cell() && !entries[at].removed()) {
    Value& v = entries[at].value;
    if (text.empty() && v.type() == vtString && v.text().empty()) return;
    v = Value::String(std::move(text));
    return;
  }
  StoreMember(name, Value::String(std::move(text)));
}

StrRef TJRegExpObject::ToString(const Value*) {
  std::string out = "/" + re_.Regex().Expression() + "/";
  if (re_.Regex().GetModifier(1)) out += 'i';
  if (re_.global) out += 'g';
  if (re_.Regex().GetModifier(5)) out += 'm';
  return out;
}

void TJRegExpObject::Configure(const TJValueList& params) {
  const Value first = params.GetValue(0);
  if (first.type() == vtRegExp) {
    LoadLiteral(first);
    return;
  }
  re_.Regex().SetExpression(ValueToString(first).view());
  if (params.GetCount() < 2) return;
  // A flags text of four or more characters is ignored as a whole.
  const StrRef flags = ValueToString(params.GetValue(1));
  if (flags.CharCount() < 4) SetFlags(flags.view());
}

void TJRegExpObject::LoadLiteral(const Value& literal) {
  re_.Regex().SetExpression(literal.text());
  SetFlags(literal.regexp_flags());
}

void TJRegExpObject::SetFlags(std::string_view letters) {
  re_.Regex().SetModifier(1, letters.find('i') != std::string_view::npos);
  re_.global = letters.find('g') != std::string_view::npos;
  re_.Regex().SetModifier(5, letters.find('m') != std::string_view::npos);
}

void TJRegExpObject::CopyDollars() {
  for (int d = 0; d < kDollarMembers; ++d) SetDollar(d, re_.SubMatch(d));
}

void TJRegExpObject::Assign(const TJRegExpObject& source) {
  re_.Assign(source.re_);
  CopyDollars();
}

void TJRegExpObject::AfterMatch() {
  if (auto* singleton = static_cast<TJRegExpObject*>(singleton_.get())) singleton->Assign(*this);
}

StrRef TJRegExpObject::SuppliedInput() const {
  auto* singleton = static_cast<TJRegExpObject*>(singleton_.get());
  return singleton ? singleton->State().Input() : StrRef();
}

bool TJRegExpObject::ScriptExec(const StrRef& input, std::vector<StrRef>* matches) {
  const bool found = re_.Exec(input, matches);
  CopyDollars();
  if (found) AfterMatch();
  return found;
}

bool TJRegExpObject::ScriptTest(const StrRef& input) {
  const bool found = re_.Exec(input);
  CopyDollars();
  AfterMatch();
  return found;
}

void TJRegExpObject::ReplaceDone(bool matched) {
  if (!matched) return;
  CopyDollars();
  AfterMatch();
}

// ---- the singleton ----

TJRegExpSingleton::TJRegExpSingleton(BaseEngine* engine)
    : TJRegExpObject(engine, nullptr), cache_(std::make_shared<RegexProgramCache>()) {
  re_.Regex().SetProgramCache(cache_);
}

bool TJRegExpSingleton::CaseTest(const Value& label, const Value& subject) {
  return GuardedCall([&] {
    const StrRef text = ValueToString(subject);
    if (TJObject* obj = label.object(); obj && (obj->ClassFlags() & kRegExpObjectClass))
      return static_cast<TJRegExpObject*>(obj)->ScriptTest(text);
    LoadLiteral(label);
    return ScriptTest(text);
  });
}

void TJRegExpSingleton::Reset() {
  Clear();
  re_ = TJRegExp(cache_);
}

void RegisterRegExp(TJEngine& engine) {
  engine.RegisterObjectClass("RegExp", [](BaseEngine* e, TJValueList* p) -> TJObject* {
    return new TJRegExpObject(e, p);
  });
  engine.SetRegExp(new TJRegExpSingleton(&engine));
}

}  // namespace kestrin::script
