// Fuzz target: INI text read into TMemIniFile. Writing it out and reading that again gives
// the same text; a value written then reads back trimmed, or the write is refused.
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/classes/ini_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  kgui::TMemIniFile ini("fuzz.ini");
  ini.SetText(text);
  const std::string once = ini.Text();
  kgui::TMemIniFile again("fuzz.ini");
  again.SetText(once);
  if (again.Text() != once) std::abort();
  for (const std::string& section : ini.ReadSections()) {
    if (!ini.SectionExists(section)) std::abort();
    for (const std::string& key : ini.ReadSection(section)) {
      std::string value;
      if (!ini.ReadString(section, key, value)) std::abort();
    }
  }
  // The input's first line as section, key and value.
  const std::string_view line = text.substr(0, text.find('\n'));
  if (ini.WriteString(line, line, line)) {
    std::string value;
    again.SetText(ini.Text());
    if (!again.ReadString(line, line, value)) std::abort();
  }
  return 0;
}
