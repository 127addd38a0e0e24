#pragma once
// PackageEntry: one named file that goes into a data archive, and the writing of a list of them as one
// archive. Every archive of the sample folder is written through here, in the order of the list.

#include <cstdint>
#include <string>
#include <vector>

#include "codec/result.h"

namespace lumora::pack {

struct PackageEntry {
    std::string name;
    std::vector<uint8_t> bytes;

    // Writes the entries as the archive at path (replacing it), each Huffman-encoded unless stored.
    static Result<void> writeArchive(const std::string& path, const std::vector<PackageEntry>& entries,
                                     bool stored);
    // One entry of an archive, decoded unless stored; an absent entry is an error.
    static Result<std::vector<uint8_t>> readEntry(const std::string& archivePath, const std::string& name,
                                                  bool stored);
};

}  // namespace lumora::pack
