// What the well is made of: its size and what each cell holds. Kept apart
// from play/board.h, which reads G, so that the global record can hold a
// board without including the code that plays on it.
#pragma once

#include <cstdint>

constexpr int BoardColumns = 6;
constexpr int BoardRows = 13;  // row 0 lies above the well

// 0 an empty cell, 1..6 the six jewel colours.
using Jewel = int32_t;
