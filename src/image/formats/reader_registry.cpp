// The readers known to the loader.
#include "image/formats/reader_registry.h"

#include "image/formats/bruker.h"
#include "image/formats/fuji.h"
#include "image/formats/hipic.h"
#include "image/formats/readers.h"
#include "image/formats/tiff.h"

namespace kestrin {

ReaderRegistry& reader_registry() {
  static ReaderRegistry registry = [] {
    ReaderRegistry r;
    r.rigaku = &read_rigaku_file;
    r.information = &read_information_file;
    r.fuji = &read_fuji_file;
    r.hipic = &read_hipic_file;
    r.bruker = &read_bruker_file;
    r.tiff = &read_tiff_file;
    r.tiff_float = &read_tiff_float_file;
    r.gel = &read_gel_file;
    r.tiff_is_float = &tiff_is_float;
    return r;
  }();
  return registry;
}

}  // namespace kestrin
