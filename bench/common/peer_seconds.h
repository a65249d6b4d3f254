// Runs a peer's timing script and reads the seconds it prints on its first line.
#pragma once

#include <cstdio>
#include <cstring>
#include <string>

#include "base/convert.h"

namespace kestrin::bench {

// The first line of the command's output as seconds; -1 when it fails or prints no number.
inline double PeerSeconds(const std::string& command) {
  std::FILE* p = popen(command.c_str(), "r");
  if (!p) return -1;
  char line[128] = {0};
  const bool got = std::fgets(line, sizeof line, p) != nullptr;
  if (pclose(p) != 0 || !got) return -1;
  return kestrin::TryStrToFloat(std::string(line, strcspn(line, "\r\n"))).value_or(-1);
}

}  // namespace kestrin::bench
