// Fuzz target: FTP listing lines, each parsed in the three styles and added to the lists
// as LIST and NLST lines. A line either gives an entry, gives none, or raises the
// conversion error of a malformed size.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "base/convert.h"
#include "base/text_file.h"
#include "script/objects/net/ftp_listing.h"

using namespace kestrin;
using namespace kestrin::script;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  TFTPDirectoryList list, names;
  list.Now = [] { return 45458.5; };
  for (const std::string& line : split_lines(text)) {
    for (TFTPListStyle style : {lsAutomatic, lsUnix, lsDos}) {
      TFTPFileProperty entry;
      try {
        ParseFtpListLine(line, style, 45458.5, entry);
      } catch (const ConversionError&) {
      }
    }
    try {
      list.Add(line);
    } catch (const ConversionError&) {
    }
    names.AddName(line);
  }
  for (size_t i = 0; i < list.Count(); ++i) (void)list.HasName(list.Items(i).Name);
  if (list.Count() > 0) list.Delete(0);
  return 0;
}
