// Showing the 640x480 picture on a larger destination: the largest whole
// factor that fits, centred, nearest-neighbour pixels. Pure arithmetic on
// pixel rows, so a window backend and its tests share it.
#pragma once

#include <cstdint>

namespace platform {

// Where the picture lands in a destination of dstW x dstH pixels.
struct Placement {
  int factor = 1;  // at least 1
  int left = 0;
  int top = 0;
  int cols = 0;  // source columns and rows shown (all of them unless the
  int rows = 0;  // destination is smaller than the picture)
};

Placement PlaceInside(int w, int h, int dstW, int dstH);

// Enlarges src (w pixels a row, 0x00RRGGBB) into the placed area of a
// 32-bit destination only; the letterbox around it is left as it is.
void ScaleInto(const uint32_t* src, int w, const Placement& p, uint8_t* dstBytes, int dstPitch);

}  // namespace platform
