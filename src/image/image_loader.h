// The image loader: checks a file name, reads the file with the format decoders, reports,
// applies the header geometry under the user's locks, puts the image into the current
// store, reads the image's ".kes" and hands over to the views.
#pragma once

#include <string>

#include "base/report.h"
#include "image/formats/decoded_image.h"
#include "image/image_store.h"

namespace kestrin {

// What a load did that the windows follow.
struct ImageLoad {
  bool loaded = false;        // `name` is the current image now
  bool mask_cleared = false;  // the clear-mask option emptied the mask (a ClearMask macro line)
};

// Loads `name` (a path with a folder) as the current image: the checks and the decode with
// every line into `report`, the header geometry under the locks, the ".kes" beside the
// image, the mask, the view, the display range and the spot list. No control or window is
// touched: the load command (commands/file_commands.h) shows the result. A refused name
// leaves the image it would have replaced in the store, so NoImageFlag alone does not tell
// that this file was loaded.
ImageLoad load_current_image(const std::string& name, Report& report);

// Reads `name` into `store` (its names, type and image) without the program's state: the
// current image, the geometry, the parameters and the views stay as they are, and a good read
// says nothing. The tool windows that go through many files (merging, spreading) use it. The
// name is checked as the loader checks it; a refused name, or a file that cannot be read,
// says the reader's lines and a line naming `routine` that says why, as the loader's lines
// name load_img_proc, and gives false with NoImageFlag 1.
bool read_image_file(const std::string& name, ImageStore& store, const std::string& routine, Report& report);

// The settings the decoders follow for a file: the VerticalReverse option, the Fuji bit
// depth the current image keeps (shared by the background image) and the file's name.
DecodeOptions decode_options(const std::string& name);

// Which header values are taken: all, or only the wavelength and the camera length (the
// background image and the R-AXIS writer).
enum class HeaderFields { All, WavelengthAndCameraLength };

// The header's geometry replaces each integration parameter whose header lock (the check
// box the parameter table names for it) is unchecked. A value that is not a positive finite number is not
// taken: the user's value stays and a line beginning with `prefix` says so.
void apply_header_geometry(const HeaderGeometry& geometry, HeaderFields fields, const std::string& prefix,
                           Report& report);

// What differs between the image loader and the background loader: the routine its lines
// name, the header values it takes for an image type, and how a reader's line reads in its
// log.
struct LoaderVoice {
  std::string routine;
  HeaderFields (*fields)(int32_t type);
  std::string (*reword)(const std::string& line);
};

// The steps every loader shares, up to a decoded image in `img`: the name checks, the
// names, the decode with the reader's lines, the header geometry and the install.
// NoImageFlag is 1 from the decode on, and stays 1 when the load fails (false).
bool decode_into_store(ImageStore& img, const std::string& name, const LoaderVoice& voice, Report& report);

// The statistics lines, each after `prefix`, then `saturated_line` when the linear maximum
// is the saturation.
void say_image_statistics(const ImageStore& img, const std::string& prefix, const std::string& saturated_line,
                          Report& report);

}  // namespace kestrin
