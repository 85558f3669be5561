#include <iostream>
#include <string>
#include <vector>

#include "platform/option_text.h"
#include "tools/sim/scenario.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include "platform/internal/wide_text.h"
#include "platform/internal/windows_api.h"
#include <shellapi.h>
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
  // A trace is the same bytes on every system: no CR before each newline.
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  std::vector<std::string> args(argv + 1, argv + argc);
#ifdef _WIN32
  // argv is in the ANSI code page, which loses letters outside it (a folder
  // named in Greek on a Western system): the command line is read as the
  // UTF-16 it is, and passed on as UTF-8 like everywhere else.
  int count = 0;
  if (LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
    args.clear();
    for (int i = 1; i < count; ++i) args.push_back(platform::NarrowText(wide[i]));
    LocalFree(wide);
  }
#endif
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
