// The main window's two shared file dialogs (open and save) as non-window code sees them:
// prepare one, run it, get the chosen name and the filter index it holds. The program's
// windows implement it; the headless default cancels every dialog. Installed with the
// other ports (ports/ports.h).
#pragma once

#include <string>
#include <vector>

#include "ports/controls.h"

namespace kestrin {

// How a dialog is prepared before it runs. Filters are "text|pattern|text|pattern...";
// filter indexes count from 1, -1 means none chosen yet.
struct FileDialogSetup {
  std::string folder;       // start folder
  std::string file_name;    // initial file name
  std::string filter;
  std::string default_ext;  // without the dot; empty for none
  int filter_index = -1;
  bool must_exist = false;        // open dialogs
  bool overwrite_prompt = false;  // save dialogs
  bool multi_select = false;      // open dialogs of the tool windows
};

// What a window's own file dialog gave: the chosen names in the dialog's order (none when
// the user cancelled) and the filter index it holds afterwards.
struct FileDialogChoice {
  std::vector<std::string> files;
  int filter_index = -1;
};

class FileDialogs {
public:
  virtual ~FileDialogs() = default;
  // Runs the open dialog (opdFileSelect) or the save dialog (svdFileSelect) prepared as
  // given; returns the chosen name, or "" when the user cancelled.
  virtual std::string run_open(const FileDialogSetup& setup) = 0;
  virtual std::string run_save(const FileDialogSetup& setup) = 0;
  // The filter index each dialog holds now: the one it was prepared with, or the one the
  // user picked in its last run.
  virtual int open_filter_index() const = 0;
  virtual int save_filter_index() const = 0;
  virtual void set_open_filter_index(int index) = 0;
  virtual void set_save_filter_index(int index) = 0;
  // How each dialog is prepared now (as its last run left it), for callers that change
  // only some of its properties before running it again.
  virtual FileDialogSetup open_state() const { return {}; }
  virtual FileDialogSetup save_state() const { return {}; }
  // Runs one of a window's own dialog components (an open or save dialog such as
  // frmBatchFiles.opdImageList) prepared as given. The default has no windows: a cancel.
  virtual FileDialogChoice run_window_dialog(ControlName dialog, const FileDialogSetup& setup) {
    (void)dialog;
    return {{}, setup.filter_index};
  }
};

// Dialogs without windows: every run is a cancel; filter indexes are kept as set.
class HeadlessFileDialogs : public FileDialogs {
public:
  std::string run_open(const FileDialogSetup& setup) override;
  std::string run_save(const FileDialogSetup& setup) override;
  int open_filter_index() const override { return open_index_; }
  int save_filter_index() const override { return save_index_; }
  void set_open_filter_index(int index) override { open_index_ = index; }
  void set_save_filter_index(int index) override { save_index_ = index; }
  FileDialogSetup open_state() const override;
  FileDialogSetup save_state() const override;

private:
  int open_index_ = -1;
  int save_index_ = -1;
  FileDialogSetup open_setup_, save_setup_;
};

}  // namespace kestrin
