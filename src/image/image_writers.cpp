// The program-side entries of the image writers.
#include "image/image_writers.h"

#include "base/text_file.h"
#include "image/formats/raxis.h"
#include "image/image_loader.h"
#include "image/image_store.h"
#include "model/state.h"

namespace kestrin {

int save_rigaku_file(const std::string& name, int from_main, Report& report) {
  const ImageStore& source = from_main != 0 ? current_image() : bg_image();
  const std::string& loaded = current_image().ImageFilePath;
  std::string head;
  if (read_file_bytes(loaded, head, nullptr, kRaxisHeaderBytes)) {
    const auto bytes = std::span(reinterpret_cast<const uint8_t*>(head.data()), head.size());
    if (const auto h = parse_raxis_header(bytes)) {
      apply_header_geometry(raxis_header_geometry(*h), HeaderFields::WavelengthAndCameraLength, "save_rigaku_file() : ",
                            report);
    }
  }
  const WriteResult written = save_rigaku_file(source, loaded, name, state().options.VerticalReverse == 1);
  for (const std::string& line : written.lines) report.say(line);
  return written.ok ? 0 : 1;
}

}  // namespace kestrin
