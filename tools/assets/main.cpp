// Draws the game's pictures and synthesises its sounds into a run folder.
#include <cstdio>
#include <string>

#include "tools/assets/generate.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: stakko-assets RUN_DIR\n");
    return 2;
  }
  std::string error;
  if (!art::GenerateAssets(argv[1], &error)) {
    std::fprintf(stderr, "stakko-assets: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
