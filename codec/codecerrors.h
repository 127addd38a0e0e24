#pragma once
// The error numbers the codec and the archive reader report. Lumora's messages show the number as it
// stands, so these values are part of what the user sees.

#include <cstdint>
#include <string>

#include "codec/result.h"

namespace lumora {

// Every error the Huffman codec raises, and every damaged-archive error.
inline constexpr int32_t kCodecErrorNumber = static_cast<int32_t>(0x80040000u);  // -2147221504
// A stream too short to hold its four-byte identification.
inline constexpr int32_t kSubscriptOutOfRangeNumber = 9;
// A file that does not exist.
inline constexpr int32_t kFileNotFoundNumber = 53;
// A file that cannot be created because its folder does not exist.
inline constexpr int32_t kPathNotFoundNumber = 76;
// A 1-based write position below 1.
inline constexpr int32_t kBadRecordNumber = 63;
// A file that exists but cannot be read, written, created or deleted.
inline constexpr int32_t kFileAccessErrorNumber = 75;

inline Error makeError(int32_t number, std::string source, std::string description, int step = 0) {
    return Error{number, std::move(source), std::move(description), step};
}

}  // namespace lumora
