// The String methods that work through a RegExp object: match, replace, search and split.
// A string pattern is always a regular expression ("a.b".split(".") splits at every
// character). The RegExp used is held for the call and runs its own method with the
// subject as the first value of a fresh parameter list.
#include "script/builtins/regexp_object.h"
#include "script/builtins/string_object.h"
#include "script/core/engine_base.h"
#include "script/core/factory.h"
#include "script/core/value_list.h"

namespace kestrin::script {
namespace {

// Argument i, undefined when there is none.
Value Arg(const TJValueList& params, int32_t i) { return i < params.GetCount() ? params.GetValue(i) : Value(); }

// The RegExp object given first, or a new one made from the pattern and, when `flags`
// is given, those flags.
Value RegExpFor(TJObject& self, const Value& first, const Value* flags) {
  if (ValueIsRegExpObject(first)) return first;
  TJValueList args{first};
  if (flags) args.Add(*flags);
  if (BaseEngine* engine = self.Engine()) return engine->Factory().Create("RegExp", &args);
  return Value::Object(new TJRegExpObject(nullptr, &args));
}

// Runs the RegExp's method `name` on the string with the further arguments.
Value RunOn(TJObject& self, const Value& regexp, const char* name, std::initializer_list<Value> more) {
  TJObject* re = regexp.object();
  NativeMethod method = re ? re->Class().FindMethod(name) : nullptr;
  Value result;
  if (!method) return result;
  TJValueList params{Value::String(static_cast<TJStringObject&>(self).Text())};
  for (const Value& v : more) params.Add(v);
  method(*re, params, result);
  return result;
}

}  // namespace

// match(re) or match(pattern [, flags]): the RegExp's exec on the string; null without
// an argument.
void StringMatch(TJObject& self, TJValueList& params, Value& result) {
  result = Value::Null();
  if (params.GetCount() == 0) return;
  const Value flags = Arg(params, 1);
  const Value re = RegExpFor(self, params.GetValue(0), params.GetCount() > 1 ? &flags : nullptr);
  result = RunOn(self, re, "exec", {});
}

// replace(re, replacement) or replace(pattern [, flags], replacement): the RegExp's
// replace on the string. Flags come only with three arguments: with two, the second is
// the replacement.
void StringReplace(TJObject& self, TJValueList& params, Value& result) {
  const int32_t n = params.GetCount();
  if (n == 0) return;
  const Value flags = Arg(params, 1);
  const Value re = RegExpFor(self, params.GetValue(0), n > 2 ? &flags : nullptr);
  const int32_t at = ValueIsRegExpObject(params.GetValue(0)) || n < 3 ? 1 : 2;
  result = RunOn(self, re, "replace", {at < n ? params.GetValue(at) : Value::String(StrRef())});
}

// search(re) or search(pattern [, flags]): the byte offset of the match (of the last one
// with the global flag), -1 when nothing matches or without an argument.
void StringSearch(TJObject& self, TJValueList& params, Value& result) {
  result = Value::Integer(-1);
  if (params.GetCount() == 0) return;
  const Value flags = Arg(params, 1);
  const Value re = RegExpFor(self, params.GetValue(0), params.GetCount() > 1 ? &flags : nullptr);
  // A failed search leaves the RegExp's index at its last match: that is no answer here.
  if (RunOn(self, re, "exec", {}).type() == vtNull) return;
  result = Value::Integer(static_cast<TJRegExpObject*>(re.object())->State().Index());
}

// split(re [, limit]) or split(pattern [, flags] [, limit]): the RegExp's split of the
// string. A numeric second argument is the limit; otherwise it is the flags and the
// limit is the third.
void StringSplit(TJObject& self, TJValueList& params, Value& result) {
  const int32_t n = params.GetCount();
  if (n == 0) return;
  const Value first = params.GetValue(0);
  const Value second = Arg(params, 1);
  const bool regexp = ValueIsRegExpObject(first);
  const bool second_is_limit = regexp || (n > 1 && ValueIsNumeric(second));
  const Value re = RegExpFor(self, first, n > 1 && !second_is_limit ? &second : nullptr);
  if (second_is_limit && n > 1) {
    result = RunOn(self, re, "split", {second});
  } else if (n > 2) {
    result = RunOn(self, re, "split", {params.GetValue(2)});
  } else {
    result = RunOn(self, re, "split", {});
  }
}

}  // namespace kestrin::script
