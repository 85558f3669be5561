// The start-up failure box on Windows: a real MessageBoxW, as every Windows
// program shows its errors, rather than SDL's imitation of one.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// Shows text under title with the MessageBoxW style bits of flags; returns
// the button pressed (IDOK for a plain box).
int ShowWindowsMessageBox(const std::string& title, const std::string& text, uint32_t flags);

}  // namespace platform
