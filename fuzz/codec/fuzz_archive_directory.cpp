// Any bytes as an archive: listing and extracting end in an error or in entries that lie inside the data.

#include <cstdlib>
#include <string>

#include "codec/archivereader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> archive(data, size);
    auto listed = lumora::ArchiveReader::listBytes(archive);
    if (listed.ok()) {
        for (const lumora::ArchiveEntryInfo& entry : listed.value()) {
            if (entry.byteOffset + entry.storedSize + lumora::ArchiveReader::kTrailerLength > size) {
                std::abort();
            }
            auto stored = lumora::ArchiveReader::extractFromBytes(archive, entry.name, true);
            // Every listed name is found (the first of equal names, when names repeat).
            if (!stored.ok() || !stored.value().found || stored.value().bytes.size() > size) {
                std::abort();
            }
            (void)lumora::ArchiveReader::extractFromBytes(archive, entry.name, false);
        }
    }
    for (const char* name : {"001.txt", "config.ini", "a", "A"}) {
        (void)lumora::ArchiveReader::extractFromBytes(archive, name, false);
        (void)lumora::ArchiveReader::extractFromBytes(archive, name, true);
    }
    return 0;
}
