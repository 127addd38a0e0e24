#pragma once
// JsonTimings: verse timings in the JSON documents of online recitation services. Wherever they sit in the
// document, it takes objects holding "verse_key": "S:V" with "timestamp_from" and "timestamp_to" in ms
// (an array under audio_file.timestamps, under audio_files[].verse_timings, ...), objects keyed by "S:V"
// whose values carry timestamp_from / timestamp_to, and the short form {"S:V": [start_ms, end_ms]}.

#include <cstdint>
#include <string>
#include <vector>

#include "codec/result.h"
#include "timing/versemarks.h"

namespace lumora {

class JsonTimings {
public:
    // file names the file in messages; a mark's row is its verse key ("entry 2:5").
    static Result<std::vector<VerseMark>> read(const std::vector<uint8_t>& bytes, const std::string& file);
};

}  // namespace lumora
