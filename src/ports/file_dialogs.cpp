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
  open_setup_ = setup;
  open_index_ = setup.filter_index;
  return {};
}

std::string HeadlessFileDialogs::run_save(const FileDialogSetup& setup) {
  save_setup_ = setup;
  save_index_ = setup.filter_index;
  return {};
}

FileDialogSetup HeadlessFileDialogs::open_state() const {
  FileDialogSetup s = open_setup_;
  s.filter_index = open_index_;
  return s;
}

FileDialogSetup HeadlessFileDialogs::save_state() const {
  FileDialogSetup s = save_setup_;
  s.filter_index = save_index_;
  return s;
}

FileDialogs& file_dialogs() { return *current_dialogs(); }

void install_file_dialogs(FileDialogs* dialogs) {
  if (!dialogs) default_dialogs() = HeadlessFileDialogs();
  current_dialogs() = dialogs ? dialogs : &default_dialogs();
}

}  // namespace kestrin
