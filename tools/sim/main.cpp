#include <iostream>
#include <string>
#include <vector>

#include "tools/sim/scenario.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  for (const std::string& a : args) {
    if (a == "--help" || a == "-h") {
      std::cout << kSimUsage;
      return 0;
    }
  }
  SimOptions options;
  std::string error;
  if (!ParseSimArgs(args, options, error)) {
    std::cerr << "stakko-sim: " << error << "\n" << kSimUsage;
    return 2;
  }
  return RunSim(options, std::cout, std::cerr);
}
