// The millisecond clock and the game's own random generator.
#pragma once

#include <cstdint>

int64_t ElapsedMs();
uint32_t RandomRange(uint32_t max, uint32_t min);
uint32_t RandomBelowOrAt(uint32_t n);
void RandomSeed(uint32_t seed);
