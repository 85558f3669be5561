// UTF-8 text as the UTF-16 the Windows API takes (Windows builds only).
#pragma once

#include <string>

namespace platform {

// Text that is not UTF-8 is taken in the ANSI code page; "" when neither
// reading works.
std::wstring WideText(const std::string& text);

}  // namespace platform
