// Reading the ring-mask file.
#include "image/files/ring_mask_file.h"

#include <cerrno>

#include "base/comma_text.h"
#include "base/convert.h"
#include "base/runtime_errors.h"
#include "base/text_file.h"

namespace kestrin {

namespace {

// A ring list is a few dozen lines; a larger file is read only this far.
constexpr size_t kMaxRingMaskFileBytes = size_t(1) << 24;

std::string_view cell(const std::vector<std::string>& cells, size_t i) {
  return i < cells.size() ? std::string_view(cells[i]) : std::string_view();
}

}  // namespace

void read_ring_mask_text(std::string_view text, RingList& rings) {
  rings = RingList{};
  for (const std::string& line : split_lines(text)) {
    if (Trim(line).empty()) break;
    const std::vector<std::string> cells = split_commas(line);
    const double begin = StrToFloat(cell(cells, 0));
    const double end = StrToFloat(cell(cells, 1));
    const int32_t correct = StrToInt(cell(cells, 2));
    rings.ring_begin.push_back(begin);
    rings.ring_end.push_back(end);
    rings.ring_correct.push_back(correct);
  }
}

void read_ring_mask_file(const std::string& name) {
  std::string bytes;
  errno = 0;
  if (!read_file_bytes(name, bytes, nullptr, kMaxRingMaskFileBytes)) throw EInOutError(io_error_message(errno ? errno : EIO));
  read_ring_mask_text(bytes, state().rings);
}

}  // namespace kestrin
