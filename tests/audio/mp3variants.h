#pragma once
// MP3 files of every kind the frame index must handle, made from lame output: CBR and VBR, 44.1 kHz
// stereo and 22.05 kHz mono, with and without tags, without a gapless tag, joined, cut off, with junk.

#include <cstdint>
#include <string>
#include <vector>

namespace lumora::test {

struct Mp3Variant {
    std::string name;
    std::string path;
    // False where libmpg123 takes a false frame header inside damaged data for a frame; there only the
    // index's own facts are checked.
    bool libraryAgrees = true;
};

// All variants (made once per process, in the recording cache).
const std::vector<Mp3Variant>& mp3Variants();

// The junk-inside variant: 300 bytes inserted at this offset of the 1.5 s CBR recording.
inline constexpr size_t kJunkBytes = 300;

// Writes `bytes` to a file in the recording cache named after `name`; returns its path.
std::string writeCacheFile(const std::string& name, const std::vector<uint8_t>& bytes);

}  // namespace lumora::test
