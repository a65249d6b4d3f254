// The crystal file: per material its name, kind, lattice parameters and the Miller indices
// of its reflections, read into hklParam.
#pragma once

#include <string>

namespace kestrin {

// Lines 1 to 10 are skipped; line 11 holds the number of crystals; per crystal a line
// "name,kind,a,b,c,alpha,beta,gamma", then up to 100 lines "h,k,l" ended by the line "0,0,0".
// hklParam takes as many entries as the count gives (never more than the file has lines
// left) and the crystals are stored as they are read. A file that cannot be read raises
// EInOutError; a cell that is not a number (a missing line reads as empty) raises
// ConversionError, with the crystals read before it kept.
void read_crystal_file(const std::string& name);
// The same over the file's bytes.
void read_crystal_bytes(std::string bytes);

}  // namespace kestrin
