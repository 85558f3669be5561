// A small LZ77 coder for tapes, whose frames repeat the same few ops: a
// stream of tokens, each a varint (length << 1 | match). A literal token is
// followed by its bytes; a match (length + 4 bytes) by a varint distance
// back into what has been produced, which may overlap what it produces.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace replay {

std::vector<uint8_t> Squeeze(const std::vector<uint8_t>& raw);
// Fails (false) unless exactly rawSize bytes come out of well-formed tokens.
bool Unsqueeze(const uint8_t* data, size_t size, size_t rawSize, std::vector<uint8_t>& out);

}  // namespace replay
