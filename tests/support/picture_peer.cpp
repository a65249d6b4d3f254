// Asking PIL about a picture.
#include "support/picture_peer.h"

#include <sstream>

#include "support/temp_dir.h"

namespace kestrin::test {

PictureFacts describe_picture(const std::string& path, const std::vector<std::string>& asked) {
  PictureFacts f;
  std::string command = std::string(kPeerPython) + " " + KESTRIN_SOURCE_DIR + "/tests/peers/picture_colours.py '" + path + "'";
  for (const std::string& a : asked) command += " " + a;
  if (run_command(command + " 2>&1", &f.output) != 0) return f;
  std::istringstream in(f.output);
  in >> f.width >> f.height >> f.colours;
  std::string key, value;
  while (in >> key >> value) {
    if (key.find(',') != std::string::npos)
      f.pixels[key] = value;
    else
      f.present[key] = value == "1";
  }
  f.read = true;
  return f;
}

}  // namespace kestrin::test
