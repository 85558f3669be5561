// Showing the 640x480 picture on a destination of any size: the largest area
// of the picture's own shape, centred, nearest-neighbour pixels. Where that
// area is a whole multiple of the picture, the whole-factor scaler does the
// work; otherwise maps of source columns and rows, made once per size, keep
// the cost of a frame that of the whole-factor scaler.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/scaler.h"

namespace platform {

// A rectangle of the destination, in its pixels.
struct Area {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const Area&) const = default;
};

// The largest area of w:h proportions inside dstW x dstH, centred.
Area FillArea(int w, int h, int dstW, int dstH);
// The area a whole-factor placement covers.
Area AreaOf(const Placement& p);

// How the player asked the picture to be enlarged: the largest area of its
// shape (shrunk where the screen is smaller), or whole factors only (a
// screen smaller than the picture shows its middle).
enum class ScaleChoice { kFill, kInteger };
// Where a w x h picture lands on a dstW x dstH screen for that choice: the
// one answer the presenters, the bars and the mouse all use.
Area PictureArea(ScaleChoice scale, int w, int h, int dstW, int dstH);

class FillScaler {
 public:
  // Scales a w x h picture into area from now on; the maps are remade only
  // when something changed.
  void Prepare(int w, int h, const Area& area);
  // Writes the area only; the bars around it are left as they are.
  void Scale(const uint32_t* src, uint8_t* dstBytes, int dstPitch) const;

 private:
  int w_ = 0;
  int h_ = 0;
  Area area_;
  bool whole_ = false;  // a whole multiple: the whole-factor scaler does it
  Placement placement_;
  void Widen(const uint32_t* s, uint32_t* d) const;

  std::vector<int> columns_;  // source column of each destination column
  std::vector<int> rows_;     // source row of each destination row
  // Enlarging: each source column covers `run_` or one more destination
  // columns; extra_ says which.
  int run_ = 0;
  std::vector<uint8_t> extra_;
  struct Stretch {
    int first;  // source column
    int count;  // source columns
    int run;    // destination columns each
  };
  std::vector<Stretch> stretches_;
};

}  // namespace platform
