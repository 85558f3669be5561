// libFuzzer target for the replay reader: seeds in tests/data/replay.
#include <cstddef>
#include <cstdint>

#include "tools/fuzz/replay_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ExerciseReplayReader(data, size);
  return 0;
}
