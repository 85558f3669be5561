#include <iostream>
#include <string>
#include <vector>

#include "platform/option_text.h"
#include "tools/sim/scenario.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
  // A trace is the same bytes on every system: no CR before each newline.
  _setmode(_fileno(stdout), _O_BINARY);
#endif
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
    std::cerr << "stakko-sim: " << platform::Printable(error) << "\n" << kSimUsage;
    return 2;
  }
  return RunSim(options, std::cout, std::cerr);
}
