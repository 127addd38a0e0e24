#pragma once
// VerseTimingTable: where each verse of a sura starts and ends in its recording. The times come from the
// sura's "NNN.pos" entry of data/pos.dat: 8-byte records, record 0 first, each a little-endian signed
// 32-bit start and end in milliseconds from the start of the sura's audio file. The times are not checked.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "codec/result.h"

namespace lumora {

struct VerseTiming {
    int32_t startMs = 0;
    int32_t endMs = 0;

    bool operator==(const VerseTiming&) const = default;
};

class VerseTimingTable {
public:
    static constexpr size_t kRecordSize = 8;

    // The sura's SuraCatalogue::verseNo records from the stored entry of the archive. Records a short entry
    // lacks are 0, a missing entry gives all zeros, records past the n-th are ignored. A missing or damaged
    // archive, or a sura outside 1..114, is an error. Nothing is written to disk.
    static Result<std::vector<VerseTiming>> read(const std::string& posArchivePath, int sura);
    // count records from the entry's bytes, zero where the entry is too short.
    static std::vector<VerseTiming> parse(std::span<const uint8_t> entry, int count);
    static std::vector<uint8_t> encode(const std::vector<VerseTiming>& records);
    // "002.pos" for sura 2.
    static std::string entryName(int sura);
};

}  // namespace lumora
