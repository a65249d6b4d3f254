// TKestrinObject: the rows of the method table as native methods. Each row gets a native
// entry of its own (a template instantiated per row index), which converts the script's
// arguments, runs the row under the argument rule and hands back its result. Texts cross
// here: script strings are CP932, the program's text UTF-8.
#include "scripting/kestrin_object.h"

#include <array>
#include <stdexcept>
#include <utility>
#include <vector>

#include "base/convert.h"
#include "base/cp932.h"
#include "commands/kestrin_methods.h"
#include "script/core/error_table.h"
#include "script/core/errors.h"
#include "script/core/host.h"
#include "script/core/value_list.h"

namespace kestrin::scripting {

using namespace script;

namespace {

// The script's arguments as the method table reads them.
class ScriptArgs : public MethodArgs {
public:
  explicit ScriptArgs(const TJValueList& params) : params_(params) {}
  size_t count() const override { return size_t(params_.GetCount()); }
  double number(size_t i) const override { return ValueToNumber(at(i)); }
  int32_t integer(size_t i) const override { return ValueToInteger(at(i)); }
  std::string text(size_t i) const override { return cp932_to_utf8(ValueToString(at(i)).view()); }

private:
  Value at(size_t i) const { return params_.GetValue(int32_t(i)); }
  const TJValueList& params_;
};

Value ToValue(const MethodResult& r) {
  if (const int32_t* i = std::get_if<int32_t>(&r)) return Value::Integer(*i);
  if (const double* d = std::get_if<double>(&r)) return Value::Double(*d);
  return Value();
}

std::optional<std::string>& Failure() {
  static std::optional<std::string> failure;
  return failure;
}

// Runs one row. A text that must be a number is the script error "EConvertError"; any
// other failure that is no script error ends the run as it is, and is kept for the
// window's run flow.
void Invoke(const KestrinMethod& method, TJValueList& params, Value& result) {
  try {
    result = ToValue(call_kestrin_method(method, ScriptArgs(params)));
  } catch (const ConversionError& e) {
    RaiseError(ScriptError::Convert, {utf8_to_cp932(e.what())});
  } catch (const EJException&) {
    throw;
  } catch (const std::exception& e) {
    if (!Failure()) Failure() = e.what();
    throw;
  }
}

template <size_t Row>
void CallRow(TJObject&, TJValueList& params, Value& result) {
  Invoke(kestrin_methods()[Row], params, result);
}

// One native entry per row; the table has 76 rows, and rows added later find room here.
constexpr size_t kRowCapacity = 128;

template <size_t... Row>
constexpr std::array<NativeMethod, sizeof...(Row)> RowEntries(std::index_sequence<Row...>) {
  return {&CallRow<Row>...};
}

std::vector<MethodDef> MethodDefs() {
  static constexpr auto entries = RowEntries(std::make_index_sequence<kRowCapacity>());
  const auto rows = kestrin_methods();
  if (rows.size() > entries.size()) throw std::logic_error("Kestrin: more methods than native entries");
  std::vector<MethodDef> defs;
  for (size_t i = 0; i < rows.size(); ++i) defs.push_back({rows[i].name.c_str(), entries[i]});
  return defs;
}

Value DateValue(TJObject& self) { return Value::Object(static_cast<TKestrinObject&>(self).date()); }

constexpr PropDef kProperties[] = {{"date", DateValue, nullptr}};

}  // namespace

TKestrinObject::TKestrinObject(BaseEngine* engine)
    : TJObject(engine), date_(new TJDateObject(engine, nullptr)), properties_(*this, kProperties) {
  SetObjectName("Kestrin");
}

const ClassInfo& TKestrinObject::Class() const {
  static const std::vector<MethodDef> defs = MethodDefs();
  static const ClassInfo info(&BaseClass(), defs);
  return info;
}

std::optional<std::string> TKestrinObject::TakeFailure() { return std::exchange(Failure(), std::nullopt); }

TJObject* NewKestrinObject(BaseEngine* engine, TJValueList*) { return new TKestrinObject(engine); }

void ImportKestrin(TJScriptHost& host) { host.ImportObject("Kestrin", &NewKestrinObject, true); }

}  // namespace kestrin::scripting
