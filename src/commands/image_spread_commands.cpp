// The image spread window's buttons.
#include "commands/image_spread_commands.h"

#include "base/text_file.h"
#include "commands/file_list_commands.h"
#include "image/image_spread.h"
#include "ports/names/image_spread_names.h"
#include "ports/ports.h"

namespace kestrin {

void spread_select_files() {
  const std::vector<std::string> files = choose_files(frmImageSpread::opdImageList, "Rigaku R-AXIS5 (*.img)|*.IMG");
  if (!files.empty()) set_file_list(frmImageSpread::memFileName, files);
}

void spread_select_reference() {
  FileDialogSetup setup;
  setup.filter = "Ref. file (*.csv)|*.CSV";
  const FileDialogChoice choice = file_dialogs().run_window_dialog(frmImageSpread::opdImageList, setup);
  if (!choice.files.empty()) controls().set_text(frmImageSpread::edtRefFileName, choice.files.front());
}

void make_spread_reference(const std::vector<std::string>& files) {
  if (files.size() != 1) return;
  run_long("make_spread_reference", [&files] {
    Report report = log_report();
    std::vector<std::string> lines;
    if (!spread_reference_lines(files.front(), lines, report)) return;
    FileDialogSetup setup;
    setup.filter = "Ref. file (*.csv)|*.CSV";
    const FileDialogChoice choice = file_dialogs().run_window_dialog(frmImageSpread::svdRefFile, setup);
    if (choice.files.empty()) return;
    const std::string& name = choice.files.front();
    controls().set_text(frmImageSpread::edtRefFileName, name);
    std::string error;
    if (!write_text_file(name, lines, &error))
      report.say(" make_spread_reference() : " + ("Cannot write " + name + ": " + error + "."));
  });
}

void spread_images_command(const std::string& reference, const std::vector<std::string>& files) {
  Report report = log_report();
  spread_images(reference, files, report);
}

void spread_execute() {
  if (controls().checked(frmImageSpread::rbtnSpreadNew)) {
    const std::vector<std::string> files = file_list(frmImageSpread::memFileName);
    // The reference is made from one image.
    if (files.size() != 1) {
      log_line(" make_spread_reference() : RefFile作成 takes one image file; the list holds " +
               std::to_string(files.size()) + ".");
      return;
    }
    make_spread_reference(files);
  } else
    spread_images_command(controls().text(frmImageSpread::edtRefFileName), file_list(frmImageSpread::memFileName));
}

}  // namespace kestrin
