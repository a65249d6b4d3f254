// The peak list and fit list routines: the checks of a chosen name, the reading of a peak
// list into the peak table and the writing of the peak and fit tables. The commands around
// them run the dialogs; the lines go into a report.
#pragma once

#include <optional>
#include <string>

#include "base/report.h"

namespace kestrin {

// The bytes of the peak list `name`; nothing, with the reason said, for an empty name or
// one without the extension ".std" or ".STD". Throws when the file cannot be read or
// exceeds the size a peak list can have.
std::optional<std::string> peak_list_bytes(const std::string& name, Report& report);
// Reads a peak list's bytes into the peak table, 2theta from d at the model's wavelength.
// True when the whole list was read (the command then refills the peak list window); a
// read error says why and keeps the table, a bad spacing takes the peaks read and says
// where it stopped. Throws ConversionError for a number that must convert.
bool load_peak_list(const std::string& bytes, Report& report);
// Writes the peak table to `name` (extension ".std" in any case); an empty or other name
// says why and writes nothing.
void save_peak_proc(const std::string& name, Report& report);
// Writes the fit results to `name` (".csv" or ".fit" in any case), likewise.
void save_fit_proc(const std::string& name, Report& report);

}  // namespace kestrin
