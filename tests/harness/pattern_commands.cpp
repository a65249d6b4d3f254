// Harness commands of the pattern files: SaveNaxFile, LoadNaxFile, SaveNaxFile2 and
// SaveNaxFile3 of the Kestrin script object.
#include "harness/harness.h"
#include "image/files/pattern_files.h"

namespace kestrin::harness {

namespace {

std::string arg(const Args& a, size_t i) { return i < a.size() ? a[i] : std::string(); }

}  // namespace

void register_pattern_commands(Registry& r) {
  r.add("SaveNaxFile", [](const Args& a) -> std::optional<std::string> {
    save_nax_proc(arg(a, 0));
    return std::nullopt;
  });
  r.add("LoadNaxFile", [](const Args& a) -> std::optional<std::string> {
    load_nax_proc(arg(a, 0));
    return std::nullopt;
  });
  r.add("SaveNaxFile2", [](const Args& a) -> std::optional<std::string> {
    if (auto path = pattern_path_beside_image(arg(a, 0))) save_nax_proc(*path);
    return std::nullopt;
  });
  r.add("SaveNaxFile3", [](const Args& a) -> std::optional<std::string> {
    const int number = integer_arg(arg(a, 1)).value_or(0);
    if (auto path = pattern_path_beside_image(arg(a, 0), &number)) save_nax_proc(*path);
    return std::nullopt;
  });
}

}  // namespace kestrin::harness
