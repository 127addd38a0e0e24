#include "mp3variants.h"

#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

#include "support/testrecordings.h"

namespace lumora::test {

std::string writeCacheFile(const std::string& name, const std::vector<uint8_t>& bytes) {
    const std::filesystem::path folder = recordingCacheFolder();
    const std::string path = (folder / name).string();
    const std::string temporary = path + ".tmp" + std::to_string(::getpid());
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    std::filesystem::rename(temporary, path);
    return path;
}

namespace {

std::vector<uint8_t> bytesOf(const RecordingSpec& spec) {
    return readFileBytes(makeRecording(spec).path);
}

std::vector<uint8_t> concat(std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A minimal APEv2 tag (header, no items, footer).
std::vector<uint8_t> apeTag() {
    auto block = [](bool header) {
        std::vector<uint8_t> bytes(32, 0);
        std::memcpy(bytes.data(), "APETAGEX", 8);
        bytes[8] = 0xD0;  // version 2000
        bytes[9] = 0x07;
        bytes[12] = 32;  // size: the footer, no items
        uint32_t flags = (1u << 31) | (header ? (1u << 29) : 0);
        for (int i = 0; i < 4; ++i) {
            bytes[20 + static_cast<size_t>(i)] = static_cast<uint8_t>(flags >> (8 * i));
        }
        return bytes;
    };
    return concat(block(true), block(false));
}

// Blanks the encoder name of the LAME extension, so the Info frame carries no delay or padding.
std::vector<uint8_t> withoutLameExtension(std::vector<uint8_t> bytes) {
    for (size_t i = 0; i + 4 < bytes.size() && i < 4000; ++i) {
        if (std::memcmp(&bytes[i], "LAME", 4) == 0) {
            std::memset(&bytes[i], 0, 9);
            break;
        }
    }
    return bytes;
}

std::vector<Mp3Variant> makeVariants() {
    std::vector<Mp3Variant> variants;
    auto add = [&variants](const std::string& name, const RecordingSpec& spec) {
        variants.push_back({name, makeRecording(spec).path});
    };
    auto addBytes = [&variants](const std::string& name, const std::vector<uint8_t>& bytes,
                                bool agrees = true) {
        variants.push_back({name, writeCacheFile("variant-" + name + ".mp3", bytes), agrees});
    };
    RecordingSpec noise = RecordingSpec::stereo44(2500);
    noise.segments = {Segment::tone(300, 700), Segment::noise(1100), Segment::silence(200),
                      Segment::tone(2000, 500)};

    add("cbr44", RecordingSpec::stereo44(3000));
    add("vbr44", RecordingSpec::stereo44(3000, true));
    add("cbr22", RecordingSpec::mono22(3000));
    add("vbr22", RecordingSpec::mono22(3000, true));
    RecordingSpec spec = RecordingSpec::stereo44(2000);
    spec.id3v2 = true;
    add("cbr44-id3v2", spec);
    spec = RecordingSpec::mono22(2000, true);
    spec.id3v2 = true;
    add("vbr22-id3v2", spec);
    spec = RecordingSpec::mono22(2000);
    spec.id3v1 = true;
    spec.id3v2 = true;
    add("cbr22-id3v1-id3v2", spec);
    spec = noise;
    spec.vbr = true;
    add("vbr44-noise", spec);
    spec = RecordingSpec::mono22(2000);
    spec.bitrateKbps = 32;  // lame writes an Info frame without a gapless tag below 56 kbps
    add("cbr22-32k", spec);
    spec = RecordingSpec::stereo44(2000);
    spec.infoTag = false;
    add("cbr44-no-info", spec);

    const std::vector<uint8_t> cbr = bytesOf(RecordingSpec::stereo44(1500));
    const std::vector<uint8_t> vbr = bytesOf(RecordingSpec::stereo44(1200, true));
    RecordingSpec tagged = RecordingSpec::stereo44(1000);
    tagged.id3v2 = true;
    addBytes("joined-cbr-vbr", concat(cbr, vbr));
    addBytes("joined-with-id3v2", concat(cbr, bytesOf(tagged)));
    addBytes("cut-mid-frame",
             std::vector<uint8_t>(cbr.begin(), cbr.begin() + static_cast<long>(cbr.size() * 2 / 3)));
    addBytes("cut-vbr",
             std::vector<uint8_t>(vbr.begin(), vbr.begin() + static_cast<long>(vbr.size() / 2 + 7)));
    addBytes("ape-tag", concat(cbr, apeTag()));
    addBytes("no-lame-extension", withoutLameExtension(cbr));
    std::vector<uint8_t> junky = cbr;
    std::mt19937 random(7);
    const size_t middle = junky.size() / 2;
    std::vector<uint8_t> junk(kJunkBytes);
    for (uint8_t& byte : junk) {
        byte = static_cast<uint8_t>(random() & 0x7F);  // no sync bytes
    }
    junky.insert(junky.begin() + static_cast<long>(middle), junk.begin(), junk.end());
    addBytes("junk-inside", junky, false);
    return variants;
}

}  // namespace

const std::vector<Mp3Variant>& mp3Variants() {
    static const std::vector<Mp3Variant> variants = makeVariants();
    return variants;
}

}  // namespace lumora::test
