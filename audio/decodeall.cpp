#include "audio/decodeall.h"

#include <algorithm>
#include <vector>

#include "audio/mp3decoder.h"
#include "audio/mp3frameindex.h"

namespace lumora {

Result<bool> decodeAll(const std::string& path, const DecodedBlockSink& sink) {
    Result<Mp3FrameIndex> index = Mp3FrameIndex::fromFile(path);
    if (!index) return index.error();
    Mp3Decoder decoder;
    if (!decoder.canDecode()) return Error{51, "decodeAll", "the MP3 decoder could not start"};
    if (Result<void> opened = decoder.open(path, index.value()); !opened) return opened.error();
    constexpr int64_t kBlockFrames = 16384;
    const int32_t channels = decoder.channels();
    const int64_t total = std::max<int64_t>(index.value().lengthSamples(), 1);
    std::vector<float> block(static_cast<size_t>(kBlockFrames * channels));
    int64_t done = 0;
    for (int64_t got = decoder.read(block.data(), kBlockFrames); got > 0; got = decoder.read(block.data(), kBlockFrames)) {
        done += got;
        const DecodedBlock decoded{block.data(), got, channels, index.value().sampleRateHz(),
                                   std::min(1.0, static_cast<double>(done) / static_cast<double>(total))};
        if (!sink(decoded)) return false;
    }
    return true;
}

}  // namespace lumora
