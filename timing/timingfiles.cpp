#include "timing/timingfiles.h"

#include <filesystem>
#include <system_error>

#include "codec/fileio.h"
#include "timing/jsontimings.h"
#include "timing/sqlitetimings.h"
#include "timing/texttimings.h"

namespace lumora {

namespace {

constexpr struct {
    TimingFormat format;
    const char* name;
} kFormats[] = {
    {TimingFormat::kSqlite, "sqlite"}, {TimingFormat::kJson, "json"}, {TimingFormat::kCsv, "csv"},
    {TimingFormat::kLabels, "labels"}, {TimingFormat::kLrc, "lrc"},
};

Result<std::vector<uint8_t>> readText(const std::string& path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    if (error) return VerseMarks::fault(path, "", "the file cannot be read (" + error.message() + ")");
    if (size > static_cast<uintmax_t>(TimingFiles::kMaxTextFileBytes)) {
        return VerseMarks::fault(path, "", "the file is too large for a timing table");
    }
    auto bytes = fileio::readWhole(path, "TimingImport");
    if (!bytes) return VerseMarks::fault(path, "", "the file cannot be read");
    return bytes;
}

}  // namespace

std::optional<TimingFormat> TimingFiles::formatNamed(const std::string& name) {
    for (const auto& entry : kFormats) {
        if (name == entry.name) return entry.format;
    }
    return std::nullopt;
}

std::string TimingFiles::nameOf(TimingFormat format) {
    for (const auto& entry : kFormats) {
        if (entry.format == format) return entry.name;
    }
    return {};
}

bool TimingFiles::canExport(TimingFormat format) {
    return format == TimingFormat::kCsv || format == TimingFormat::kLabels || format == TimingFormat::kSqlite;
}

Result<SuraTimings> TimingFiles::import(TimingFormat format, const std::string& path, const ImportOptions& options) {
    Result<std::vector<VerseMark>> marks = std::vector<VerseMark>{};
    if (format == TimingFormat::kSqlite) {
        marks = SqliteTimings::read(path, options.sura);
    } else {
        Result<std::vector<uint8_t>> bytes = readText(path);
        if (!bytes) return bytes.error();
        const std::string_view text(reinterpret_cast<const char*>(bytes.value().data()), bytes.value().size());
        switch (format) {
        case TimingFormat::kJson:
            marks = JsonTimings::read(bytes.value(), path);
            break;
        case TimingFormat::kCsv:
            marks = TextTimings::readCsv(text, path);
            break;
        case TimingFormat::kLabels:
            marks = TextTimings::readLabels(text, path, options.sura);
            break;
        case TimingFormat::kLrc:
            marks = TextTimings::readLrc(text, path, options.sura);
            break;
        case TimingFormat::kSqlite:
            break;
        }
    }
    if (!marks) return marks.error();
    return VerseMarks::assemble(marks.value(), path, options.sura, options.recordingLength);
}

std::string TimingFiles::exportText(TimingFormat format, const SuraTimings& timings) {
    return format == TimingFormat::kLabels ? TextTimings::writeLabels(timings) : TextTimings::writeCsv(timings);
}

Result<void> TimingFiles::exportFile(TimingFormat format, const SuraTimings& timings, const std::string& path) {
    if (format == TimingFormat::kSqlite) return SqliteTimings::write(path, timings);
    const std::string text = exportText(format, timings);
    const std::string temporary = path + ".part";
    auto written = fileio::replace(
        temporary, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()), "TimingExport");
    std::error_code error;
    if (written) std::filesystem::rename(temporary, path, error);
    if (!written || error) {
        std::filesystem::remove(temporary, error);
        return Error{75, "TimingExport", path + ": cannot be written"};
    }
    return {};
}

}  // namespace lumora
