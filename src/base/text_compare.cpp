// The CP932-aware comparison without ASCII case.
#include "base/text_compare.h"

#include "base/cp932.h"

namespace kestrin {

int compare_text_cp932(std::string_view a, std::string_view b) {
  const size_t n = a.size() < b.size() ? a.size() : b.size();
  bool trail = false;  // equal so far, so both texts agree on where characters start
  for (size_t i = 0; i < n; ++i) {
    auto ca = static_cast<unsigned char>(a[i]), cb = static_cast<unsigned char>(b[i]);
    if (!trail) {
      if (ca >= 'A' && ca <= 'Z') ca = static_cast<unsigned char>(ca - 'A' + 'a');
      if (cb >= 'A' && cb <= 'Z') cb = static_cast<unsigned char>(cb - 'A' + 'a');
    }
    if (ca != cb) return ca < cb ? -1 : 1;
    trail = !trail && is_cp932_lead(ca);
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

}  // namespace kestrin
