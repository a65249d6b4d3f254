// Fuzz target: every method of the Kestrin object, called through the script binding with
// an argument list the bytes choose (kinds, counts up to 100, NaN, infinities, the edges of
// 32 bits, texts), on a small loaded image or with none, must end in a result, nothing or
// a script error: never a crash or a read outside the data. Methods that take a file name
// are left out, so that no input writes or reads a file.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <set>
#include <string>

#include "commands/kestrin_methods.h"
#include "commands/main_form_commands.h"
#include "commands/wiring.h"
#include "image/image_store.h"
#include "image/program_state.h"
#include "model/state.h"
#include "script/builtins/builtins.h"
#include "script/core/errors.h"
#include "script/core/host.h"
#include "scripting/kestrin_object.h"

using namespace kestrin;
using namespace kestrin::script;

namespace {

class Bytes {
public:
  Bytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool empty() const { return pos_ >= size_; }
  uint8_t next() { return pos_ < size_ ? data_[pos_++] : 0; }
  int32_t int32() {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v = v << 8 | next();
    return int32_t(v);
  }

private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

Value NextValue(Bytes& b) {
  static const double kEdges[] = {std::numeric_limits<double>::quiet_NaN(), HUGE_VAL, -HUGE_VAL, 2147483648.0,
                                  -2147483649.0, 4294967296.0 + 5, 0.5, -0.5, 2.5, 1e308, -1e-308, 36000, 36001,
                                  500, 501, -1};
  switch (b.next() % 8) {
    case 0: return Value::Integer(b.int32());
    case 1: return Value::Double(kEdges[b.next() % (sizeof kEdges / sizeof kEdges[0])]);
    case 2: return Value::Double(double(b.int32()) / 256.0);
    case 3: return Value::Integer(int32_t(b.next() % 8) - 1);
    case 4: {
      std::string text;
      for (int n = b.next() % 12; n > 0; --n) text += char(b.next());
      return Value::String(text);
    }
    case 5: return Value::Bool(b.next() & 1);
    case 6: return Value::NaN();
    default: return Value();
  }
}

bool TakesAFileName(const std::string& name) {
  static const std::set<std::string> files = {"LoadImageFile", "LoadParamFile", "LoadMaskFile", "SaveParamFile",
                                              "SaveMaskFile", "LoadNaxFile", "SaveNaxFile", "SaveNaxFile2",
                                              "SaveNaxFile3"};
  return files.count(name) > 0;
}

void PrepareImage(bool with_image) {
  reset_state();
  wire_program({});
  init_program_state();
  if (!with_image) return;
  ImageStore& img = current_image();
  img.set_size(24, 16, 2);
  img.image_codes.assign(24 * 16, 0);
  for (size_t i = 0; i < img.image_codes.size(); ++i) img.image_codes[i] = uint16_t(i * 37 % 4096);
  for (int i = 0; i < kCodeCount; ++i) img.intensity_table[size_t(i)] = i;
  img.image_type = kTypeTiff;
  img.ImageBaseName = "fuzz";
  img.NoImageFlag = 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Bytes b(data, size);
  PrepareImage(b.next() & 1);
  TJHost host(RegisterBuiltins);
  scripting::TKestrinObject* kestrin = new scripting::TKestrinObject(&host.Engine());
  Ref<scripting::TKestrinObject> hold(kestrin);
  const auto methods = kestrin_methods();
  for (int calls = 0; calls < 8 && !b.empty(); ++calls) {
    const KestrinMethod& m = methods[b.next() % methods.size()];
    if (TakesAFileName(m.name)) continue;
    TJValueList params;
    for (int n = b.next() % 101; n > 0; --n) params.Add(NextValue(b));
    Value result;
    try {
      kestrin->Class().FindMethod(m.name)(*kestrin, params, result);
    } catch (const EJException&) {
    } catch (const std::exception&) {
      scripting::TKestrinObject::TakeFailure();
    }
  }
  return 0;
}
