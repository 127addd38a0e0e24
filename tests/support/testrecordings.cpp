#include "support/testrecordings.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numbers>
#include <random>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace lumora::test {

namespace {

// Tones rise and fall over this long so segment edges do not click (clicks smear across MP3 frames).
constexpr double kEdgeFadeMs = 5.0;

std::string describe(const RecordingSpec& spec) {
    std::ostringstream text;
    text << "v2:" << spec.sampleRateHz << ':' << spec.channels << ':' << spec.vbr << ':' << spec.bitrateKbps
         << ':' << spec.vbrQuality << ':' << spec.infoTag << ':' << spec.id3v2 << ':' << spec.id3v1 << ':'
         << spec.seed << ':' << spec.lengthMs;
    for (const Segment& segment : spec.segments) {
        text << '|' << static_cast<int>(segment.kind) << ',' << segment.durationMs << ','
             << segment.frequencyHz << ',' << segment.amplitude;
    }
    return text.str();
}

std::vector<Segment> segmentsOf(const RecordingSpec& spec) {
    if (!spec.segments.empty()) {
        return spec.segments;
    }
    return {Segment::tone(440.0, spec.lengthMs)};
}

int64_t samplesFor(int64_t ms, int32_t rate) {
    return ms * rate / 1000;
}

void runLame(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    pid_t child = 0;
    if (posix_spawnp(&child, "lame", nullptr, nullptr, argv.data(), environ) != 0) {
        throw std::runtime_error("cannot start lame");
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw std::runtime_error("lame failed");
    }
}

}  // namespace

RecordingSpec RecordingSpec::stereo44(int32_t lengthMs, bool vbr) {
    RecordingSpec spec;
    spec.lengthMs = lengthMs;
    spec.vbr = vbr;
    return spec;
}

RecordingSpec RecordingSpec::mono22(int32_t lengthMs, bool vbr) {
    RecordingSpec spec;
    spec.sampleRateHz = 22050;
    spec.channels = 1;
    spec.bitrateKbps = 56;
    spec.lengthMs = lengthMs;
    spec.vbr = vbr;
    return spec;
}

std::vector<int16_t> generateSignal(const RecordingSpec& spec) {
    const int32_t rate = spec.sampleRateHz;
    const auto channels = static_cast<size_t>(spec.channels);
    std::mt19937 random(spec.seed);
    std::uniform_real_distribution<double> uniform(-1.0, 1.0);
    std::vector<int16_t> samples;
    int64_t startMs = 0;
    for (const Segment& segment : segmentsOf(spec)) {
        const int64_t first = samplesFor(startMs, rate);
        startMs += segment.durationMs;
        const int64_t count = samplesFor(startMs, rate) - first;
        const double fadeSamples = kEdgeFadeMs * rate / 1000.0;
        for (int64_t i = 0; i < count; ++i) {
            double value = 0.0;
            if (segment.kind == Segment::Kind::Tone) {
                const double edge = std::min({1.0, (i + 0.5) / fadeSamples, (count - i - 0.5) / fadeSamples});
                value = segment.amplitude * edge *
                        std::sin(2.0 * std::numbers::pi * segment.frequencyHz * double(i) / rate);
            } else if (segment.kind == Segment::Kind::Noise) {
                value = segment.amplitude * uniform(random);
            }
            for (size_t ch = 0; ch < channels; ++ch) {
                // The second channel is a little quieter, so the two channels differ.
                const double scaled = value * (ch == 0 ? 1.0 : 0.8);
                samples.push_back(static_cast<int16_t>(std::lround(std::clamp(scaled, -1.0, 1.0) * 32767.0)));
            }
        }
    }
    return samples;
}

void writeWav(const std::string& path, const std::vector<int16_t>& samples, int32_t sampleRateHz,
              int32_t channels) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    auto put32 = [&out](uint32_t value) {
        for (int i = 0; i < 4; ++i) {
            out.put(static_cast<char>((value >> (8 * i)) & 0xFF));
        }
    };
    auto put16 = [&out](uint16_t value) {
        out.put(static_cast<char>(value & 0xFF));
        out.put(static_cast<char>(value >> 8));
    };
    const auto dataBytes = static_cast<uint32_t>(samples.size() * 2);
    out.write("RIFF", 4);
    put32(36 + dataBytes);
    out.write("WAVEfmt ", 8);
    put32(16);
    put16(1);
    put16(static_cast<uint16_t>(channels));
    put32(static_cast<uint32_t>(sampleRateHz));
    put32(static_cast<uint32_t>(sampleRateHz * channels * 2));
    put16(static_cast<uint16_t>(channels * 2));
    put16(16);
    out.write("data", 4);
    put32(dataBytes);
    for (int16_t sample : samples) {
        put16(static_cast<uint16_t>(sample));
    }
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

std::string recordingCacheFolder() {
    const char* configured = std::getenv("LUMORA_TEST_CACHE");
    const std::filesystem::path folder = configured != nullptr && *configured != '\0'
                                             ? std::filesystem::path(configured)
                                             : std::filesystem::current_path() / "lumora-test-recordings";
    std::filesystem::create_directories(folder);
    return folder.string();
}

std::vector<uint8_t> readFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path);
    }
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Recording makeRecording(const RecordingSpec& spec) {
    Recording recording;
    recording.sampleRateHz = spec.sampleRateHz;
    recording.channels = spec.channels;
    int64_t ms = 0;
    recording.boundariesMs.push_back(0);
    recording.boundarySamples.push_back(0);
    for (const Segment& segment : segmentsOf(spec)) {
        ms += segment.durationMs;
        recording.boundariesMs.push_back(static_cast<int32_t>(ms));
        recording.boundarySamples.push_back(samplesFor(ms, spec.sampleRateHz));
    }
    recording.sourceSamples = recording.boundarySamples.back();

    const std::string key = describe(spec);
    char name[32];
    std::snprintf(name, sizeof name, "rec-%016zx.mp3", std::hash<std::string>{}(key));
    const std::filesystem::path folder = recordingCacheFolder();
    recording.path = (folder / name).string();
    if (std::filesystem::exists(recording.path)) {
        return recording;
    }

    const std::string unique = std::to_string(::getpid()) + "-" + name;
    const std::string wavPath = (folder / ("tmp-" + unique + ".wav")).string();
    const std::string mp3Path = (folder / ("tmp-" + unique)).string();
    writeWav(wavPath, generateSignal(spec), spec.sampleRateHz, spec.channels);

    char rate[16];
    std::snprintf(rate, sizeof rate, "%g", spec.sampleRateHz / 1000.0);
    std::vector<std::string> arguments{"lame", "--quiet", "--resample",
                                       rate,   "-m",      spec.channels == 1 ? "m" : "j"};
    if (spec.vbr) {
        arguments.insert(arguments.end(), {"-V", std::to_string(spec.vbrQuality)});
    } else {
        arguments.insert(arguments.end(), {"--cbr", "-b", std::to_string(spec.bitrateKbps)});
    }
    if (!spec.infoTag) {
        arguments.push_back("-t");
    }
    if (spec.id3v2 || spec.id3v1) {
        arguments.insert(arguments.end(), {"--tt", "Lumora test recording", "--ta", "Lumora"});
        if (spec.id3v2 && spec.id3v1) {
            arguments.insert(arguments.end(), {"--add-id3v2", "--pad-id3v2-size", "1500"});
        } else if (spec.id3v2) {
            arguments.insert(arguments.end(), {"--id3v2-only", "--pad-id3v2-size", "1500"});
        } else {
            arguments.push_back("--id3v1-only");
        }
    }
    arguments.push_back(wavPath);
    arguments.push_back(mp3Path);
    try {
        runLame(arguments);
    } catch (...) {
        std::filesystem::remove(wavPath);
        std::filesystem::remove(mp3Path);
        throw;
    }
    std::filesystem::remove(wavPath);
    std::filesystem::rename(mp3Path, recording.path);
    return recording;
}

}  // namespace lumora::test

namespace lumora::test {

std::vector<Recording> makeVerseRecordings(const std::vector<int32_t>& lengthsMs, RecordingSpec base) {
    std::vector<Recording> recordings;
    for (size_t k = 0; k < lengthsMs.size(); ++k) {
        base.segments = {Segment::tone(330.0 + 55.0 * static_cast<double>(k % 12), lengthsMs[k]),
                         Segment::silence(120)};
        recordings.push_back(makeRecording(base));
    }
    return recordings;
}

}  // namespace lumora::test
