// The mp3info subcommand: what the player's frame index makes of an MP3 file, or of a per-verse folder's
// files for one sura played as one recording, for checking timing tables against their recording.

#include <charconv>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "audio/joinedframeindex.h"
#include "audio/mp3frameindex.h"
#include "codec/suracatalogue.h"
#include "tools/command.h"

namespace lumora::pack {

namespace {

// A whole number of at least `least` from an option's text.
std::optional<int64_t> wholeNumber(const std::string& text, int64_t least) {
    int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < least) {
        return std::nullopt;
    }
    return value;
}

// The file that holds a record of a sura in a per-verse folder: SSSVVV.mp3 (or .MP3). Record 0 of the
// suras that open with the formula is SSS000.mp3 when present, else the formula as verse 1 of sura 1.
std::string recordFile(const std::filesystem::path& folder, int sura, int record) {
    const auto existing = [&folder](int s, int verse) -> std::string {
        const std::string stem = SuraCatalogue::threeDigit(s) + SuraCatalogue::threeDigit(verse);
        for (const char* extension : {".mp3", ".MP3"}) {
            const std::filesystem::path path = folder / (stem + extension);
            std::error_code ignored;
            if (std::filesystem::is_regular_file(path, ignored))
                return path.string();
        }
        return {};
    };
    if (sura == 1 || sura == 9)
        return existing(sura, record + 1);
    if (record > 0)
        return existing(sura, record);
    const std::string own = existing(sura, 0);
    return own.empty() ? existing(1, 1) : own;
}

// The name a record's file has in the folder, for the report.
std::string expectedName(int sura, int record) {
    const int verse = sura == 1 || sura == 9 ? record + 1 : record;
    return SuraCatalogue::threeDigit(sura) + SuraCatalogue::threeDigit(verse) + ".mp3";
}

int printSura(const CommandContext& context, const std::string& folderText, int sura,
              const std::vector<int64_t>& times) {
    const std::filesystem::path folder(folderText);
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) {
        return context.fail(folderText + ": not a folder");
    }
    const int records = SuraCatalogue::verseNo(sura);
    std::vector<std::string> paths;
    for (int record = 0; record < records; ++record) paths.push_back(recordFile(folder, sura, record));
    const JoinedFrameIndex joined = JoinedFrameIndex::fromFiles(paths);

    context.out << "sura " << sura << '\n'
                << "records " << records << '\n'
                << "length_ms " << joined.lengthMs() << '\n'
                << "sample_rate " << joined.sampleRateHz() << '\n'
                << "channels " << joined.channels() << '\n';
    // One line per record: its start and end in the joined recording, its file and what is wrong with it.
    const std::vector<JoinedFrameIndex::PartTimes> partTimes = joined.partTimesMs();
    int damaged = 0;
    int present = 0;
    for (int record = 0; record < records; ++record) {
        const JoinedFrameIndex::Part& part = joined.part(record);
        const auto& span = partTimes[static_cast<size_t>(record)];
        const std::string name = part.path.empty() ? expectedName(sura, record)
                                                   : std::filesystem::path(part.path).filename().string();
        context.out << record << ' ' << span.startMs << ' ' << span.endMs << ' ' << name;
        if (part.state == JoinedFrameIndex::PartState::kMissing) {
            context.out << " missing";
        } else if (part.state == JoinedFrameIndex::PartState::kDamaged) {
            context.out << " damaged: " << part.problem;
            ++damaged;
        } else {
            ++present;
        }
        context.out << '\n';
    }
    for (int64_t ms : times) {
        const int64_t sample = joined.msToSample(ms);
        const int64_t record = joined.partAtSample(sample);
        if (record < 0)
            continue;
        context.out << ms << ' ' << std::filesystem::path(joined.part(record).path).filename().string() << ' '
                    << joined.byteOffsetAtSample(sample) << '\n';
    }
    if (present == 0 && damaged == 0) {
        return context.fail(folderText + ": no file of sura " + std::to_string(sura));
    }
    if (damaged > 0) {
        return context.fail(folderText + ": " + std::to_string(damaged) + " file(s) of sura " +
                            std::to_string(sura) + " cannot be played");
    }
    return kExitOk;
}

}  // namespace

// For a file: prints the length in ms, the sample rate, the channels and the frame count, then for each
// --at MS one line "MS OFFSET": the byte offset of the frame that holds that time (the last frame for a
// time past the end). For a per-verse folder with --sura N: the sura's records as one recording, each
// record's start and end ms in it, and for each --at MS the file and offset of the frame that holds it.
int runMp3Info(const CommandContext& context) {
    const ParsedArgs parsed = parseArgs(context.args, {}, {"--at", "--sura"});
    if (!parsed.problem.empty()) {
        return context.usageError("mp3info", parsed.problem);
    }
    if (parsed.words.size() != 1) {
        return context.usageError("mp3info", "needs one MP3 file or one per-verse folder");
    }
    std::vector<int64_t> times;
    std::optional<int64_t> sura;
    for (const auto& [option, text] : parsed.values) {
        if (option == "--sura") {
            sura = wholeNumber(text, 1);
            if (!sura || *sura > SuraCatalogue::kSuraCount) {
                return context.usageError("mp3info",
                                          "--sura takes a sura number from 1 to 114, not '" + text + "'");
            }
            continue;
        }
        const std::optional<int64_t> ms = wholeNumber(text, 0);
        if (!ms) {
            return context.usageError("mp3info",
                                      "--at takes a time in whole milliseconds, not '" + text + "'");
        }
        times.push_back(*ms);
    }
    const std::string& path = parsed.words[0];
    if (sura) {
        return printSura(context, path, static_cast<int>(*sura), times);
    }
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        return context.usageError("mp3info", path + " is a folder: name the sura with --sura N");
    }
    const Result<Mp3FrameIndex> index = Mp3FrameIndex::fromFile(path);
    if (!index) {
        return context.fail(path + ": " + index.error().description);
    }
    context.out << "length_ms " << index.value().lengthMs() << '\n'
                << "sample_rate " << index.value().sampleRateHz() << '\n'
                << "channels " << index.value().channels() << '\n'
                << "frames " << index.value().frameCount() << '\n';
    for (int64_t ms : times) {
        context.out << ms << ' ' << index.value().byteOffsetAtMs(ms) << '\n';
    }
    return kExitOk;
}

}  // namespace lumora::pack
