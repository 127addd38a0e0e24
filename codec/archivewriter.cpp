#include "codec/archivewriter.h"

#include <cstdio>
#include <filesystem>
#include <set>
#include <system_error>

#include "codec/archivereader.h"
#include "codec/codecerrors.h"
#include "codec/fileio.h"
#include "codec/huffmancodec.h"

namespace lumora {

namespace {

constexpr char kWriteSource[] = "ArchiveWriter.write";

}  // namespace

void ArchiveWriter::addEntry(const std::string& name, std::vector<uint8_t> bytes, bool stored) {
    if (!stored) {
        bytes = HuffmanCodec::encode(bytes);
    }
    m_entries.push_back(Entry{name, std::move(bytes), stored});
}

std::string ArchiveWriter::directory() const {
    std::string text = std::to_string(m_entries.size()) + ":";
    for (const Entry& entry : m_entries) {
        text += entry.name + ":";
    }
    for (const Entry& entry : m_entries) {
        text += entry.stored ? "s:" : "h:";
    }
    for (const Entry& entry : m_entries) {
        text += std::to_string(entry.data.size()) + ":";
    }
    return text;
}

Result<void> ArchiveWriter::validate() const {
    std::set<std::string> seen;
    for (const Entry& entry : m_entries) {
        bool plain = !entry.name.empty();
        for (char c : entry.name) {
            if (c == ':' || c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20) {
                plain = false;
            }
        }
        if (!plain) {
            return makeError(
                kCodecErrorNumber, kWriteSource,
                "The entry name \"" + entry.name +
                    "\" is not allowed (empty, or holding ':', '/', '\\' or a control character)");
        }
        if (!seen.insert(entry.name).second) {
            return makeError(kCodecErrorNumber, kWriteSource,
                             "The entry name " + entry.name + " occurs twice");
        }
    }
    const size_t length = directory().size();
    if (length > ArchiveReader::kMaxDirectoryLength) {
        return makeError(kCodecErrorNumber, kWriteSource,
                         "The directory would take " + std::to_string(length) + " characters; at most " +
                             std::to_string(ArchiveReader::kMaxDirectoryLength) + " can be read");
    }
    return {};
}

std::vector<uint8_t> ArchiveWriter::build() const {
    const std::string text = directory();
    char trailer[ArchiveReader::kTrailerLength + 1];
    std::snprintf(trailer, sizeof trailer, "%10zu", text.size());
    std::vector<uint8_t> archive;
    size_t total = text.size() + ArchiveReader::kTrailerLength;
    for (const Entry& entry : m_entries) {
        total += entry.data.size();
    }
    archive.reserve(total);
    for (const Entry& entry : m_entries) {
        archive.insert(archive.end(), entry.data.begin(), entry.data.end());
    }
    archive.insert(archive.end(), text.begin(), text.end());
    archive.insert(archive.end(), trailer, trailer + ArchiveReader::kTrailerLength);
    return archive;
}

Result<void> ArchiveWriter::write(const std::string& path) const {
    auto valid = validate();
    if (!valid) {
        return valid;
    }
    const std::string temporary = path + ".part";
    auto written = fileio::replace(temporary, build(), kWriteSource);
    if (!written) {
        // The temporary file is an inner detail; the message names the archive.
        Error error = written.error();
        const size_t at = error.description.find(temporary);
        if (at != std::string::npos) {
            error.description.replace(at, temporary.size(), path);
        }
        return error;
    }
    std::error_code renameError;
    std::filesystem::rename(temporary, path, renameError);
    if (renameError) {
        std::filesystem::remove(temporary, renameError);
        return makeError(kFileAccessErrorNumber, kWriteSource,
                         "Path/File access error: cannot write " + path);
    }
    return {};
}

}  // namespace lumora
