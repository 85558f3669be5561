// Text from the command line, for both executables: one strict rule for
// numbers, and refusals that show what was typed without letting its
// control bytes act on the terminal.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// Digits only (no sign, no blanks), at most max. False leaves out alone.
bool ReadWholeNumber(const std::string& text, int64_t max, int64_t& out);

// text with control bytes (C0, DEL, and C1 written in UTF-8) shown as
// \xNN, so a refusal that quotes it cannot move the cursor, recolour or
// retitle the terminal. Everything else, accented letters too, is kept.
std::string Printable(const std::string& text);

}  // namespace platform
