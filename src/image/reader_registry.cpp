// The readers known to the loader.
#include "image/reader_registry.h"

#include "image/readers.h"

namespace kestrin {

ReaderRegistry& reader_registry() {
  static ReaderRegistry registry = [] {
    ReaderRegistry r;
    r.rigaku = &read_rigaku_file;
    return r;
  }();
  return registry;
}

}  // namespace kestrin
