// Harness-only commands of the windows, for tests and benchmarks without a window:
//   FitResultRows                            the peak fitting window's grid, one row a line,
//                                            cells joined by "|", the headings first
//   BatchConvert LINE...                     the batch window's lines ('' for a blank one)
//   MergeImages OUT LEFT TOP RIGHT BOTTOM ROTATION FILE...
//                                            the merge window's edits, rotation index and
//                                            list on the linear scale; the picture to OUT
//   SpreadReference OUT FILE                 "RefFile作成" with its save dialog answered OUT
//   SpreadImages REF FILE...                 "画像伸長" with the reference REF
//   Cake OUT                                 the cake window's "Cake"; its picture to OUT
#include <stdexcept>
#include <vector>

#include "commands/batch_files_commands.h"
#include "commands/cake_commands.h"
#include "commands/file_list_commands.h"
#include "commands/image_spread_commands.h"
#include "commands/merge_image_commands.h"
#include "commands/peak_fitting_commands.h"
#include "harness/harness.h"
#include "image/cake_picture.h"
#include "image/image_spread.h"
#include "image/merge_images.h"
#include "model/state.h"
#include "ports/log.h"
#include "ports/names/merge_image_names.h"
#include "ports/ports.h"

namespace kestrin::harness {

namespace {

MethodResult fit_result_rows_command(const MethodArgs&) {
  for (const std::vector<std::string>& row : fit_result_rows()) {
    std::string line;
    for (size_t c = 0; c < row.size(); ++c) line += (c ? "|" : "") + row[c];
    log_line(line);
  }
  return {};
}

std::vector<std::string> args_from(const MethodArgs& a, size_t first) {
  std::vector<std::string> v;
  for (size_t i = first; i < a.count(); ++i) v.push_back(a.text(i));
  return v;
}

void require(const MethodArgs& a, size_t count, const char* usage) {
  if (a.count() < count) throw std::runtime_error(std::string("usage: ") + usage);
}

MethodResult batch(const MethodArgs& a) {
  batch_convert_files(args_from(a, 0));
  return {};
}

MethodResult merge(const MethodArgs& a) {
  require(a, 6, "MergeImages OUT LEFT TOP RIGHT BOTTOM ROTATION FILE...");
  using namespace frmMergeImage;
  const ControlName edits[] = {edtX0, edtY0, edtX1, edtY1};
  for (size_t i = 0; i < 4; ++i) controls().set_text(edits[i], a.text(i + 1));
  controls().set_item_index(cmbRotation, a.integer(5));
  set_file_list(memFileName, args_from(a, 6));
  state().display_scale.DisplayMode = 1;
  if (merge_create()) merge_state().MergeDIB.SaveToFile(a.text(0));
  return {};
}

// The installed dialogs, with the windows' own dialogs answered by one name.
class AnsweringDialogs : public HeadlessFileDialogs {
public:
  explicit AnsweringDialogs(std::string name) : name_(std::move(name)) {}
  FileDialogChoice run_window_dialog(ControlName, const FileDialogSetup& setup) override {
    return {{name_}, setup.filter_index};
  }

private:
  std::string name_;
};

MethodResult spread_reference(const MethodArgs& a) {
  require(a, 2, "SpreadReference OUT FILE");
  AnsweringDialogs dialogs(a.text(0));
  const Ports before = ports();
  Ports with = before;
  with.file_dialogs = &dialogs;
  install_ports(with);
  struct Restore {
    const Ports& p;
    ~Restore() { install_ports(p); }
  } restore{before};
  make_spread_reference(args_from(a, 1));
  return {};
}

MethodResult spread(const MethodArgs& a) {
  require(a, 1, "SpreadImages REF FILE...");
  spread_images_command(a.text(0), args_from(a, 1));
  return {};
}

MethodResult cake(const MethodArgs& a) {
  require(a, 1, "Cake OUT");
  if (cake_clicked()) cake_state().CakeDIB.SaveToFile(a.text(0));
  return {};
}

}  // namespace

std::span<const KestrinMethod> window_commands() {
  static const std::vector<KestrinMethod> commands = {
      {"FitResultRows", 0, &fit_result_rows_command},
      {"BatchConvert", 0, &batch},
      {"MergeImages", 0, &merge},
      {"SpreadReference", 0, &spread_reference},
      {"SpreadImages", 0, &spread},
      {"Cake", 0, &cake},
  };
  return commands;
}

}  // namespace kestrin::harness
