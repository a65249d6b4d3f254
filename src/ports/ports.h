// The ports through which Qt-free code reaches the windows: the controls, the file
// dialogs, the questions to the user, the event pump and one port per window. One
// process-wide set; the program installs its windows' implementations (commands/wiring.h),
// tests install their own.
#pragma once

#include "ports/controls.h"
#include "ports/file_dialogs.h"
#include "ports/log.h"
#include "ports/long_run.h"
#include "ports/printing.h"
#include "ports/prompts.h"
#include "ports/views.h"

namespace kestrin {

struct Ports {
  Controls* controls = nullptr;
  FileDialogs* file_dialogs = nullptr;
  Prompts* prompts = nullptr;
  EventPump* events = nullptr;
  LogWindowPort* log_window = nullptr;
  ImageWindowPort* image_window = nullptr;
  GraphWindowPort* graph_window = nullptr;
  PeakWindowPort* peak_window = nullptr;
  FitWindowPort* fit_window = nullptr;
  BgWindowPort* bg_window = nullptr;
  SpotWindowPort* spot_window = nullptr;
  SpotAnalysisWindowPort* spot_analysis_window = nullptr;
  OscWindowPort* osc_window = nullptr;
  CakeWindowPort* cake_window = nullptr;
  MaskWindowPort* mask_window = nullptr;
  Printing* printing = nullptr;
};

// The installed ports; the headless defaults where nothing is installed.
const Ports& ports();
inline Controls& controls() { return *ports().controls; }
inline FileDialogs& file_dialogs() { return *ports().file_dialogs; }
inline Prompts& prompts() { return *ports().prompts; }
inline LogWindowPort& log_window() { return *ports().log_window; }
inline ImageWindowPort& image_window() { return *ports().image_window; }
inline GraphWindowPort& graph_window() { return *ports().graph_window; }
inline PeakWindowPort& peak_window() { return *ports().peak_window; }
inline FitWindowPort& fit_window() { return *ports().fit_window; }
inline BgWindowPort& bg_window() { return *ports().bg_window; }
inline SpotWindowPort& spot_window() { return *ports().spot_window; }
inline SpotAnalysisWindowPort& spot_analysis_window() { return *ports().spot_analysis_window; }
inline OscWindowPort& osc_window() { return *ports().osc_window; }
inline CakeWindowPort& cake_window() { return *ports().cake_window; }
inline MaskWindowPort& mask_window() { return *ports().mask_window; }
inline Printing& printing() { return *ports().printing; }

// Installs a set of ports; null members get the headless defaults.
void install_ports(const Ports& installed);
// Back to fresh, empty headless defaults everywhere. The headless program's start values
// come from the parameter table: see commands/headless_ports.h.
void reset_ports();
HeadlessControls& headless_controls();

}  // namespace kestrin
