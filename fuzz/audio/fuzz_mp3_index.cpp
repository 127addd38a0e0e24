// Any bytes as an MP3 file: the frame index ends in an error or in an index whose facts hold together.

#include <cstddef>
#include <cstdint>

#include "audio/mp3frameindex.h"

namespace {

void check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    lumora::Result<lumora::Mp3FrameIndex> result = lumora::Mp3FrameIndex::fromBytes(data, size);
    if (!result.ok()) {
        return 0;
    }
    const lumora::Mp3FrameIndex& index = result.value();
    check(index.frameCount() > 0);
    check(index.sampleRateHz() >= 8000 && index.sampleRateHz() <= 48000);
    check(index.channels() == 1 || index.channels() == 2);
    int64_t previous = -1;
    for (int64_t offset : index.frameOffsets()) {
        check(offset > previous && offset < static_cast<int64_t>(size));
        previous = offset;
    }
    check(index.lengthSamples() >= 0 &&
          index.lengthSamples() <= index.frameCount() * index.samplesPerFrame());
    // Positions never go back as time goes on, and always name a frame.
    int64_t lastFrame = 0;
    const int64_t step = index.lengthSamples() / 64 + 1;
    for (int64_t sample = -step; sample <= index.lengthSamples() + step; sample += step) {
        const int64_t frame = index.frameAtSample(sample);
        check(frame >= lastFrame && frame < index.frameCount());
        lastFrame = frame;
    }
    check(index.sampleToMs(index.msToSample(index.lengthMs())) == index.lengthMs());
    return 0;
}
