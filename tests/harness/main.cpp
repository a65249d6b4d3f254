// kestrin-harness: reads Kestrin script-object calls from a file or standard input, one per
// line, runs them headless and prints every log line and result.
#include <clocale>
#include <fstream>
#include <iostream>
#include <vector>

#include "commands/wiring.h"
#include "harness/harness.h"

using namespace kestrin;

namespace {

// Every command of this build: the headless ones, and the window commands with the GUI.
std::vector<KestrinMethod> all_methods() {
  std::vector<KestrinMethod> methods(harness::harness_methods().begin(), harness::harness_methods().end());
#ifdef KESTRIN_HARNESS_GUI
  methods.insert(methods.end(), harness::gui_commands().begin(), harness::gui_commands().end());
#endif
  return methods;
}

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  std::setlocale(LC_NUMERIC, "C");
  start_headless_program();
  if (argc > 2) {
    std::cerr << "usage: kestrin-harness [FILE]\n";
    return 2;
  }
  if (argc == 2) {
    std::ifstream in(argv[1]);
    if (!in) {
      std::cerr << "cannot open " << argv[1] << '\n';
      return 2;
    }
    harness::run_commands(in, std::cout, std::cerr, all_methods());
  } else {
    harness::run_commands(std::cin, std::cout, std::cerr, all_methods());
  }
#ifdef KESTRIN_HARNESS_GUI
  harness::end_gui_commands();
#endif
  return 0;
}
