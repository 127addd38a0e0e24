#pragma once
// TimingFiles: verse timing tables in the formats other players publish, read into Lumora's records and
// written back out. Every file is untrusted: a fault gives one error naming the file, the row and what is
// wrong, and nothing is taken from a file that has one.
//
//   sqlite  table timings(sura, ayah, time): ms of each verse's start; ayah 0 the opening formula, ayah 999
//           the end of the recitation; a properties(property, value) table beside it
//   json    objects with verse_key "S:V" and timestamp_from / timestamp_to wherever they sit, objects keyed
//           by "S:V" carrying those two, or "S:V": [start_ms, end_ms]
//   csv     sura,verse,start_ms,end_ms (a header is optional, end_ms may be empty)
//   labels  start_s<TAB>end_s<TAB>label, the label a verse number, "S:V" or empty for the next verse
//   lrc     [mm:ss.xx] lines, one per verse of one sura in order

#include <optional>
#include <string>

#include "codec/result.h"
#include "timing/versemarks.h"

namespace lumora {

enum class TimingFormat { kSqlite, kJson, kCsv, kLabels, kLrc };

struct ImportOptions {
    // 0: every sura the file holds. Labels that are bare verse numbers and LRC files need the sura.
    int sura = 0;
    // The end of a sura's last verse when the file does not give it.
    RecordingLength recordingLength;
};

class TimingFiles {
public:
    // Files larger than this are refused before they are read: no timing table comes near it.
    static constexpr int64_t kMaxTextFileBytes = 64 * 1024 * 1024;

    static std::optional<TimingFormat> formatNamed(const std::string& name);
    static std::string nameOf(TimingFormat format);
    // The formats export writes: csv, labels and sqlite.
    static bool canExport(TimingFormat format);

    static Result<SuraTimings> import(TimingFormat format, const std::string& path, const ImportOptions& options);

    // csv and labels as text; sqlite is written to a file only.
    static std::string exportText(TimingFormat format, const SuraTimings& timings);
    // Writes the file whole (through a temporary file beside it, so a failure leaves no partial file).
    static Result<void> exportFile(TimingFormat format, const SuraTimings& timings, const std::string& path);
};

}  // namespace lumora
