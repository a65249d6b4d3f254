// The headless file dialogs: every run is a cancel.
#include "ports/file_dialogs.h"

namespace kestrin {

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

}  // namespace kestrin
