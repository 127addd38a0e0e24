// Any bytes as a timing entry, and as a pos.dat archive: always exactly the asked number of records.

#include <cstdlib>

#include "codec/archivereader.h"
#include "codec/versetimingtable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) {
        return 0;
    }
    const int count = data[0];
    const std::span<const uint8_t> rest(data + 1, size - 1);
    if (lumora::VerseTimingTable::parse(rest, count).size() != static_cast<size_t>(count)) {
        std::abort();
    }
    auto entry = lumora::ArchiveReader::extractFromBytes(rest, lumora::VerseTimingTable::entryName(2), true);
    if (entry.ok() && lumora::VerseTimingTable::parse(entry.value().bytes, 287).size() != 287) {
        std::abort();
    }
    return 0;
}
