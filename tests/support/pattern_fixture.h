// Small one-dimensional patterns, peak tables and sector patterns for the pattern file
// tests, and scripted dialog and prompt ports that record what they were asked.
#pragma once

#include <string>
#include <vector>

#include "model/state.h"
#include "ports/ports.h"
#include "ports/prompts.h"

namespace kestrin::test {

// The lines of a file's text, each ended by CR LF.
inline std::string crlf(const std::vector<std::string>& lines) {
  std::string out;
  for (const auto& l : lines) out += l + "\r\n";
  return out;
}

// A pattern of n points with I(i) = 100 i + 7, of the given kind.
NaxPattern small_pattern(int n, PatternKind kind, const std::string& title);
// Axis of a 2theta pattern of n points from `begin` by `step`, wavelength 1.5406.
IntegrationParams angle_axis(double begin, double step, int n);
// Three peaks whose lines fit their columns.
PeakList three_peaks();
// n peaks with distinct values in every field (x, 2theta, d and intensity grow with k).
PeakList many_peaks(int n);
// Two sectors: 1, 2, 3 (three points) and 10, 20 (two points).
SectorPatterns two_sectors();

// Dialogs that answer each run with the next scripted name and filter index, recording
// how each run was prepared.
class ScriptedFileDialogs : public FileDialogs {
public:
  struct Answer {
    std::string name;
    int filter_index;
  };
  std::vector<Answer> answers;
  std::vector<FileDialogSetup> setups;
  std::string run_open(const FileDialogSetup& setup) override { return run(setup, open_index_, open_); }
  std::string run_save(const FileDialogSetup& setup) override { return run(setup, save_index_, save_); }
  FileDialogSetup open_state() const override { return with_index(open_, open_index_); }
  FileDialogSetup save_state() const override { return with_index(save_, save_index_); }
  int open_filter_index() const override { return open_index_; }
  int save_filter_index() const override { return save_index_; }
  void set_open_filter_index(int index) override { open_index_ = index; }
  void set_save_filter_index(int index) override { save_index_ = index; }

  // The windows' own dialogs: each run takes the next of window_answers (none left: a
  // cancel that keeps the filter index asked for) and is noted with its dialog's name.
  std::vector<FileDialogChoice> window_answers;
  struct WindowRun {
    std::string dialog;  // "form.control"
    FileDialogSetup setup;
  };
  std::vector<WindowRun> window_runs;
  FileDialogChoice run_window_dialog(ControlName dialog, const FileDialogSetup& setup) override;

private:
  std::string run(const FileDialogSetup& setup, int& index, FileDialogSetup& last);
  static FileDialogSetup with_index(FileDialogSetup s, int index) {
    s.filter_index = index;
    return s;
  }
  int open_index_ = -1;
  int save_index_ = -1;
  FileDialogSetup open_, save_;
};

// Prompts that give scripted answers (yes when none is left) and record the questions.
class ScriptedPrompts : public Prompts {
public:
  std::vector<bool> answers;
  std::vector<std::string> questions;
  bool confirm(std::string_view question) override;
};

}  // namespace kestrin::test
