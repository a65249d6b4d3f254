// The process-wide file dialogs and their headless default.
#include "ports/file_dialogs.h"

namespace kestrin {

namespace {
HeadlessFileDialogs& default_dialogs() {
  static HeadlessFileDialogs d;
  return d;
}
FileDialogs*& current_dialogs() {
  static FileDialogs* d = &default_dialogs();
  return d;
}
}  // namespace

std::string HeadlessFileDialogs::run_open(const FileDialogSetup& setup) {
  open_index_ = setup.filter_index;
  return {};
}

std::string HeadlessFileDialogs::run_save(const FileDialogSetup& setup) {
  save_index_ = setup.filter_index;
  return {};
}

FileDialogs& file_dialogs() { return *current_dialogs(); }

void install_file_dialogs(FileDialogs* dialogs) {
  if (!dialogs) default_dialogs() = HeadlessFileDialogs();
  current_dialogs() = dialogs ? dialogs : &default_dialogs();
}

}  // namespace kestrin
