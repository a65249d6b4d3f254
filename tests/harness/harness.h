// The headless harness: a thin reader of command lines over the Kestrin object's method
// table and a few commands of its own; it prints every log line and every result.
#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "commands/kestrin_methods.h"

namespace kestrin::harness {

using Args = std::vector<std::string>;

// Splits one input line into a method name and its arguments. Accepts "Name arg arg"
// (arguments separated by blanks, quoted with ' or " when they hold blanks) and the
// recorded-macro form "Kestrin.Name('arg', -2);", whose literals the script lexer reads by
// the scripts' rules (no escapes between apostrophes; \\, \" and the others between double
// quotes, "\n" being CR LF). Returns false for lines with nothing to run (blank, comments,
// "Kestrin = new Kestrin;").
bool parse_command(const std::string& line, std::string& name, Args& args, std::string& error);

// A command-line argument as an integer, as the script object converts it: integer text
// as it is ("$1F" included), a number rounded to the nearest integer with ties to even
// (2.5 gives 2) and wrapped into 32 bits as the script's conversion does (2^32 + 5 gives
// 5); nothing for what is not a number.
std::optional<int32_t> integer_arg(const std::string& text);

// The arguments of one line for a method: numbers through StrToFloat, integers through
// integer_arg (text that is no number fails with StrToFloat's conversion error), strings as
// they stand.
class TextArgs : public MethodArgs {
public:
  explicit TextArgs(const Args& args) : args_(args) {}
  size_t count() const override { return args_.size(); }
  double number(size_t i) const override;
  int32_t integer(size_t i) const override;
  std::string text(size_t i) const override { return args_.at(i); }

private:
  const Args& args_;
};

// The harness's own commands, which are no methods of the script object: ConvertBitmap;
// PixelInformation and ImageReadout; FitResultRows; FitList; the tool windows' SetText, GetText,
// LoadSpotList, SaveSpotAnalysisList, SpotBgCalc, Spot2ThetaCalc, LoadSpotReference and
// OscAnaBatch; and, in the build with windows (the executable only), SaveGraphPicture,
// CopyPeakList and SaveImageView; the tool windows' runs (window_commands.cpp).
std::span<const KestrinMethod> bitmap_commands();
std::span<const KestrinMethod> image_window_commands();
std::span<const KestrinMethod> window_commands();
std::span<const KestrinMethod> analysis_window_commands();
std::span<const KestrinMethod> fit_commands();
std::span<const KestrinMethod> gui_commands();
// Ends the application object the window commands made, if any (before the program exits).
void end_gui_commands();
// Every command the harness answers: the Kestrin object's methods, then its own.
std::span<const KestrinMethod> harness_methods();

// Runs every line of `in` against the methods; log lines and results ("= " and the value:
// integers in decimal, real numbers in the general 15-digit form) go to `out`, problems
// to `err`.
void run_commands(std::istream& in, std::ostream& out, std::ostream& err,
                  std::span<const KestrinMethod> methods = harness_methods());

}  // namespace kestrin::harness
