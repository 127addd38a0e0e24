#include "codec/versetimingtable.h"

#include <algorithm>

#include "codec/archivereader.h"
#include "codec/codecerrors.h"
#include "codec/suracatalogue.h"

namespace lumora {

namespace {

int32_t readInt32(std::span<const uint8_t> bytes, size_t at) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) {
        value |= static_cast<uint32_t>(bytes[at + i]) << (8 * i);
    }
    return static_cast<int32_t>(value);
}

void appendInt32(std::vector<uint8_t>& bytes, int32_t value) {
    const auto bits = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) {
        bytes.push_back(static_cast<uint8_t>(bits >> (8 * i)));
    }
}

}  // namespace

Result<std::vector<VerseTiming>> VerseTimingTable::read(const std::string& posArchivePath, int sura) {
    const int count = SuraCatalogue::verseNo(sura);
    if (count == 0) {
        return makeError(kCodecErrorNumber, "VerseTimingTable.read",
                         "There is no sura " + std::to_string(sura));
    }
    auto entry = ArchiveReader::findStoredFile(posArchivePath, entryName(sura));
    if (!entry) {
        return entry.error();
    }
    return parse(entry.value().bytes, count);
}

std::vector<VerseTiming> VerseTimingTable::parse(std::span<const uint8_t> entry, int count) {
    // The records are read in one piece; bytes the entry lacks read as 0, even inside a record.
    std::vector<uint8_t> raw(static_cast<size_t>(std::max(count, 0)) * kRecordSize, 0);
    std::copy_n(entry.begin(), std::min(entry.size(), raw.size()), raw.begin());
    std::vector<VerseTiming> records(raw.size() / kRecordSize);
    for (size_t i = 0; i < records.size(); ++i) {
        records[i] = VerseTiming{readInt32(raw, i * kRecordSize), readInt32(raw, i * kRecordSize + 4)};
    }
    return records;
}

std::vector<uint8_t> VerseTimingTable::encode(const std::vector<VerseTiming>& records) {
    std::vector<uint8_t> bytes;
    bytes.reserve(records.size() * kRecordSize);
    for (const VerseTiming& record : records) {
        appendInt32(bytes, record.startMs);
        appendInt32(bytes, record.endMs);
    }
    return bytes;
}

std::string VerseTimingTable::entryName(int sura) {
    return SuraCatalogue::threeDigit(sura) + ".pos";
}

}  // namespace lumora
