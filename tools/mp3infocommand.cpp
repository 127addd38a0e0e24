// The mp3info subcommand: what the player's frame index makes of an MP3 file, for checking timing
// tables against their recording.

#include <charconv>
#include <cstdint>
#include <string>
#include <vector>

#include "audio/mp3frameindex.h"
#include "tools/command.h"

namespace lumora::pack {

// Prints the length in ms, the sample rate, the channels and the frame count, then for each --at MS
// one line "MS OFFSET": the byte offset of the frame that holds that time (the last frame for a time
// past the end).
int runMp3Info(const CommandContext& context) {
    const ParsedArgs parsed = parseArgs(context.args, {}, {"--at"});
    if (!parsed.problem.empty()) {
        return context.usageError("mp3info", parsed.problem);
    }
    if (parsed.words.size() != 1) {
        return context.usageError("mp3info", "needs one MP3 file");
    }
    std::vector<int64_t> times;
    for (const auto& [option, text] : parsed.values) {
        int64_t ms = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), ms);
        if (option != "--at" || text.empty() || error != std::errc() || end != text.data() + text.size() ||
            ms < 0) {
            return context.usageError("mp3info",
                                      "--at takes a time in whole milliseconds, not '" + text + "'");
        }
        times.push_back(ms);
    }
    const std::string& path = parsed.words[0];
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
