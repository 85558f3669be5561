// SDL's keys in the game's KeyCode numbering: the PC keyboard's set-1 scan
// codes, extended (E0-prefixed) keys as 0x80 plus their code.
#pragma once

#include <SDL.h>

#include <array>
#include <cstdint>

namespace platform {

using SdlKeyTable = std::array<uint8_t, SDL_NUM_SCANCODES>;

// KeyCode of each SDL scancode (0: the game has no such key).
const SdlKeyTable& KeyCodesOfScancodes();
// The other way round; where two SDL keys share a code the first one
// listed wins.
const std::array<SDL_Scancode, 256>& ScancodesOfKeyCodes();

}  // namespace platform
