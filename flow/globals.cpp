#include "flow/globals.h"

#include <cfenv>
#include <cmath>

GameGlobals G;

void ClearGameGlobals() { G = GameGlobals{}; }

int RoundHalfEven(double value) {
  // nearbyint follows the current rounding mode, which the game never
  // changes from round-to-nearest-even.
  return static_cast<int>(std::nearbyint(value));
}
