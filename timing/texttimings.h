#pragma once
// TextTimings: the plain-text timing formats. CSV rows sura,verse,start_ms,end_ms; label tracks
// start_s<TAB>end_s<TAB>label (seconds with decimals, the label a verse number, "S:V" or empty for the next
// verse); LRC files of [mm:ss.xx] lines, one per verse of one sura. Rows are named by their line number.

#include <string>
#include <string_view>
#include <vector>

#include "codec/result.h"
#include "timing/versemarks.h"

namespace lumora {

class TextTimings {
public:
    // file names the file in messages; sura 0 means "not given" (labels with bare numbers and LRC need it).
    static Result<std::vector<VerseMark>> readCsv(std::string_view text, const std::string& file);
    static Result<std::vector<VerseMark>> readLabels(std::string_view text, const std::string& file, int sura);
    static Result<std::vector<VerseMark>> readLrc(std::string_view text, const std::string& file, int sura);

    // A header line, then one row per record: sura,verse,start_ms,end_ms.
    static std::string writeCsv(const SuraTimings& timings);
    // One line per record: start and end in seconds with three decimals, and "S:V".
    static std::string writeLabels(const SuraTimings& timings);
};

}  // namespace lumora
