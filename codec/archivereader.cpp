#include "codec/archivereader.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>

#include "codec/codecerrors.h"
#include "codec/fileio.h"
#include "codec/huffmancodec.h"

namespace lumora {

namespace {

constexpr char kExtractSource[] = "MemModule.ExtractFile";
constexpr char kExtractStoredSource[] = "MemModule.ExtractStoredFile";
constexpr char kListSource[] = "MemModule.ListArchive";

// The numbered steps of an extraction, as failure messages name them.
enum Step : int {
    kStepTrailer = 1,
    kStepDirectory = 2,
    kStepCount = 3,
    kStepPresence = 4,
    kStepNames = 5,
    kStepSkip = 6,
    kStepSizes = 7,
    kStepRead = 8,
    kStepDecode = 9,
};

// Random access to the archive's bytes, from a file or from memory.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual uint64_t size() const = 0;
    virtual Result<std::vector<uint8_t>> read(uint64_t offset, size_t count, const char* source,
                                              int step) const = 0;
};

class MemorySource : public ByteSource {
public:
    explicit MemorySource(std::span<const uint8_t> bytes) : m_bytes(bytes) {}
    uint64_t size() const override { return m_bytes.size(); }
    Result<std::vector<uint8_t>> read(uint64_t offset, size_t count, const char*, int) const override {
        const auto begin = m_bytes.begin() + static_cast<std::ptrdiff_t>(offset);
        return std::vector<uint8_t>(begin, begin + static_cast<std::ptrdiff_t>(count));
    }

private:
    std::span<const uint8_t> m_bytes;
};

class FileSource : public ByteSource {
public:
    static Result<std::unique_ptr<FileSource>> open(const std::string& path, const char* source) {
        std::error_code ignored;
        if (std::filesystem::is_directory(path, ignored)) {
            return makeError(kFileAccessErrorNumber, source,
                             "Path/File access error: " + path + " is a folder", kStepTrailer);
        }
        std::FILE* file = std::fopen(path.c_str(), "rb");
        if (file == nullptr) {
            const int code = errno;
            if (code == ENOENT) {
                return makeError(kFileNotFoundNumber, source, "File not found: " + path, kStepTrailer);
            }
            return makeError(kFileAccessErrorNumber, source,
                             "Path/File access error: " + path + ": " + std::strerror(code), kStepTrailer);
        }
        auto result = std::unique_ptr<FileSource>(new FileSource(file, path));
        if (fseeko(file, 0, SEEK_END) != 0) {
            return makeError(kFileAccessErrorNumber, source, "Path/File access error: " + path, kStepTrailer);
        }
        result->m_size = static_cast<uint64_t>(ftello(file));
        return result;
    }
    ~FileSource() override { std::fclose(m_file); }
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    uint64_t size() const override { return m_size; }
    Result<std::vector<uint8_t>> read(uint64_t offset, size_t count, const char* source,
                                      int step) const override {
        std::vector<uint8_t> bytes(count);
        if (fseeko(m_file, static_cast<off_t>(offset), SEEK_SET) != 0 ||
            std::fread(bytes.data(), 1, count, m_file) != count) {
            return makeError(kFileAccessErrorNumber, source, "Path/File access error: cannot read " + m_path,
                             step);
        }
        return bytes;
    }

private:
    FileSource(std::FILE* file, std::string path) : m_file(file), m_path(std::move(path)) {}
    std::FILE* m_file;
    std::string m_path;
    uint64_t m_size = 0;
};

Result<std::unique_ptr<ByteSource>> openFile(const std::string& path, const char* source) {
    auto file = FileSource::open(path, source);
    if (!file) {
        return file.error();
    }
    return std::unique_ptr<ByteSource>(std::move(file).value());
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// A decimal number with optional blanks around it; nothing else.
std::optional<uint64_t> parseDecimal(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    // Eighteen digits cannot overflow and are far beyond any archive.
    if (text.empty() || text.size() > 18) {
        return std::nullopt;
    }
    uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + static_cast<uint64_t>(c - '0');
    }
    return value;
}

std::string upper(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return result;
}

// Takes the directory's fields from the front one at a time: the text before the next colon.
class FieldReader {
public:
    explicit FieldReader(std::string_view text) : m_rest(text) {}
    std::optional<std::string_view> next() {
        const size_t colon = m_rest.find(':');
        if (colon == std::string_view::npos) {
            return std::nullopt;
        }
        std::string_view field = m_rest.substr(0, colon);
        m_rest.remove_prefix(colon + 1);
        return field;
    }

private:
    std::string_view m_rest;
};

// The directory text and where the entry data ends (the directory's 0-based offset).
struct Directory {
    std::string text;
    uint64_t dataEnd = 0;
};

Result<Directory> readDirectory(const ByteSource& archive, const char* source) {
    const uint64_t size = archive.size();
    if (size < ArchiveReader::kTrailerLength) {
        return makeError(kCodecErrorNumber, source, "The archive is too short to hold its length trailer",
                         kStepTrailer);
    }
    auto trailer = archive.read(size - ArchiveReader::kTrailerLength, ArchiveReader::kTrailerLength, source,
                                kStepTrailer);
    if (!trailer) {
        return trailer.error();
    }
    const std::optional<uint64_t> length = parseDecimal(
        std::string_view(reinterpret_cast<const char*>(trailer.value().data()), trailer.value().size()));
    if (!length) {
        return makeError(kCodecErrorNumber, source, "The archive's length trailer is not a number",
                         kStepTrailer);
    }
    if (*length > ArchiveReader::kMaxDirectoryLength) {
        return makeError(kCodecErrorNumber, source,
                         "The archive's directory is longer than " +
                             std::to_string(ArchiveReader::kMaxDirectoryLength) + " characters",
                         kStepDirectory);
    }
    if (*length > size - ArchiveReader::kTrailerLength) {
        return makeError(kCodecErrorNumber, source, "The archive's directory length exceeds the archive",
                         kStepDirectory);
    }
    Directory directory;
    directory.dataEnd = size - ArchiveReader::kTrailerLength - *length;
    auto text = archive.read(directory.dataEnd, static_cast<size_t>(*length), source, kStepDirectory);
    if (!text) {
        return text.error();
    }
    directory.text.assign(text.value().begin(), text.value().end());
    return directory;
}

Result<uint64_t> readCount(FieldReader& fields, uint64_t limit, const char* source) {
    const auto field = fields.next();
    const std::optional<uint64_t> count = field ? parseDecimal(*field) : std::nullopt;
    // Each entry takes at least three colons of the directory, which bounds any honest count.
    if (!count || *count > limit) {
        return makeError(kCodecErrorNumber, source, "The archive's directory has no valid entry count",
                         kStepCount);
    }
    return *count;
}

Error directoryEnds(const char* source, const char* where, int step) {
    return makeError(kCodecErrorNumber, source, std::string("The archive's directory ends inside ") + where,
                     step);
}

// Finds the entry's place by the directory walk. found = false when no name field equals the name.
struct Location {
    bool found = false;
    uint64_t offset = 0;
    uint64_t size = 0;
};

Result<Location> locate(const ByteSource& archive, const std::string& name, bool presenceTest,
                        const char* source) {
    auto directory = readDirectory(archive, source);
    if (!directory) {
        return directory.error();
    }
    const std::string& text = directory.value().text;
    FieldReader fields(text);
    auto count = readCount(fields, text.size(), source);
    if (!count) {
        return count.error();
    }
    if (presenceTest && upper(text).find(upper(":" + name + ":")) == std::string::npos) {
        return Location{};
    }
    uint64_t index = 0;  // 1-based number of the matching name; 0 = none
    for (uint64_t i = 1; i <= count.value(); ++i) {
        const auto field = fields.next();
        if (!field) {
            return directoryEnds(source, "its list of names", kStepNames);
        }
        if (index == 0 && *field == name) {
            index = i;
        }
    }
    if (index == 0) {
        return Location{};
    }
    for (uint64_t i = 0; i < count.value(); ++i) {
        if (!fields.next()) {
            return directoryEnds(source, "its third list", kStepSkip);
        }
    }
    uint64_t end = 0;
    uint64_t size = 0;
    for (uint64_t i = 1; i <= index; ++i) {
        const auto field = fields.next();
        if (!field) {
            return directoryEnds(source, "its list of sizes", kStepSizes);
        }
        const std::optional<uint64_t> entrySize = parseDecimal(*field);
        if (!entrySize) {
            return makeError(kCodecErrorNumber, source, "The archive's directory has an invalid entry size",
                             kStepSizes);
        }
        size = *entrySize;
        if (size > directory.value().dataEnd - end) {
            return makeError(kCodecErrorNumber, source,
                             "The entry " + name + " runs past the archive's data into its directory",
                             kStepRead);
        }
        end += size;
    }
    return Location{true, end - size, size};
}

Result<ExtractedEntry> extractFrom(const ByteSource& archive, const std::string& name, bool stored,
                                   bool presenceTest, const char* source) {
    auto location = locate(archive, name, presenceTest, source);
    if (!location) {
        return location.error();
    }
    if (!location.value().found) {
        return ExtractedEntry{};
    }
    auto bytes =
        archive.read(location.value().offset, static_cast<size_t>(location.value().size), source, kStepRead);
    if (!bytes) {
        return bytes.error();
    }
    if (stored) {
        return ExtractedEntry{true, std::move(bytes).value()};
    }
    auto decoded = HuffmanCodec::decode(bytes.value());
    if (!decoded) {
        Error error = decoded.error();
        error.step = kStepDecode;
        return error;
    }
    return ExtractedEntry{true, std::move(decoded).value()};
}

Result<std::vector<ArchiveEntryInfo>> listFrom(const ByteSource& archive) {
    auto directory = readDirectory(archive, kListSource);
    if (!directory) {
        return directory.error();
    }
    FieldReader fields(directory.value().text);
    auto count = readCount(fields, directory.value().text.size(), kListSource);
    if (!count) {
        return count.error();
    }
    std::vector<ArchiveEntryInfo> entries(static_cast<size_t>(count.value()));
    for (ArchiveEntryInfo& entry : entries) {
        const auto field = fields.next();
        if (!field) {
            return directoryEnds(kListSource, "its list of names", kStepNames);
        }
        entry.name = *field;
    }
    for (size_t i = 0; i < entries.size(); ++i) {
        if (!fields.next()) {
            return directoryEnds(kListSource, "its third list", kStepSkip);
        }
    }
    uint64_t end = 0;
    for (ArchiveEntryInfo& entry : entries) {
        const auto field = fields.next();
        if (!field) {
            return directoryEnds(kListSource, "its list of sizes", kStepSizes);
        }
        const std::optional<uint64_t> size = parseDecimal(*field);
        if (!size) {
            return makeError(kCodecErrorNumber, kListSource,
                             "The archive's directory has an invalid entry size", kStepSizes);
        }
        if (*size > directory.value().dataEnd - end) {
            return makeError(kCodecErrorNumber, kListSource,
                             "The entry " + entry.name + " runs past the archive's data into its directory",
                             kStepRead);
        }
        entry.byteOffset = end;
        entry.storedSize = *size;
        end += *size;
    }
    return entries;
}

Error absentEntry(const std::string& name, const char* source) {
    return makeError(kCodecErrorNumber, source, "The archive has no entry named " + name, kStepNames);
}

bool isPlainFileName(const std::string& name) {
    if (name.empty() || name == "." || name == "..") {
        return false;
    }
    for (char c : name) {
        if (c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20) {
            return false;
        }
    }
    return true;
}

}  // namespace

Result<ExtractedEntry> ArchiveReader::extractFile(const std::string& archivePath, const std::string& name) {
    auto archive = openFile(archivePath, kExtractSource);
    if (!archive) {
        return archive.error();
    }
    return extractFrom(*archive.value(), name, false, true, kExtractSource);
}

Result<ExtractedEntry> ArchiveReader::findStoredFile(const std::string& archivePath,
                                                     const std::string& name) {
    auto archive = openFile(archivePath, kExtractStoredSource);
    if (!archive) {
        return archive.error();
    }
    return extractFrom(*archive.value(), name, true, false, kExtractStoredSource);
}

Result<std::vector<uint8_t>> ArchiveReader::extractStoredFile(const std::string& archivePath,
                                                              const std::string& name) {
    auto entry = findStoredFile(archivePath, name);
    if (!entry) {
        return entry.error();
    }
    if (!entry.value().found) {
        return absentEntry(name, kExtractStoredSource);
    }
    return std::move(entry.value().bytes);
}

Result<std::vector<ArchiveEntryInfo>> ArchiveReader::list(const std::string& archivePath) {
    auto archive = openFile(archivePath, kListSource);
    if (!archive) {
        return archive.error();
    }
    return listFrom(*archive.value());
}

Result<void> ArchiveReader::extractFileTo(const std::string& archivePath, const std::string& name,
                                          const std::string& directory, bool stored) {
    const char* source = stored ? kExtractStoredSource : kExtractSource;
    if (!isPlainFileName(name)) {
        return makeError(kCodecErrorNumber, source, "The entry name " + name + " is not a plain file name",
                         kStepNames);
    }
    auto entry = findStoredFile(archivePath, name);
    if (!entry) {
        return entry.error();
    }
    if (!entry.value().found) {
        return absentEntry(name, source);
    }
    std::vector<uint8_t> bytes = std::move(entry.value().bytes);
    if (!stored) {
        DecodeReport report;
        auto decoded = HuffmanCodec::decode(bytes, report);
        if (!decoded) {
            Error error = decoded.error();
            error.step = kStepDecode;
            return error;
        }
        if (!report.problem.empty()) {
            return makeError(kCodecErrorNumber, "HuffmanDecode()",
                             "The entry " + name + " is damaged: " + report.problem, kStepDecode);
        }
        bytes = std::move(decoded).value();
    }
    const std::string path = directory.empty() ? name : directory + "/" + name;
    auto written = fileio::replace(path, bytes, source);
    if (!written) {
        Error error = written.error();
        error.step = kStepDecode;
        return error;
    }
    return {};
}

Result<ExtractedEntry> ArchiveReader::extractFromBytes(std::span<const uint8_t> archive,
                                                       const std::string& name, bool stored) {
    MemorySource source(archive);
    return extractFrom(source, name, stored, !stored, stored ? kExtractStoredSource : kExtractSource);
}

Result<std::vector<ArchiveEntryInfo>> ArchiveReader::listBytes(std::span<const uint8_t> archive) {
    MemorySource source(archive);
    return listFrom(source);
}

std::string ArchiveReader::failureMessage(const Error& error) {
    return "Error " + std::to_string(error.number) + " (" + error.description +
           ") in procedure ExtractFile of Module MemModule " + std::to_string(error.step);
}

}  // namespace lumora
