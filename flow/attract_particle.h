// One jewel of the attract screens' fountain (flow/title_screens.cpp moves
// and draws them). Kept apart from that unit, which reads G, so that the
// global record can hold the fountain.
#pragma once

#include <cstdint>

struct AttractParticle {
  int32_t kind = 0;  // 1..6, 0 not yet spawned
  float dx = 0.0f;
  float dy = 0.0f;
  float x = 0.0f;
  float y = 0.0f;
  float speed = 0.0f;
};
