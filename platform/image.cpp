// Images, sprites and drawing sessions, composed in software on the back
// buffer. Every picture is kept in the back buffer's own pixel layout from
// the moment it is loaded, so drawing one is a copy per visible row (or a
// compare-and-select for keyed sprites), clipped once per call.
//
// The title wave cuts, draws and releases hundreds of one-row images every
// frame, so released slots keep their pixel buffers and the next cut reuses
// the most recently released one: after the first frame nothing allocates.
#include "platform/image.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "platform/bitmap_file.h"
#include "platform/draw.h"
#include "platform/files.h"
#include "platform/image_session.h"
#include "platform/screen.h"

namespace {

constexpr int kScreenW = platform::kBackBufferWidth;
constexpr int kScreenH = platform::kBackBufferHeight;

// Largest picture made by cutting or grabbing, as for decoded files.
constexpr int64_t kMaxSide = 16384;
constexpr int64_t kMaxPixels = int64_t{1} << 24;
// A bitmap of the largest accepted size plus headers and table fits in this.
constexpr uint64_t kMaxFileBytes = 80ull << 20;
// Buffers of released pictures up to this many pixels are kept for reuse.
constexpr size_t kKeepBufferPixels = 1u << 16;

struct Picture {
  int handle = 0;  // 0 while the slot is free
  int width = 0;
  int height = 0;
  size_t capacity = 0;
  std::unique_ptr<uint32_t[]> pixels;
};

// Handles carry the slot in their low 16 bits (plus one, so never 0) and a
// use count above it, so a released handle does not silently name the next
// picture put in its slot. Handles stay positive: -1 means "all" to
// ReleaseImage.
class Registry {
 public:
  Picture* Find(int handle) {
    if (handle <= 0) return nullptr;
    const size_t index = static_cast<size_t>(handle & 0xFFFF) - 1;
    if (index >= slots_.size() || slots_[index].handle != handle) return nullptr;
    return &slots_[index];
  }

  // A live picture of width x height with uninitialised pixels, or nullptr.
  // Pointers into the registry are invalidated by the next Allocate.
  Picture* Allocate(int width, int height) {
    const size_t need = static_cast<size_t>(width) * static_cast<size_t>(height);
    size_t index;
    if (!freeSlots_.empty()) {
      index = freeSlots_.back();
      freeSlots_.pop_back();
    } else {
      if (slots_.size() >= 0xFFFF) return nullptr;
      try {
        slots_.emplace_back();
        freeSlots_.reserve(slots_.size());
      } catch (const std::bad_alloc&) {
        return nullptr;
      }
      index = slots_.size() - 1;
      generations_.push_back(0);
    }
    Picture& p = slots_[index];
    if (p.capacity < need) {
      p.pixels.reset();
      p.capacity = 0;
      try {
        p.pixels = std::make_unique_for_overwrite<uint32_t[]>(need);
      } catch (const std::bad_alloc&) {
        freeSlots_.push_back(index);
        return nullptr;
      }
      p.capacity = need;
    }
    generations_[index] = (generations_[index] + 1) & 0x7FFF;
    p.handle = (generations_[index] << 16) | static_cast<int>(index + 1);
    p.width = width;
    p.height = height;
    return &p;
  }

  void Release(Picture& p) {
    p.handle = 0;
    if (p.capacity > kKeepBufferPixels) {
      p.pixels.reset();
      p.capacity = 0;
    }
    freeSlots_.push_back(static_cast<size_t>(&p - slots_.data()));
  }

  void ReleaseAll() {
    for (Picture& p : slots_) {
      if (p.handle != 0) Release(p);
    }
  }

  void Clear() {
    slots_.clear();
    slots_.shrink_to_fit();
    freeSlots_.clear();
    freeSlots_.shrink_to_fit();
    generations_.clear();
    generations_.shrink_to_fit();
  }

 private:
  std::vector<Picture> slots_;
  std::vector<size_t> freeSlots_;  // most recently released last
  std::vector<int> generations_;
};

Registry images;
Registry sprites;

platform::DrawingSession session;
bool sessionOpen = false;

enum class Mix { Copy, Xor, Keyed };

// Draws a width x height picture with its top-left corner at (x, y),
// clipped to the back buffer.
void Compose(const uint32_t* src, int width, int height, int64_t x, int64_t y, Mix mix) {
  const int64_t left = std::max<int64_t>(x, 0);
  const int64_t right = std::min<int64_t>(x + width, kScreenW);
  const int64_t top = std::max<int64_t>(y, 0);
  const int64_t bottom = std::min<int64_t>(y + height, kScreenH);
  if (left >= right || top >= bottom) return;
  const size_t count = static_cast<size_t>(right - left);
  uint32_t* dstRow = platform::BackBufferPixels() + top * kScreenW + left;
  const uint32_t* srcRow = src + (top - y) * width + (left - x);
  for (int64_t row = top; row < bottom; ++row, dstRow += kScreenW, srcRow += width) {
    switch (mix) {
      case Mix::Copy:
        std::memcpy(dstRow, srcRow, count * sizeof(uint32_t));
        break;
      case Mix::Xor:
        for (size_t i = 0; i < count; ++i) dstRow[i] ^= srcRow[i];
        break;
      case Mix::Keyed:
        // Only exact black is left out.
        for (size_t i = 0; i < count; ++i) {
          const uint32_t s = srcRow[i];
          dstRow[i] = s != 0 ? s : dstRow[i];
        }
        break;
    }
  }
}

int LoadInto(Registry& registry, const std::string& name) {
  auto bytes = platform::ReadWholeFile(name, kMaxFileBytes);
  if (!bytes) return 0;
  auto decoded = platform::DecodeBitmap(bytes->data(), bytes->size());
  if (!decoded) return 0;
  Picture* p = registry.Allocate(decoded->width, decoded->height);
  if (p == nullptr) return 0;
  std::memcpy(p->pixels.get(), decoded->pixels.data(), decoded->pixels.size() * sizeof(uint32_t));
  return p->handle;
}

bool SaneSize(int width, int height) {
  return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide &&
         int64_t{width} * height <= kMaxPixels;
}

void DisplaySprite(SpriteId sprite, int x, int y, Mix mix) {
  if (!platform::ScreenOpen()) return;
  const Picture* p = sprites.Find(sprite);
  if (p == nullptr) return;
  Compose(p->pixels.get(), p->width, p->height, x, y, mix);
}

}  // namespace

ImageId LoadImageFile(const std::string& name) { return LoadInto(images, name); }

ImageId CutImage(ImageId source, int x, int y, int width, int height) {
  if (images.Find(source) == nullptr || !SaneSize(width, height)) return 0;
  Picture* cut = images.Allocate(width, height);
  if (cut == nullptr) return 0;
  const Picture* src = images.Find(source);  // Allocate may have moved it
  // The part of the rectangle that lies on the source is copied; whatever
  // runs off the source is black.
  const int64_t left = std::clamp<int64_t>(x, 0, src->width);
  const int64_t right = std::clamp<int64_t>(int64_t{x} + width, 0, src->width);
  const int64_t top = std::clamp<int64_t>(y, 0, src->height);
  const int64_t bottom = std::clamp<int64_t>(int64_t{y} + height, 0, src->height);
  const bool anyInside = left < right && top < bottom;
  for (int row = 0; row < height; ++row) {
    uint32_t* dst = cut->pixels.get() + static_cast<size_t>(row) * static_cast<size_t>(width);
    const int64_t srcY = int64_t{y} + row;
    if (!anyInside || srcY < top || srcY >= bottom) {
      std::memset(dst, 0, static_cast<size_t>(width) * sizeof(uint32_t));
      continue;
    }
    const size_t before = static_cast<size_t>(left - x);
    const size_t inside = static_cast<size_t>(right - left);
    const size_t after = static_cast<size_t>(width) - before - inside;
    std::memset(dst, 0, before * sizeof(uint32_t));
    std::memcpy(dst + before, src->pixels.get() + srcY * src->width + left, inside * sizeof(uint32_t));
    std::memset(dst + before + inside, 0, after * sizeof(uint32_t));
  }
  return cut->handle;
}

void ReleaseImage(ImageId image) {
  if (image == -1) {
    images.ReleaseAll();
    return;
  }
  if (Picture* p = images.Find(image)) images.Release(*p);
}

void BlitImage(ImageId image, int x, int y) {
  if (!sessionOpen) return;
  const Picture* p = images.Find(image);
  if (p == nullptr) return;
  const Mix mix = (session.paintMode & PaintInvert) != 0 ? Mix::Xor : Mix::Copy;
  Compose(p->pixels.get(), p->width, p->height, int64_t{x} + session.originX,
          int64_t{y} + session.originY, mix);
}

SpriteId LoadSpriteFile(const std::string& name) {
  if (!platform::ScreenOpen()) return 0;  // sprites live with the screen
  return LoadInto(sprites, name);
}

void DisplaySpriteKeyed(SpriteId sprite, int x, int y) { DisplaySprite(sprite, x, y, Mix::Keyed); }

void DisplaySpriteOpaque(SpriteId sprite, int x, int y) { DisplaySprite(sprite, x, y, Mix::Copy); }

SpriteId GrabScreenSprite(int x, int y, int width, int height) {
  if (!platform::ScreenOpen()) return 0;
  if (x < 0 || y < 0 || width <= 0 || height <= 0) return 0;
  if (int64_t{x} + width > kScreenW || int64_t{y} + height > kScreenH) return 0;
  Picture* p = sprites.Allocate(width, height);
  if (p == nullptr) return 0;
  const uint32_t* src = platform::BackBufferPixels() + y * kScreenW + x;
  for (int row = 0; row < height; ++row) {
    std::memcpy(p->pixels.get() + static_cast<size_t>(row) * width, src + row * kScreenW,
                static_cast<size_t>(width) * sizeof(uint32_t));
  }
  return p->handle;
}

void ReleaseAllSprites() { sprites.Clear(); }

int BeginScreenDrawing() {
  // Sessions do not nest: a second Begin leaves the open one as it is.
  if (!platform::ScreenOpen() || sessionOpen) return 0;
  session = platform::DrawingSession{};
  sessionOpen = true;
  return 1;
}

void EndScreenDrawing() { sessionOpen = false; }

namespace platform {

DrawingSession* CurrentSession() { return sessionOpen ? &session : nullptr; }

void ResetImageState() {
  images.Clear();
  sprites.Clear();
  session = DrawingSession{};
  sessionOpen = false;
}

}  // namespace platform
