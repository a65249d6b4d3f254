// Batch conversion of image files into NPD patterns.
#include "analysis/batch_convert.h"

#include "image/image_store.h"
#include "model/state.h"
#include "ports/long_run.h"

namespace kestrin {

namespace {

// The loader keeps the previous image when it refuses a name before reading (a blank line,
// no image extension, no folder), so a good load is told by the path as well as the flag.
bool loaded(const std::string& line) {
  const ImageStore& img = current_image();
  return img.NoImageFlag == 0 && img.ImageFilePath == line;
}

void convert_one(const std::string& line, const ConvertSteps& steps, Report& report) {
  steps.load(line);
  if (!loaded(line)) {
    report.say(" batch_convert() : " + line + " skipped.");
    return;
  }
  NaxPattern& pattern = state().nax_pattern;
  pattern.kind = {1, 1, 1, 1, 1};  // no pattern until the integration makes one
  steps.integrate();
  const ImageStore& img = current_image();
  steps.save(img.ImageFolder + img.ImageBaseName + ".npd");
}

}  // namespace

void batch_convert(const std::vector<std::string>& lines, const ConvertSteps& steps, Report& report) {
  run_long("batch_convert", [&] {
    for (const std::string& line : lines) {
      convert_one(line, steps, report);
      pump_events();
      if (program_terminated()) break;
    }
  });
}

}  // namespace kestrin
