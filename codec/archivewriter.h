#pragma once
// ArchiveWriter: builds a data archive that ArchiveReader reads: the entries' bytes in the order they
// were added, the directory (count, names, one letter per entry telling "h" Huffman-encoded or "s" stored,
// sizes) and the 10-character length trailer. The same entries always give the same bytes.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "codec/result.h"

namespace lumora {

class ArchiveWriter {
public:
    // Adds an entry; unless stored, its bytes are Huffman-encoded first. Names are checked by validate().
    void addEntry(const std::string& name, std::vector<uint8_t> bytes, bool stored);

    // Fails when an entry name is empty, holds a colon, a slash, a backslash or a control character, or
    // occurs twice, or when the directory would exceed what the reader takes.
    Result<void> validate() const;
    // The archive's bytes. Only meaningful for entries that validate() accepts.
    std::vector<uint8_t> build() const;
    // Validates, builds and writes the archive to path (through a temporary file beside it, so a failed
    // write leaves any earlier archive of that name whole).
    Result<void> write(const std::string& path) const;

    size_t entryCount() const { return m_entries.size(); }

private:
    struct Entry {
        std::string name;
        std::vector<uint8_t> data;  // as it goes into the archive
        bool stored = false;
    };

    std::string directory() const;

    std::vector<Entry> m_entries;
};

}  // namespace lumora
