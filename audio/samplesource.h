#pragma once
// SampleSource: what the decoder thread reads: a stream of interleaved 32-bit float frames that can be
// moved to any sample. A seek is sample-exact: the frames read after seekToSample(s) are those a read
// from the start gives from s on.

#include <cstdint>

#include "codec/result.h"

namespace lumora {

class SampleSource {
public:
    virtual ~SampleSource() = default;

    virtual Result<void> seekToSample(int64_t sample) = 0;
    // Up to `maxFrames` frames into `out` (maxFrames × channels floats); 0 at the end of the stream.
    virtual int64_t read(float* out, int64_t maxFrames) = 0;
};

}  // namespace lumora
