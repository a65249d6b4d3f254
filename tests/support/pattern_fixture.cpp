// Pattern fixtures and scripted ports for the pattern file tests.
#include "support/pattern_fixture.h"

namespace kestrin::test {

NaxPattern small_pattern(int n, PatternKind kind, const std::string& title) {
  NaxPattern p;
  for (int i = 0; i < n; ++i) p.values[size_t(i)] = 100 * i + 7;
  p.N = n;
  p.maximum = 100 * (n - 1) + 7;
  p.set_kind(kind);
  p.PatternTitle = title;
  return p;
}

IntegrationParams angle_axis(double begin, double step, int n) {
  IntegrationParams a;
  a.two_theta_begin = begin;
  a.two_theta_step = step;
  a.two_theta_end = begin + (n - 1) * step;
  a.wavelength = 1.5406;
  return a;
}

PeakList three_peaks() {
  PeakList p;
  const double rows[3][4] = {{12.5, 10.02, 5.123456, 107.0}, {100.125, 11.5, 4.5, 2000.5}, {1234.5678, 45.25, 1.234567, 99999.5}};
  for (size_t k = 0; k < 3; ++k) {
    p.x[k] = rows[k][0];
    p.two_theta[k] = rows[k][1];
    p.d[k] = rows[k][2];
    p.intensity[k] = rows[k][3];
  }
  p.count = 3;
  return p;
}

PeakList many_peaks(int n) {
  PeakList p;
  for (int k = 0; k < n; ++k) {
    const size_t j = size_t(k);
    p.x[j] = 10.0 + 3.25 * k;
    p.two_theta[j] = 5.0 + 0.125 * k;
    p.d[j] = 20.0 - 0.0625 * k;
    p.intensity[j] = 1000.0 + 17.5 * k;
  }
  p.count = n;
  return p;
}

SectorPatterns two_sectors() {
  SectorPatterns s;
  s.allocate(2);
  s.sectors[0].pattern = {1, 2, 3};
  s.sectors[0].last_point = 3;
  s.sectors[1].pattern = {10, 20};
  s.sectors[1].last_point = 2;
  return s;
}

std::string ScriptedFileDialogs::run(const FileDialogSetup& setup, int& index, FileDialogSetup& last) {
  setups.push_back(setup);
  last = setup;
  index = setup.filter_index;
  if (answers.empty()) return {};
  const Answer a = answers.front();
  answers.erase(answers.begin());
  index = a.filter_index;
  return a.name;
}

FileDialogChoice ScriptedFileDialogs::run_window_dialog(ControlName dialog, const FileDialogSetup& setup) {
  window_runs.push_back({to_string(dialog), setup});
  if (window_answers.empty()) return {{}, setup.filter_index};
  FileDialogChoice a = window_answers.front();
  window_answers.erase(window_answers.begin());
  return a;
}

bool ScriptedPrompts::confirm(std::string_view question) {
  questions.emplace_back(question);
  if (answers.empty()) return true;
  const bool a = answers.front();
  answers.erase(answers.begin());
  return a;
}

}  // namespace kestrin::test
