// Placeholder until the decoder lands.
#include "platform/bitmap_file.h"

namespace platform {
std::optional<DecodedBitmap> DecodeBitmap(const uint8_t*, size_t) { return std::nullopt; }
}  // namespace platform
