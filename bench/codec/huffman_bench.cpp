// Huffman throughput on a sura's text in UTF-16, beside zlib on the same bytes in the same run:
// decoding against inflate (target: at least twice as fast) and encoding against deflate.

#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "codec/archivereader.h"
#include "codec/huffmancodec.h"

namespace {

using Bytes = std::vector<uint8_t>;
using Clock = std::chrono::steady_clock;

// Sura 2 of the installed Arabic text when the sample program folder has it.
bool loadInstalledText(Bytes& text, std::string& origin) {
    const char* folder = std::getenv("LUMORA_PROGRAM_FOLDER");
    if (folder == nullptr) {
        return false;
    }
    const std::string path = std::string(folder) + "/data/tdata/Arabic - Uthmani script.dat";
    if (!std::filesystem::exists(path)) {
        return false;
    }
    auto entry = lumora::ArchiveReader::extractFile(path, "002.txt");
    if (!entry.ok() || !entry.value().found || entry.value().bytes.empty()) {
        return false;
    }
    text = std::move(entry.value().bytes);
    origin = path + ", 002.txt";
    return true;
}

// About sura 2's size: 286 verses of words drawn from a vocabulary with Zipf-like frequencies, letters
// U+0621..U+064A with the marks U+064B..U+0652, blanks, a newline after each verse; UTF-16LE with a BOM.
Bytes generatedText() {
    std::mt19937 random(2);
    std::vector<std::u16string> vocabulary(1800);
    std::uniform_int_distribution<int> letter(0x0621, 0x064A);
    std::uniform_int_distribution<int> mark(0x064B, 0x0652);
    std::uniform_int_distribution<int> length(2, 7);
    for (std::u16string& word : vocabulary) {
        const int letters = length(random);
        for (int i = 0; i < letters; ++i) {
            word += static_cast<char16_t>(letter(random));
            if (random() % 10 < 7) {
                word += static_cast<char16_t>(mark(random));
            }
        }
    }
    std::vector<double> weights(vocabulary.size());
    for (size_t i = 0; i < weights.size(); ++i) {
        weights[i] = 1.0 / static_cast<double>(i + 1);
    }
    std::discrete_distribution<size_t> pick(weights.begin(), weights.end());
    std::u16string text = u"\uFEFF";
    for (int verse = 0; verse < 286; ++verse) {
        const int words = 8 + static_cast<int>(random() % 35);
        for (int w = 0; w < words; ++w) {
            text += vocabulary[pick(random)];
            text += u' ';
        }
        text += u"\r\n";
    }
    Bytes bytes;
    for (char16_t c : text) {
        bytes.push_back(static_cast<uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<uint8_t>(c >> 8));
    }
    return bytes;
}

// Seconds per call of one trial of at least 0.1 s.
double trialSeconds(const std::function<void()>& call) {
    int calls = 0;
    const auto start = Clock::now();
    std::chrono::duration<double> elapsed{};
    do {
        call();
        ++calls;
        elapsed = Clock::now() - start;
    } while (elapsed.count() < 0.1);
    return elapsed.count() / calls;
}

// The best seconds per call of each of two operations, their trials taken in turn so that a machine busy
// with other work slows both alike.
std::pair<double, double> bestOfPair(const std::function<void()>& first,
                                     const std::function<void()>& second) {
    double bestFirst = 1e30;
    double bestSecond = 1e30;
    for (int trial = 0; trial < 9; ++trial) {
        bestFirst = std::min(bestFirst, trialSeconds(first));
        bestSecond = std::min(bestSecond, trialSeconds(second));
    }
    return {bestFirst, bestSecond};
}

void row(const char* what, double megabytesPerSecond, const char* note) {
    std::printf("  %-18s %9.1f MB/s%s\n", what, megabytesPerSecond, note);
}

}  // namespace

int main() {
    Bytes text;
    std::string origin;
    if (!loadInstalledText(text, origin)) {
        text = generatedText();
        origin = "generated Arabic-like text";
    }
    const double megabytes = static_cast<double>(text.size()) / 1e6;

    const Bytes stream = lumora::HuffmanCodec::encode(text);
    uLongf packedSize = compressBound(static_cast<uLong>(text.size()));
    Bytes packed(packedSize);
    if (compress2(packed.data(), &packedSize, text.data(), static_cast<uLong>(text.size()),
                  Z_DEFAULT_COMPRESSION) != Z_OK) {
        std::fprintf(stderr, "zlib compress failed\n");
        return 1;
    }
    packed.resize(packedSize);

    // Both decoders must give the text back before their speed means anything.
    auto decoded = lumora::HuffmanCodec::decode(stream);
    Bytes inflated(text.size());
    uLongf inflatedSize = static_cast<uLongf>(inflated.size());
    if (!decoded.ok() || decoded.value() != text ||
        uncompress(inflated.data(), &inflatedSize, packed.data(), static_cast<uLong>(packed.size())) !=
            Z_OK ||
        inflated != text) {
        std::fprintf(stderr, "a decoder did not give the text back\n");
        return 1;
    }

    const auto [huffmanDecode, zlibInflate] = bestOfPair(
        [&] {
            auto out = lumora::HuffmanCodec::decode(stream);
            if (out.value().size() != text.size()) {
                std::abort();
            }
        },
        // Like the Huffman decoder, inflate delivers its output in a new buffer each time.
        [&] {
            std::vector<uint8_t> out(text.size());
            uLongf size = static_cast<uLongf>(out.size());
            if (uncompress(out.data(), &size, packed.data(), static_cast<uLong>(packed.size())) != Z_OK) {
                std::abort();
            }
        });
    const auto [huffmanEncode, zlibDeflate] = bestOfPair(
        [&] {
            if (lumora::HuffmanCodec::encode(text).size() != stream.size()) {
                std::abort();
            }
        },
        [&] {
            uLongf size = compressBound(static_cast<uLong>(text.size()));
            std::vector<uint8_t> out(size);
            compress2(out.data(), &size, text.data(), static_cast<uLong>(text.size()), Z_DEFAULT_COMPRESSION);
        });

    std::printf("Huffman codec on %s: %zu bytes UTF-16; Huffman stream %zu bytes, zlib %zu bytes\n",
                origin.c_str(), text.size(), stream.size(), packed.size());
    row("Huffman decode", megabytes / huffmanDecode, "");
    row("zlib inflate", megabytes / zlibInflate, "  (baseline)");
    std::printf("  decode ratio       %9.2fx      (target >= 2x)\n", zlibInflate / huffmanDecode);
    row("Huffman encode", megabytes / huffmanEncode, "");
    row("zlib deflate", megabytes / zlibDeflate, "  (baseline, level 6)");
    std::printf("  encode ratio       %9.2fx\n", zlibDeflate / huffmanEncode);
    return 0;
}
