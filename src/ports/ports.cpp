// The process-wide ports and their headless defaults.
#include "ports/ports.h"

#include "ports/file_dialogs.h"

namespace kestrin {

namespace {
HeadlessControls& default_controls() {
  static HeadlessControls c;
  return c;
}
Views& default_views() {
  static Views v;
  return v;
}
Prompts& default_prompts() {
  static Prompts p;
  return p;
}
}  // namespace

Ports& ports() {
  static Ports p{&default_controls(), &default_views(), &default_prompts()};
  return p;
}

HeadlessControls& headless_controls() { return default_controls(); }

void install_ports(Controls* c, Views* v, Prompts* p) {
  Ports& current = ports();
  current.controls = c ? c : &default_controls();
  current.views = v ? v : &default_views();
  current.prompts = p ? p : &default_prompts();
}

void reset_ports() {
  default_controls() = HeadlessControls();
  install_ports(nullptr, nullptr, nullptr);
  install_file_dialogs(nullptr);
}

}  // namespace kestrin
