#include "bench/sdl_reference_blits.h"

#include <SDL.h>

#include <cstring>
#include <vector>

namespace platform {

struct SdlReferenceBlits::Impl {
  SDL_Surface* target = nullptr;
  std::vector<SDL_Surface*> surfaces;

  static SDL_Surface* Make(int w, int h, bool packed24 = false) {
    return packed24 ? SDL_CreateRGBSurfaceWithFormat(0, w, h, 24, SDL_PIXELFORMAT_BGR24)
                    : SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_RGB888);
  }
  int Keep(SDL_Surface* s) {
    for (size_t i = 0; i < surfaces.size(); ++i) {
      if (surfaces[i] == nullptr) {
        surfaces[i] = s;
        return static_cast<int>(i);
      }
    }
    surfaces.push_back(s);
    return static_cast<int>(surfaces.size() - 1);
  }
};

SdlReferenceBlits::SdlReferenceBlits() : impl_(std::make_unique<Impl>()) {
  impl_->target = Impl::Make(640, 480);
}

SdlReferenceBlits::~SdlReferenceBlits() {
  for (SDL_Surface* s : impl_->surfaces) SDL_FreeSurface(s);
  SDL_FreeSurface(impl_->target);
}

int SdlReferenceBlits::AddSurface(const uint32_t* pixels, int w, int h, bool keyed, bool packed24) {
  SDL_Surface* s = Impl::Make(w, h, packed24);
  if (s == nullptr) return -1;
  for (int y = 0; y < h; ++y) {
    uint8_t* row = static_cast<uint8_t*>(s->pixels) + static_cast<size_t>(y) * s->pitch;
    const uint32_t* src = pixels + static_cast<size_t>(y) * w;
    if (!packed24) {
      std::memcpy(row, src, static_cast<size_t>(w) * 4);
      continue;
    }
    for (int x = 0; x < w; ++x) {  // blue, green, red in memory
      row[3 * x] = static_cast<uint8_t>(src[x]);
      row[3 * x + 1] = static_cast<uint8_t>(src[x] >> 8);
      row[3 * x + 2] = static_cast<uint8_t>(src[x] >> 16);
    }
  }
  if (keyed) SDL_SetColorKey(s, SDL_TRUE, 0);
  return impl_->Keep(s);
}

int SdlReferenceBlits::CutSurface(int source, int x, int y, int w, int h) {
  SDL_Surface* src = impl_->surfaces[static_cast<size_t>(source)];
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, src->format->BitsPerPixel, src->format->format);
  if (s == nullptr) return -1;
  SDL_Rect from{x, y, w, h};
  SDL_BlitSurface(src, &from, s, nullptr);
  return impl_->Keep(s);
}

void SdlReferenceBlits::FreeSurface(int surface) {
  SDL_FreeSurface(impl_->surfaces[static_cast<size_t>(surface)]);
  impl_->surfaces[static_cast<size_t>(surface)] = nullptr;
}

void SdlReferenceBlits::Clear(uint32_t pixel) { SDL_FillRect(impl_->target, nullptr, pixel); }

void SdlReferenceBlits::Blit(int surface, int x, int y) {
  SDL_Rect to{x, y, 0, 0};
  SDL_BlitSurface(impl_->surfaces[static_cast<size_t>(surface)], nullptr, impl_->target, &to);
}

const uint32_t* SdlReferenceBlits::Pixels() const {
  return static_cast<const uint32_t*>(impl_->target->pixels);
}

}  // namespace platform
