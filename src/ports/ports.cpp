// The process-wide ports and their headless defaults.
#include "ports/ports.h"

namespace kestrin {

namespace {

// The headless defaults, one of each.
struct Defaults {
  HeadlessControls controls;
  HeadlessFileDialogs file_dialogs;
  Prompts prompts;
  EventPump events;
  LogWindowPort log_window;
  ImageWindowPort image_window;
  GraphWindowPort graph_window;
  PeakWindowPort peak_window;
  FitWindowPort fit_window;
  BgWindowPort bg_window;
  SpotWindowPort spot_window;
  SpotAnalysisWindowPort spot_analysis_window;
  OscWindowPort osc_window;
  CakeWindowPort cake_window;
  MaskWindowPort mask_window;
  Printing printing;
};

Defaults& defaults() {
  static Defaults d;
  return d;
}

template <class T>
T* or_default(T* given, T& fallback) {
  return given ? given : &fallback;
}

// The given ports with the headless defaults in place of null members.
Ports with_defaults(const Ports& given) {
  Defaults& d = defaults();
  Ports p;
  p.controls = or_default<Controls>(given.controls, d.controls);
  p.file_dialogs = or_default<FileDialogs>(given.file_dialogs, d.file_dialogs);
  p.prompts = or_default(given.prompts, d.prompts);
  p.events = or_default(given.events, d.events);
  p.log_window = or_default(given.log_window, d.log_window);
  p.image_window = or_default(given.image_window, d.image_window);
  p.graph_window = or_default(given.graph_window, d.graph_window);
  p.peak_window = or_default(given.peak_window, d.peak_window);
  p.fit_window = or_default(given.fit_window, d.fit_window);
  p.bg_window = or_default(given.bg_window, d.bg_window);
  p.spot_window = or_default(given.spot_window, d.spot_window);
  p.spot_analysis_window = or_default(given.spot_analysis_window, d.spot_analysis_window);
  p.osc_window = or_default(given.osc_window, d.osc_window);
  p.cake_window = or_default(given.cake_window, d.cake_window);
  p.mask_window = or_default(given.mask_window, d.mask_window);
  p.printing = or_default(given.printing, d.printing);
  return p;
}

Ports& current() {
  static Ports p = with_defaults({});
  return p;
}

}  // namespace

const Ports& ports() { return current(); }

HeadlessControls& headless_controls() { return defaults().controls; }

void install_ports(const Ports& installed) { current() = with_defaults(installed); }

void reset_ports() {
  defaults() = Defaults();
  install_ports({});
}

}  // namespace kestrin
