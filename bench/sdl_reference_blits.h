// The game's composition done with SDL's own surface blits, for comparing
// our software compositor against. Kept free of SDL headers so benchmarks
// can use it without them.
#pragma once

#include <cstdint>
#include <memory>

namespace platform {

class SdlReferenceBlits {
 public:
  SdlReferenceBlits();  // a 640x480 32-bit target surface
  ~SdlReferenceBlits();
  SdlReferenceBlits(const SdlReferenceBlits&) = delete;
  SdlReferenceBlits& operator=(const SdlReferenceBlits&) = delete;

  // A surface holding a copy of w x h pixels (0x00RRGGBB); keyed surfaces
  // leave out black. packed24 keeps them in 24 bits, as SDL_LoadBMP gives a
  // 24-bit file, so every blit to the screen converts. Returns its number.
  int AddSurface(const uint32_t* pixels, int w, int h, bool keyed, bool packed24 = false);
  // A new surface in the source's format cut from part of it
  // (SDL_BlitSurface into a fresh surface), and its release: the title
  // wave's cut-draw-release.
  int CutSurface(int source, int x, int y, int w, int h);
  void FreeSurface(int surface);

  void Clear(uint32_t pixel);
  void Blit(int surface, int x, int y);
  const uint32_t* Pixels() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace platform
