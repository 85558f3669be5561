// Writes the game's pictures and sounds into a run folder.
#pragma once

#include <string>

namespace art {

// Creates RUN_DIR/graphics and RUN_DIR/Sound and fills them. On failure
// returns false and says why in *error.
bool GenerateAssets(const std::string& runDir, std::string* error);

}  // namespace art
