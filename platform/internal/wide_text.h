// UTF-8 text as the UTF-16 the Windows API takes, and back (Windows builds
// only).
#pragma once

#include <string>

namespace platform {

// Text that is not UTF-8 is taken in the ANSI code page; "" when neither
// reading works.
std::wstring WideText(const std::string& text);

// UTF-16 from the Windows API (a command line, say) as UTF-8.
std::string NarrowText(const std::wstring& text);

}  // namespace platform
