// Images, sprites and drawing sessions, composed in software on the back
// buffer. Every picture is kept in the back buffer's own pixel layout from
// the moment it is loaded, so drawing one is a copy per visible row (or a
// compare-and-select for keyed sprites), clipped once per call.
//
// The title wave cuts, draws and releases hundreds of one-row images every
// frame: a cut inside its source shares the source's pixels, and released
// slots (with their buffers) are reused most recent first, so after the
// first frame nothing allocates and a row costs one copy, onto the screen.
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
#include "platform/internal/back_buffer.h"
#include "platform/internal/state_reset.h"

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
  int handle = 0;  // 0 when unknown: free, or released but still lent out
  bool inUse = false;
  int width = 0;
  int height = 0;
  const uint32_t* data = nullptr;  // top-left pixel
  size_t stride = 0;               // pixels from one row to the next
  // A cut lying wholly inside its source shares the source's pixels instead
  // of copying them (pictures never change once made): owner is the slot
  // whose buffer it reads, and that slot counts its borrowers so that its
  // buffer outlives its own release for as long as a cut still uses it.
  int owner = -1;
  int borrowers = 0;
  size_t capacity = 0;
  std::unique_ptr<uint32_t[]> pixels;  // own buffer, kept for reuse
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

  int IndexOf(const Picture& p) const { return static_cast<int>(&p - slots_.data()); }

  // A live width x height picture, or nullptr. With ownPixels its buffer
  // (uninitialised) is data, else the caller points data at a lender with
  // Borrow. Pointers into the registry are invalidated by the next Allocate.
  Picture* Allocate(int width, int height, bool ownPixels) {
    const size_t need = static_cast<size_t>(width) * static_cast<size_t>(height);
    size_t index;
    if (!freeSlots_.empty()) {
      index = freeSlots_.back();
      freeSlots_.pop_back();
    } else {
      if (slots_.size() >= 0xFFFF) return nullptr;
      try {
        slots_.emplace_back();
        generations_.push_back(0);
        freeSlots_.reserve(slots_.size());
      } catch (const std::bad_alloc&) {
        return nullptr;
      }
      index = slots_.size() - 1;
    }
    Picture& p = slots_[index];
    if (ownPixels && p.capacity < need) {
      p.pixels.reset();
      p.capacity = 0;
      try {
        // Left uninitialised: every pixel is written before it is read. Plain
        // new[] because not every C++ library has make_unique_for_overwrite.
        p.pixels.reset(new uint32_t[need]);
      } catch (const std::bad_alloc&) {
        freeSlots_.push_back(index);
        return nullptr;
      }
      p.capacity = need;
    }
    generations_[index] = (generations_[index] + 1) & 0x7FFF;
    p.handle = (generations_[index] << 16) | static_cast<int>(index + 1);
    p.inUse = true;
    p.width = width;
    p.height = height;
    p.data = ownPixels ? p.pixels.get() : nullptr;
    p.stride = static_cast<size_t>(width);
    p.owner = -1;
    p.borrowers = 0;
    return &p;
  }

  void Borrow(Picture& p, int lender) {
    p.owner = lender;
    ++slots_[static_cast<size_t>(lender)].borrowers;
  }

  void Release(Picture& p) {
    p.handle = 0;
    if (p.borrowers == 0) Free(IndexOf(p));
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
  void Free(int index) {
    Picture& p = slots_[static_cast<size_t>(index)];
    const int lender = p.owner;
    p.inUse = false;
    p.owner = -1;
    p.data = nullptr;
    if (p.capacity > kKeepBufferPixels) {
      p.pixels.reset();
      p.capacity = 0;
    }
    freeSlots_.push_back(static_cast<size_t>(index));
    if (lender >= 0) {
      Picture& l = slots_[static_cast<size_t>(lender)];
      if (--l.borrowers == 0 && l.handle == 0 && l.inUse) Free(lender);
    }
  }

  std::vector<Picture> slots_;
  std::vector<size_t> freeSlots_;  // most recently released last
  std::vector<int> generations_;
};

Registry images;
Registry sprites;

enum class Mix { Copy, Xor, Keyed };

// Draws a width x height picture with its top-left corner at (x, y),
// clipped to the back buffer.
void Compose(const Picture& pic, int64_t x, int64_t y, Mix mix) {
  const int64_t width = pic.width;
  const int64_t height = pic.height;
  const int64_t left = std::max<int64_t>(x, 0);
  const int64_t right = std::min<int64_t>(x + width, kScreenW);
  const int64_t top = std::max<int64_t>(y, 0);
  const int64_t bottom = std::min<int64_t>(y + height, kScreenH);
  if (left >= right || top >= bottom) return;
  const size_t count = static_cast<size_t>(right - left);
  uint32_t* const dstLeft = platform::BackBufferPixels() + left;
  const uint32_t* const srcLeft = pic.data + static_cast<size_t>(left - x);
  for (int64_t row = top; row < bottom; ++row) {
    uint32_t* const dstRow = dstLeft + row * kScreenW;
    const uint32_t* const srcRow = srcLeft + static_cast<size_t>(row - y) * pic.stride;
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
  Picture* p = registry.Allocate(decoded->width, decoded->height, true);
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
  Compose(*p, x, y, mix);
}

}  // namespace

ImageId LoadImageFile(const std::string& name) { return LoadInto(images, name); }

ImageId CutImage(ImageId source, int x, int y, int width, int height) {
  const Picture* src = images.Find(source);
  if (src == nullptr || !SaneSize(width, height)) return 0;
  const bool inside = x >= 0 && y >= 0 && int64_t{x} + width <= src->width &&
                      int64_t{y} + height <= src->height;
  Picture* cut = images.Allocate(width, height, !inside);
  if (cut == nullptr) return 0;
  src = images.Find(source);  // Allocate may have moved it
  if (inside) {
    cut->data = src->data + static_cast<size_t>(y) * src->stride + static_cast<size_t>(x);
    cut->stride = src->stride;
    images.Borrow(*cut, src->owner >= 0 ? src->owner : images.IndexOf(*src));
    return cut->handle;
  }
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
    const size_t middle = static_cast<size_t>(right - left);
    const size_t after = static_cast<size_t>(width) - before - middle;
    std::memset(dst, 0, before * sizeof(uint32_t));
    std::memcpy(dst + before, src->data + static_cast<size_t>(srcY) * src->stride + static_cast<size_t>(left),
                middle * sizeof(uint32_t));
    std::memset(dst + before + middle, 0, after * sizeof(uint32_t));
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
  const platform::DrawingSession* session = platform::CurrentSession();
  if (session == nullptr) return;
  const Picture* p = images.Find(image);
  if (p == nullptr) return;
  const Mix mix = (session->paintMode & PaintInvert) != 0 ? Mix::Xor : Mix::Copy;
  Compose(*p, int64_t{x} + session->originX, int64_t{y} + session->originY, mix);
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
  Picture* p = sprites.Allocate(width, height, true);
  if (p == nullptr) return 0;
  const uint32_t* src = platform::BackBufferPixels() + y * kScreenW + x;
  for (int row = 0; row < height; ++row) {
    std::memcpy(p->pixels.get() + static_cast<size_t>(row) * width, src + row * kScreenW,
                static_cast<size_t>(width) * sizeof(uint32_t));
  }
  return p->handle;
}

void ReleaseSprite(SpriteId sprite) {
  if (Picture* p = sprites.Find(sprite)) sprites.Release(*p);
}

void ReleaseAllSprites() { sprites.Clear(); }

int BeginScreenDrawing() {
  // Sessions do not nest: a second Begin leaves the open one as it is.
  return platform::OpenSession() ? 1 : 0;
}

void EndScreenDrawing() { platform::CloseSession(); }

namespace platform {

void ResetImageState() {
  images.Clear();
  sprites.Clear();
  CloseSession();
}

}  // namespace platform
