#include "tools/packageentry.h"

#include "codec/archivereader.h"
#include "codec/archivewriter.h"

namespace lumora::pack {

Result<void> PackageEntry::writeArchive(const std::string& path, const std::vector<PackageEntry>& entries,
                                        bool stored) {
    ArchiveWriter writer;
    for (const PackageEntry& entry : entries) {
        writer.addEntry(entry.name, entry.bytes, stored);
    }
    const Result<void> written = writer.write(path);
    if (!written) {
        Error error = written.error();
        error.description = path + ": " + error.description;
        return error;
    }
    return {};
}

Result<std::vector<uint8_t>> PackageEntry::readEntry(const std::string& archivePath, const std::string& name,
                                                     bool stored) {
    if (stored) {
        return ArchiveReader::extractStoredFile(archivePath, name);
    }
    Result<ExtractedEntry> extracted = ArchiveReader::extractFile(archivePath, name);
    if (!extracted) {
        return extracted.error();
    }
    if (!extracted.value().found) {
        return Error{0, "PackageEntry", archivePath + " has no entry " + name};
    }
    return std::move(extracted.value().bytes);
}

}  // namespace lumora::pack
