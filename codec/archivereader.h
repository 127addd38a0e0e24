#pragma once
// ArchiveReader: reads named entries out of Lumora's data archives (.dat files) into memory.
//
// An archive is the entries' bytes one after another from the first byte, then a directory text, then a
// 10-character trailer holding the directory's length L in decimal (blanks around the number allowed).
// The directory is a list of fields, each followed by ':': the entry count N, N names in the order of the
// entries' data, N fields the reader only counts, and N sizes in bytes. Names are matched exactly.
// The directory may not exceed 5000 characters, and no read ever goes past the entry data into it.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "codec/result.h"

namespace lumora {

// The text result of an extraction that did not find its entry.
inline constexpr char kFileNotFound[] = "filenotfound";

// An entry read into memory; found = false is the "filenotfound" result and leaves bytes empty.
struct ExtractedEntry {
    bool found = false;
    std::vector<uint8_t> bytes;
};

struct ArchiveEntryInfo {
    std::string name;
    uint64_t storedSize = 0;  // bytes the entry takes in the archive (its stream, for an encoded entry)
    uint64_t byteOffset = 0;  // 0-based offset of its first byte
};

class ArchiveReader {
public:
    static constexpr size_t kMaxDirectoryLength = 5000;
    static constexpr size_t kTrailerLength = 10;

    // The entry decoded from its Huffman stream. found = false when the archive has no entry of exactly
    // that name (a name that matches only without regard to case counts as absent). A missing or damaged
    // archive, or a refused stream identification, is an error whose step tells where it arose; a stream
    // damaged past its identification decodes as far as it goes.
    static Result<ExtractedEntry> extractFile(const std::string& archivePath, const std::string& name);
    // The entry's bytes as they are stored. An absent name is an error.
    static Result<std::vector<uint8_t>> extractStoredFile(const std::string& archivePath,
                                                          const std::string& name);
    // The entry's bytes as they are stored; found = false when the name is absent.
    static Result<ExtractedEntry> findStoredFile(const std::string& archivePath, const std::string& name);
    // Every entry in directory order.
    static Result<std::vector<ArchiveEntryInfo>> list(const std::string& archivePath);
    // Writes the entry (decoded, or as stored) as directory/name, replacing a file of that name. For the
    // pack tool, so stricter than extractFile: an absent entry, a name that is not a plain file name, and a
    // stream that decodes only in part are all errors, and then nothing is written.
    static Result<void> extractFileTo(const std::string& archivePath, const std::string& name,
                                      const std::string& directory, bool stored);

    // The same reads over an archive held in memory.
    static Result<ExtractedEntry> extractFromBytes(std::span<const uint8_t> archive, const std::string& name,
                                                   bool stored);
    static Result<std::vector<ArchiveEntryInfo>> listBytes(std::span<const uint8_t> archive);

    // "Error <number> (<description>) in procedure ExtractFile of Module MemModule <step>".
    static std::string failureMessage(const Error& error);
};

}  // namespace lumora
