// The displayed image as an 8-bit picture, and saving it.
#include "image/display_picture.h"

#include <algorithm>

#include "base/paths.h"
#include "image/display/display.h"
#include "image/image_store.h"
#include "model/state.h"

namespace kestrin {

TKsDIB display_picture() {
  const SharedState& s = state();
  const DisplayLevels& levels = s.display_levels;
  TKsDIB dib;
  dib.SetBitCount(8);
  dib.SetWidth(std::max(levels.width, 1));
  dib.SetHeight(std::max(levels.height, 1));
  const Palette palette = image_palette(s.options.GradationReverse != 0, s.OmitBlue);
  for (int i = 0; i < 256; ++i) dib.SetColor(i, palette[size_t(i)]);
  if (levels.level.size() != size_t(levels.width) * size_t(levels.height)) return dib;
  for (int32_t y = 0; y < levels.height; ++y)
    std::copy_n(levels.level.data() + size_t(y) * size_t(levels.width), size_t(levels.width), dib.ScanLine(y));
  return dib;
}

void save_img_proc(const std::string& name, int filter_index, Report& report) {
  FileDialogSlots& slots = state().dialog_slots;
  slots.folder[kSlotImageSave] = folder_of(name);
  slots.filter_index[kSlotImageSave] = filter_index;
  if (name.empty()) {
    report.say(" save_img_proc() : cancel ");
    return;
  }
  display_picture().SaveToFile(name);
}

}  // namespace kestrin
