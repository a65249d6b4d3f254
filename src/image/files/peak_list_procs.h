// The peak list and fit list commands: each runs the main window's file dialog, then
// reads or writes the list and logs what went wrong.
#pragma once

namespace kestrin {

// Reads a ".std" peak list into the peak table (2theta from d at the main window's
// wavelength) and refills the peak list window.
void load_peak_proc();
// Writes the peak table to a ".std" peak list.
void save_peak_proc();
// Writes the fit results to a ".csv" or ".fit" fit list.
void save_fit_proc();

}  // namespace kestrin
