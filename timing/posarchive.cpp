#include "timing/posarchive.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <filesystem>
#include <optional>
#include <system_error>

#include "codec/archivereader.h"
#include "codec/archivewriter.h"
#include "codec/fileio.h"
#include "codec/suracatalogue.h"

namespace lumora {

namespace {

constexpr char kSource[] = "PosArchive";
// An archive is read whole to be written anew. Timing entries are a few kilobytes each, so no timing
// archive comes near this; a larger file (another file saved under its name) is not read into memory.
constexpr uintmax_t kMaxArchiveBytes = 64u << 20;

// writing: the archive was read to be rewritten, and is not.
Error damaged(const std::string& path, const Error& cause, bool writing) {
    return Error{cause.number, kSource,
                 path + ": the timing archive cannot be read" + (writing ? ", so it is left as it is" : "") + " (" +
                     cause.description + ")"};
}

// An error when something other than a regular file (after links) stands at path: a pipe would hold the
// read up for ever, and no archive is replaced that was never one.
std::optional<Error> notAFile(const std::string& path, bool writing) {
    std::error_code error;
    const auto type = std::filesystem::status(path, error).type();
    if (type == std::filesystem::file_type::regular || type == std::filesystem::file_type::not_found || error) {
        return std::nullopt;
    }
    return damaged(path, Error{75, kSource, "it is not a regular file"}, writing);
}

}  // namespace

std::string PosArchive::pathIn(const std::string& folder) {
    const std::filesystem::path exact = std::filesystem::path(folder) / kFileName;
    std::error_code error;
    if (std::filesystem::symlink_status(exact, error).type() != std::filesystem::file_type::not_found) {
        return exact.string();
    }
    // The player takes the archive whatever the case of its name (POS.DAT, copied from another system);
    // writing a pos.dat beside it would leave the player reading one of the two.
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::string name = it->path().filename().string();
        std::transform(name.begin(), name.end(), name.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        std::error_code typeError;
        if (name == kFileName && !it->is_directory(typeError)) return it->path().string();
    }
    return exact.string();
}

Result<void> PosArchive::writeSuras(const std::string& archivePath, const SuraTimings& timings) {
    std::vector<std::pair<std::string, std::vector<uint8_t>>> entries;
    if (auto refused = notAFile(archivePath, true)) return *refused;
    std::error_code error;
    if (std::filesystem::exists(archivePath, error)) {
        if (const auto size = std::filesystem::file_size(archivePath, error); !error && size > kMaxArchiveBytes) {
            return damaged(archivePath,
                           Error{75, kSource, "it is " + std::to_string(size) +
                                                  " bytes long, far larger than a timing archive"},
                           true);
        }
        auto archive = fileio::readWhole(archivePath, kSource);
        if (!archive) return damaged(archivePath, archive.error(), true);
        auto listed = ArchiveReader::listBytes(archive.value());
        if (!listed) return damaged(archivePath, listed.error(), true);
        for (const ArchiveEntryInfo& info : listed.value()) {
            auto entry = ArchiveReader::extractFromBytes(archive.value(), info.name, true);
            if (!entry) return damaged(archivePath, entry.error(), true);
            entries.emplace_back(info.name, std::move(entry.value().bytes));
        }
    }
    for (const auto& [sura, records] : timings) {
        const std::string name = VerseTimingTable::entryName(sura);
        std::vector<uint8_t> bytes = VerseTimingTable::encode(records);
        const auto same = std::find_if(entries.begin(), entries.end(), [&](const auto& e) { return e.first == name; });
        if (same != entries.end()) {
            same->second = std::move(bytes);
        } else {
            entries.emplace_back(name, std::move(bytes));
        }
    }
    ArchiveWriter writer;
    for (auto& [name, bytes] : entries) writer.addEntry(name, std::move(bytes), true);
    auto written = writer.write(archivePath);
    if (!written) {
        Error failure = written.error();
        failure.description = archivePath + ": cannot be written; the previous archive is kept (" +
                              failure.description + ")";
        return failure;
    }
    return {};
}

Result<std::vector<int>> PosArchive::suras(const std::string& archivePath) {
    std::error_code error;
    if (!std::filesystem::exists(archivePath, error)) return std::vector<int>{};
    if (auto refused = notAFile(archivePath, false)) return *refused;
    auto listed = ArchiveReader::list(archivePath);
    if (!listed) return damaged(archivePath, listed.error(), false);
    std::vector<int> result;
    for (int sura = 1; sura <= SuraCatalogue::kSuraCount; ++sura) {
        const std::string name = VerseTimingTable::entryName(sura);
        if (std::any_of(listed.value().begin(), listed.value().end(),
                        [&](const ArchiveEntryInfo& info) { return info.name == name; })) {
            result.push_back(sura);
        }
    }
    return result;
}

std::vector<VerseTiming> PosArchive::shifted(std::vector<VerseTiming> records, int32_t deltaMs) {
    const auto moved = [deltaMs](int32_t ms) {
        return static_cast<int32_t>(std::clamp<int64_t>(static_cast<int64_t>(ms) + deltaMs, 0, INT32_MAX));
    };
    for (VerseTiming& timing : records) timing = VerseTiming{moved(timing.startMs), moved(timing.endMs)};
    return records;
}

Result<std::vector<VerseTiming>> PosArchive::readSura(const std::string& archivePath, int sura) {
    std::error_code error;
    if (!std::filesystem::exists(archivePath, error) && !error) {
        return Error{53, kSource,
                     archivePath + ": there is no timing archive, so it holds no timings for sura " +
                         std::to_string(sura)};
    }
    if (auto refused = notAFile(archivePath, false)) return *refused;
    auto entry = ArchiveReader::findStoredFile(archivePath, VerseTimingTable::entryName(sura));
    if (!entry) return damaged(archivePath, entry.error(), false);
    if (!entry.value().found) {
        return Error{53, kSource, archivePath + ": it holds no timings for sura " + std::to_string(sura)};
    }
    return VerseTimingTable::parse(entry.value().bytes, SuraCatalogue::verseNo(sura));
}

}  // namespace lumora
