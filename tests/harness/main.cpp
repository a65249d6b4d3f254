// kestrin-harness: reads Kestrin script-object calls from a file or standard input, one per
// line, runs them headless and prints every log line and result.
#include <clocale>
#include <fstream>
#include <iostream>

#include "commands/wiring.h"
#include "harness/harness.h"

using namespace kestrin;

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
    harness::run_commands(in, std::cout, std::cerr);
  } else {
    harness::run_commands(std::cin, std::cout, std::cerr);
  }
  return 0;
}
