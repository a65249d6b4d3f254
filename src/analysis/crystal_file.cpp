// Reading the crystal file.
#include "analysis/crystal_file.h"

#include <algorithm>
#include <cerrno>

#include "base/comma_text.h"
#include "base/convert.h"
#include "base/runtime_errors.h"
#include "base/text_file.h"
#include "model/state.h"

namespace kestrin {

namespace {

constexpr int kSkippedLines = 10;
constexpr size_t kMaxCrystalFileBytes = size_t(1) << 26;

std::string trimmed(std::string_view s) {
  const size_t a = s.find_first_not_of(" \t");
  if (a == std::string_view::npos) return {};
  return std::string(s.substr(a, s.find_last_not_of(" \t") - a + 1));
}

// Cell i of a split line; a missing cell reads as empty, so that its conversion fails.
std::string cell_text(const std::vector<std::string>& cells, size_t i) {
  return i < cells.size() ? cells[i] : std::string();
}

void read_crystal(TextReader& in, HklParam& c) {
  const std::vector<std::string> head = split_commas(in.next_line());
  c.name = cell_text(head, 0);
  c.kind = StrToInt(cell_text(head, 1));
  for (size_t i = 0; i < c.lattice.size(); ++i) c.lattice[i] = StrToFloat(cell_text(head, 2 + i));
  c.count = 0;
  while (c.count < kMaxReflections) {
    const std::string line = trimmed(in.next_line());
    if (line == "0,0,0") break;
    const std::vector<std::string> hkl = split_commas(line);
    auto& reflection = c.hkl[size_t(c.count)];
    for (size_t i = 0; i < 3; ++i) reflection[i] = StrToInt(trimmed(cell_text(hkl, i)));
    c.use[size_t(c.count)] = true;
    ++c.count;
  }
}

}  // namespace

void read_crystal_file(const std::string& name) {
  std::string bytes;
  errno = 0;
  if (!read_file_bytes(name, bytes, nullptr, kMaxCrystalFileBytes)) throw EInOutError(io_error_message(errno ? errno : EIO));
  read_crystal_bytes(std::move(bytes));
}

void read_crystal_bytes(std::string bytes) {
  const size_t lines = split_lines(bytes).size();
  TextReader in(std::move(bytes));
  for (int i = 0; i < kSkippedLines; ++i) in.next_line();
  const int32_t count = StrToInt(in.next_line());
  std::vector<HklParam>& crystals = state().hklParam;
  const size_t left = lines > size_t(kSkippedLines + 1) ? lines - size_t(kSkippedLines + 1) : 0;
  crystals.assign(std::min(size_t(std::max(count, 0)), left), HklParam{});
  for (HklParam& c : crystals) read_crystal(in, c);
}

}  // namespace kestrin
