// The displayed image as an 8-bit picture, and saving it.
#include "image/display_picture.h"

#include <algorithm>

#include "base/paths.h"
#include "image/display/display.h"
#include "image/image_store.h"
#include "model/state.h"
#include "ports/ports.h"

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

void save_img_proc() {
  if (current_image().NoImageFlag == 1) return;
  FileDialogSlots& slots = state().dialog_slots;
  FileDialogSetup setup = file_dialogs().save_state();
  setup.folder = slots.folder[kSlotImageSave];
  setup.filter_index = slots.filter_index[kSlotImageSave];
  setup.filter = "BITMAP (*.bmp)|*.BMP";
  setup.default_ext = "bmp";
  setup.file_name.clear();
  const std::string name = file_dialogs().run_save(setup);
  slots.folder[kSlotImageSave] = folder_of(name);
  slots.filter_index[kSlotImageSave] = file_dialogs().save_filter_index();
  if (name.empty()) {
    log_line(" save_img_proc() : cancel ");
    return;
  }
  display_picture().SaveToFile(name);
}

}  // namespace kestrin
