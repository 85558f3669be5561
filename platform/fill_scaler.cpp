#include "platform/fill_scaler.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace platform {

Area FillArea(int w, int h, int dstW, int dstH) {
  Area a;
  if (w <= 0 || h <= 0 || dstW <= 0 || dstH <= 0) return a;
  // Compared as products, so a destination of exactly the picture's shape
  // is filled to the last pixel.
  if (static_cast<int64_t>(dstW) * h <= static_cast<int64_t>(dstH) * w) {
    a.width = dstW;
    a.height = static_cast<int>(static_cast<int64_t>(dstW) * h / w);
  } else {
    a.height = dstH;
    a.width = static_cast<int>(static_cast<int64_t>(dstH) * w / h);
  }
  a.width = std::max(a.width, 1);
  a.height = std::max(a.height, 1);
  a.left = (dstW - a.width) / 2;
  a.top = (dstH - a.height) / 2;
  return a;
}

Area AreaOf(const Placement& p) { return Area{p.left, p.top, p.cols * p.factor, p.rows * p.factor}; }

Area PictureArea(ScaleChoice scale, int w, int h, int dstW, int dstH) {
  return scale == ScaleChoice::kInteger ? AreaOf(PlaceInside(w, h, dstW, dstH)) : FillArea(w, h, dstW, dstH);
}

void FillScaler::Prepare(int w, int h, const Area& area) {
  if (w == w_ && h == h_ && area == area_ && (whole_ || !columns_.empty())) return;
  w_ = w;
  h_ = h;
  area_ = area;
  const int k = area.width / w;
  whole_ = k >= 1 && area.width == k * w && area.height == k * h;
  columns_.clear();
  rows_.clear();
  extra_.clear();
  stretches_.clear();
  run_ = 0;
  if (whole_) {
    placement_ = Placement{k, area.left, area.top, w, h};
    return;
  }
  // Destination pixel d shows source pixel floor(d * w / width): every
  // source pixel gets a run of equal length give or take one.
  columns_.resize(static_cast<size_t>(area.width));
  for (int d = 0; d < area.width; ++d) columns_[static_cast<size_t>(d)] = static_cast<int>(static_cast<int64_t>(d) * w / area.width);
  run_ = area.width / w;
  extra_.assign(static_cast<size_t>(w), 0);
  if (run_ >= 1) {
    for (int d = 0; d < area.width; ++d) ++extra_[static_cast<size_t>(columns_[static_cast<size_t>(d)])];
    for (uint8_t& n : extra_) n = static_cast<uint8_t>(n - run_);
    // Stretches of equal runs, kept when they are long on average.
    for (int x = 0; x < w; ++x) {
      const int run = run_ + extra_[static_cast<size_t>(x)];
      if (!stretches_.empty() && stretches_.back().run == run) {
        ++stretches_.back().count;
      } else {
        stretches_.push_back(Stretch{x, 1, run});
      }
    }
    if (stretches_.size() * 16 > static_cast<size_t>(w)) stretches_.clear();
  }
  rows_.resize(static_cast<size_t>(area.height));
  for (int d = 0; d < area.height; ++d) rows_[static_cast<size_t>(d)] = static_cast<int>(static_cast<int64_t>(d) * h / area.height);
}

// One source row across the area. Enlarging, each source pixel covers a run
// of run_ or run_ + 1 destination pixels. Where runs of one length come in
// long stretches (a size just off a whole multiple) each stretch is widened
// like the whole-factor scaler does; otherwise every source pixel is written
// run_ + 1 times, two pixels to a store where it can, and the pen moves on
// by its own run, so a short run's last copy is overwritten by the next
// pixel and the loop has no branches.
void FillScaler::Widen(const uint32_t* s, uint32_t* d) const {
  if (run_ < 1) {
    const int* cols = columns_.data();
    for (int x = 0; x < area_.width; ++x) d[x] = s[cols[x]];
    return;
  }
  if (!stretches_.empty()) {
    for (const Stretch& st : stretches_) {
      // Locals, so the compiler knows the stores cannot change them.
      const uint32_t* from = s + st.first;
      const int count = st.count;
      const int run = st.run;
      if (run == 1) {
        std::memcpy(d, from, static_cast<size_t>(count) * 4);
      } else if (run == 2) {
        for (int i = 0; i < count; ++i) {
          d[2 * i] = from[i];
          d[2 * i + 1] = from[i];
        }
      } else {
        for (int i = 0; i < count; ++i)
          for (int r = 0; r < run; ++r) d[i * run + r] = from[i];
      }
      d += count * run;
    }
    return;
  }
  const uint8_t* extra = extra_.data();
  const int last = w_ - 1;
  auto pair = [](uint32_t v) { return static_cast<uint64_t>(v) * 0x100000001u; };
  if (run_ == 1) {
    for (int x = 0; x < last; ++x) {
      const uint64_t vv = pair(s[x]);
      std::memcpy(d, &vv, 8);
      d += 1 + extra[x];
    }
  } else if (run_ == 2) {
    for (int x = 0; x < last; ++x) {
      const uint64_t vv = pair(s[x]);
      std::memcpy(d, &vv, 8);
      d[2] = s[x];
      d += 2 + extra[x];
    }
  } else {
    for (int x = 0; x < last; ++x) {
      const uint32_t v = s[x];
      for (int r = 0; r <= run_; ++r) d[r] = v;
      d += run_ + extra[x];
    }
  }
  for (int r = 0; r < run_ + extra[last]; ++r) d[r] = s[last];
}

void FillScaler::Scale(const uint32_t* src, uint8_t* dstBytes, int dstPitch) const {
  if (whole_) {
    ScaleInto(src, w_, placement_, dstBytes, dstPitch);
    return;
  }
  if (columns_.empty()) return;
  const size_t rowBytes = static_cast<size_t>(area_.width) * 4;
  uint8_t* line = dstBytes + static_cast<size_t>(area_.top) * dstPitch + static_cast<size_t>(area_.left) * 4;
  const uint8_t* previous = nullptr;
  int previousRow = -1;
  for (int dy = 0; dy < area_.height; ++dy, line += dstPitch) {
    const int sy = rows_[static_cast<size_t>(dy)];
    if (sy == previousRow) {
      // A repeated source row is a plain copy of the line above.
      std::memcpy(line, previous, rowBytes);
      continue;
    }
    Widen(src + static_cast<size_t>(sy) * w_, reinterpret_cast<uint32_t*>(line));
    previous = line;
    previousRow = sy;
  }
}

}  // namespace platform
