// kestrin-harness: reads Kestrin script-object calls from a file or standard input, one per
// line, runs them headless and prints every log line and result.
#include <clocale>
#include <fstream>
#include <iostream>

#include "harness/harness.h"

using namespace kestrin::harness;

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  std::setlocale(LC_NUMERIC, "C");
  Registry registry;
  register_all_commands(registry);
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
    run_commands(in, std::cout, std::cerr, registry);
  } else {
    run_commands(std::cin, std::cout, std::cerr, registry);
  }
  return 0;
}
