#pragma once
// decodeAll: a whole recording decoded from its first sample to its last, block by block on the calling
// thread, for work that looks at every sample once (automatic timing). The samples are those the player
// plays: the same frame index, the same timeline, so a time found in them is a time the player reaches.

#include <cstdint>
#include <functional>
#include <string>

#include "codec/result.h"

namespace lumora {

struct DecodedBlock {
    const float* samples;  // interleaved
    int64_t frames;
    int32_t channels;
    int32_t sampleRateHz;
    double fractionDone;  // 0..1 after this block
};

// Returns false to stop the decoding (a cancelled job).
using DecodedBlockSink = std::function<bool(const DecodedBlock&)>;

// True when every block was handed over, false when the sink stopped it; an error when the file cannot be
// indexed or decoded.
Result<bool> decodeAll(const std::string& path, const DecodedBlockSink& sink);

}  // namespace lumora
