// The one table of the parameters the windows show and the analyses read: for each one its
// field in integration_params, its script getter and setter, its line in the settings file
// and in the parameter file with their formats and its place in the order of
// read_parameters. Everything that reads, shows, stores, sets or records a parameter
// iterates this table; adding a parameter is adding a row (and its control's row in
// commands/parameter_controls.cpp, which says which control shows it and how it starts).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "model/state.h"

namespace kestrin {

// How a parameter sits on its window.
enum class ParameterKind {
  kReal,      // an edit holding a real number
  kInteger,   // an edit holding an integer
  kChoice,    // radio buttons, one per value
  kIndex,     // a combo box's item index
  kCheckBox,  // a check box of its own, without a field (the header locks)
};

// One radio button of a choice: the value it stands for and its settings-file line (0: the
// file does not keep it).
struct RadioChoice {
  int32_t value;
  int settings_line;
};

// Rules that belong to one parameter rather than to a column. Each reader of the table
// applies the rule its own documented way.
enum ParameterRule : uint32_t {
  kNoRule = 0,
  // The edit shows the row counted from the bottom while the option VerticalReverse is
  // on: read_parameters stores ImageHeight - 1 - the value.
  kFlippedWhenReversed = 1u << 0,
  // The pixel size Y, which forms the Y / X ratio with the pixel size X: the parameter
  // file stops reading after it when X is 0.
  kFormsPixelRatio = 1u << 1,
  // read_parameters writes the value back into its edit with "%3.6f".
  kRewrittenOnRead = 1u << 2,
  // The sector end: once it is read, a negative start moves start and end by 360.
  kWrapsNegativeSector = 1u << 3,
  // The division angle: 0 ends read_parameters with the division-by-zero error after it is
  // stored; the sector count Ceil(360 / angle) follows, and one that no Int32 holds ends it
  // with "Input division angle error!".
  kFormsSectorCount = 1u << 4,
  // The settings file restores the edit's text only; the value is taken at the next read.
  kSettingsTextOnly = 1u << 5,
  // Scripts can only set it (SetLoCheck and its kin): 0 unchecks, 1 checks, other values
  // do nothing; there is no getter.
  kScriptSetsOnly = 1u << 6,
  // A graph window's range: read_parameters takes it only when it is a number and otherwise
  // keeps the value it had; the draw that uses it checks the text itself.
  kKeptWhenNotANumber = 1u << 7,
};

struct Parameter {
  // Get<script> and Set<script> of the Kestrin object, and the recorded setter line;
  // empty: scripts do not reach it and nothing is recorded.
  std::string_view script;
  ParameterKind kind;
  std::span<const RadioChoice> radios;  // kChoice: one per radio button, in the buttons' order
  double IntegrationParams::*real = nullptr;      // kReal
  int32_t IntegrationParams::*integer = nullptr;  // kInteger, kChoice, kIndex
  int read_order = 0;           // position in read_parameters (from 1); 0: not read
  int settings_line = 0;        // line of the settings file (from 1); 0: not kept
  int file_line = 0;            // line of the parameter file (from 1); 0: not kept
  const char* file_format = nullptr;   // how the parameter file writes it
  const char* shown_format = nullptr;  // how a loaded file or image header shows it in the edit
  // The check box row (its script name) that keeps the user's value at an image load.
  std::string_view header_lock{};
  uint32_t rules = kNoRule;

  bool has(ParameterRule r) const { return (rules & r) != 0; }
};

// The rows in the order of the main window's controls, top to bottom (but the band width
// before the region radios), then the pattern graph window's ranges; the script methods
// register their Get/Set pairs in this order.
std::span<const Parameter> parameter_table();

// The row's place in the table, by which the header locks and the command layer's record of
// its reads address the row.
size_t row_index(const Parameter& p);
// The row a script name stands for ("Lo" for GetLo and SetLo), or null.
const Parameter* parameter_named(std::string_view script);

// The rows ordered by one of the int columns (those with 0 left out).
std::span<const Parameter* const> parameters_in_read_order();
std::span<const Parameter* const> parameters_in_file_order();

// The settings-file lines the table owns, in line order: each is a row, and a radio button
// for the lines of a choice.
struct SettingsEntry {
  int line;
  const Parameter* row;
  const RadioChoice* radio;  // null unless the line keeps one radio button of a choice
};
std::span<const SettingsEntry> settings_entries();

// The macro line of a setter with its argument text: "Kestrin.Set" + script + "(" + text + ");".
std::string setter_line(const Parameter& p, std::string_view argument);

}  // namespace kestrin
