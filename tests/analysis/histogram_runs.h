// The histogram routines run as their commands run them, for the tests that call them
// directly: the parameters read from the edits (with an image), the routine's lines into
// the log, then (shown) the range edits and the graph redraw it asks for.
#pragma once

#include "analysis/histogram_frame.h"
#include "base/report.h"
#include "commands/histogram_commands.h"
#include "ports/log.h"

namespace kestrin::test {

// A histogram routine as the tests pass it around.
using HistogramRoutine = PatternShow (*)(Report&);

template <class Routine>
PatternShow logged(Routine routine) {
  read_image_parameters();
  Report report = log_report();
  return routine(report);
}

template <class Routine>
PatternShow shown(Routine routine) {
  const PatternShow made = logged(routine);
  show_pattern(made);
  return made;
}

}  // namespace kestrin::test
