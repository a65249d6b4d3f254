// The loader's table of image readers, one slot per format. A slot left empty makes the
// loader log that format's reader-failure line; each format plugs in with one line in
// reader_registry.cpp.
#pragma once

#include <string>

namespace kestrin {

struct ImageStore;

// Reads `path` into the store; 0 on success, non-zero on failure (the reader logs why).
// The Fuji ".inf" reader gets the ".inf" path (InfFileName), every other reader the image
// path.
using ImageReaderFn = int (*)(ImageStore& store, const std::string& path);
// True when the first image of a TIFF file has 32-bit IEEE floating-point samples.
using TiffFloatTestFn = bool (*)(const std::string& path);

struct ReaderRegistry {
  ImageReaderFn rigaku = nullptr;
  ImageReaderFn information = nullptr;  // Fuji ".inf" header, runs before `fuji`
  ImageReaderFn fuji = nullptr;
  ImageReaderFn hipic = nullptr;
  ImageReaderFn bruker = nullptr;
  ImageReaderFn tiff = nullptr;
  ImageReaderFn tiff_float = nullptr;
  ImageReaderFn gel = nullptr;
  TiffFloatTestFn tiff_is_float = nullptr;
};

// The process-wide table (tests may swap slots and restore them).
ReaderRegistry& reader_registry();

}  // namespace kestrin
