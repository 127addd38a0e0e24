#include "codec/huffmancodec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>

#include "codec/codecerrors.h"
#include "codec/treewalk.h"
#include "support/scratchfolder.h"

namespace lumora {
namespace {

using Bytes = std::vector<uint8_t>;
using test::ScratchFolder;

Bytes bytesOf(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

Bytes decodeOk(const Bytes& stream) {
    auto decoded = HuffmanCodec::decode(stream);
    EXPECT_TRUE(decoded.ok()) << decoded.error().description;
    return decoded.ok() ? decoded.value() : Bytes{};
}

// Random data whose byte values follow a geometric-like spread over `alphabet` values, so codes of many
// different lengths occur.
Bytes randomData(std::mt19937& random, size_t size, int alphabet, bool skewed) {
    Bytes data(size);
    std::geometric_distribution<int> geometric(0.3);
    std::uniform_int_distribution<int> uniform(0, alphabet - 1);
    const int offset = std::uniform_int_distribution<int>(0, 256 - alphabet)(random);
    for (uint8_t& byte : data) {
        const int pick = skewed ? std::min(geometric(random), alphabet - 1) : uniform(random);
        byte = static_cast<uint8_t>(offset + pick);
    }
    return data;
}

TEST(HuffmanCodecFormat, WorkedExampleAbcIsNineteenExactBytes) {
    Bytes bytes = bytesOf("abc");
    HuffmanCodec::encodeByte(bytes, 3);
    const Bytes expected = {'L',  'M',  ' ',  '\r', 0x60, 0x03, 0x00, 0x00, 0x00, 0x03,
                            0x00, 0x61, 0x02, 0x62, 0x02, 0x63, 0x01, 0x0D, 0x0D};
    EXPECT_EQ(bytes, expected);
    ASSERT_TRUE(HuffmanCodec::decodeByte(bytes, bytes.size()).ok());
    EXPECT_EQ(bytes, bytesOf("abc"));
}

TEST(HuffmanCodecFormat, MergeRuleKeepsPickOrderAndBreaksTiesByIndex) {
    // Equal weights: each merge joins the two earliest parentless nodes, the first as left child.
    EXPECT_EQ(test::streamCodes(HuffmanCodec::encode(bytesOf("abcd"))),
              (std::map<int, std::string>{{'a', "00"}, {'b', "01"}, {'c', "10"}, {'d', "11"}}));
    // Counts x=5, y=3, z=1: z replaces the heavier first pick x, so z (A) is left of y (B).
    EXPECT_EQ(test::streamCodes(HuffmanCodec::encode(bytesOf("xxxxxyyyz"))),
              (std::map<int, std::string>{{'x', "0"}, {'y', "11"}, {'z', "10"}}));
    // Counts x=3, y=5, z=1: z replaces the heavier pick, which is now B, so x stays left of z.
    EXPECT_EQ(test::streamCodes(HuffmanCodec::encode(bytesOf("xxxyyyyyz"))),
              (std::map<int, std::string>{{'x', "10"}, {'y', "0"}, {'z', "11"}}));
    // Two values of equal count: the lower byte value gets 0.
    EXPECT_EQ(test::streamCodes(HuffmanCodec::encode(bytesOf("qpqp"))),
              (std::map<int, std::string>{{'p', "0"}, {'q', "1"}}));
}

TEST(HuffmanCodecFormat, StoredStreamWhenCodedDataTakesNoBytesOrMoreThanInput) {
    // One repeated value has an empty code, so the payload is 0 bytes.
    const Bytes same(1000, 0x41);
    Bytes stream = HuffmanCodec::encode(same);
    ASSERT_EQ(stream.size(), same.size() + 4);
    EXPECT_EQ(Bytes(stream.begin(), stream.begin() + 4), bytesOf("HE0\r"));
    EXPECT_TRUE(std::equal(same.begin(), same.end(), stream.begin() + 4));
    EXPECT_EQ(decodeOk(stream), same);
    EXPECT_EQ(decodeOk(HuffmanCodec::encode(Bytes{7})), Bytes{7});

    // The empty input is the compressed identification alone and decodes to nothing.
    EXPECT_EQ(HuffmanCodec::encode(Bytes{}), bytesOf("LM \r"));
    EXPECT_EQ(decodeOk(bytesOf("LM \r")), Bytes{});
    EXPECT_EQ(decodeOk(bytesOf("HE0\r")), Bytes{});
}

TEST(HuffmanCodecFormat, AllByteValuesEquallyOftenStayCompressedThoughLonger) {
    Bytes data;
    for (int round = 0; round < 3; ++round) {
        for (int value = 0; value < 256; ++value) {
            data.push_back(static_cast<uint8_t>(value));
        }
    }
    const Bytes stream = HuffmanCodec::encode(data);
    EXPECT_EQ(Bytes(stream.begin(), stream.begin() + 4), bytesOf("LM \r"));
    for (const auto& [value, code] : test::streamCodes(stream)) {
        EXPECT_EQ(code.size(), 8u) << value;
    }
    // Header, 512 table bytes, 256 bytes of code bits, then the data at one byte per byte.
    EXPECT_EQ(stream.size(), 11u + 512 + 256 + data.size());
    EXPECT_EQ(decodeOk(stream), data);
}

TEST(HuffmanCodecFormat, DataBitsStartRightAfterCodeBitsEndingOnAByte) {
    // Four values of 2-bit codes: exactly 8 code bits, so the data begins at the next byte.
    const Bytes data = bytesOf("abcdabcd");
    const Bytes stream = HuffmanCodec::encode(data);
    ASSERT_EQ(stream.size(), 11u + 8 + 1 + 2);
    EXPECT_EQ(stream[19], 0b11'01'10'00);  // codes a=00 b=01 c=10 d=11, first bit lowest
    EXPECT_EQ(stream[20], 0b11'01'10'00);  // data a b c d
    EXPECT_EQ(stream[21], 0b11'01'10'00);
    EXPECT_EQ(decodeOk(stream), data);
}

TEST(HuffmanCodecIdentification, OnlyAnUnknownHeKindIsRefused) {
    Bytes stream = HuffmanCodec::encode(bytesOf("identification"));
    Bytes he3 = stream;
    he3[0] = 'H', he3[1] = 'E', he3[2] = '3', he3[3] = '\r';
    EXPECT_EQ(decodeOk(he3), bytesOf("identification"));
    Bytes other = stream;
    other[0] = 'Z', other[1] = 'Q', other[2] = '!', other[3] = 0;
    EXPECT_EQ(decodeOk(other), bytesOf("identification"));

    Bytes he7 = he3;
    he7[2] = '7';
    const Bytes before = he7;
    Result<void> refused = HuffmanCodec::decodeByte(he7, he7.size());
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.error().number, -2147221504);
    EXPECT_EQ(refused.error().source, "HuffmanDecode()");
    EXPECT_EQ(refused.error().description,
              "The data either was not compressed with HE3 or is corrupt (identification string not found)");
    EXPECT_EQ(he7, before) << "a refused stream is left as it was";

    auto tooShort = HuffmanCodec::decode(bytesOf("LM "));
    ASSERT_FALSE(tooShort.ok());
    EXPECT_EQ(tooShort.error().number, kSubscriptOutOfRangeNumber);
}

TEST(HuffmanCodecTolerance, WrongChecksumStillDecodesAndIsReported) {
    const Bytes data = bytesOf("checksum mismatch is absorbed");
    Bytes stream = HuffmanCodec::encode(data);
    stream[4] ^= 0x5A;
    DecodeReport report;
    auto decoded = HuffmanCodec::decode(stream, report);
    ASSERT_TRUE(decoded.ok());
    EXPECT_EQ(decoded.value(), data);
    EXPECT_TRUE(report.complete);
    EXPECT_FALSE(report.checksumMatches);
    EXPECT_EQ(report.problem, "The data might be corrupted (checksum did not match expected value)");
}

TEST(HuffmanCodecTolerance, EveryTruncationYieldsAPrefixOfTheData) {
    std::mt19937 random(11);
    const Bytes data = randomData(random, 6000, 40, true);
    const Bytes stream = HuffmanCodec::encode(data);
    ASSERT_EQ(stream[0], 'L');
    for (size_t size = 4; size <= stream.size(); ++size) {
        DecodeReport report;
        auto decoded = HuffmanCodec::decode(std::span(stream).first(size), report);
        ASSERT_TRUE(decoded.ok()) << size;
        const Bytes& out = decoded.value();
        ASSERT_LE(out.size(), data.size());
        ASSERT_TRUE(std::equal(out.begin(), out.end(), data.begin())) << size;
        // Four bytes are the empty data's stream, which is whole.
        const bool whole = size == stream.size() || size == 4;
        EXPECT_EQ(report.complete, whole) << size;
        EXPECT_EQ(report.problem.empty(), whole) << size;
    }
}

TEST(HuffmanCodecTolerance, HeaderClaimingNoDataDecodesToNothing) {
    // A length of 0 means no data, whatever bytes follow; they are not handed back as if decoded.
    Bytes stream = HuffmanCodec::encode(bytesOf("some text here"));
    std::fill(stream.begin() + 5, stream.begin() + 9, 0);
    EXPECT_EQ(decodeOk(stream), Bytes{});
    // A negative length is damage, not an endless output.
    stream[8] = 0x80;
    DecodeReport report;
    auto decoded = HuffmanCodec::decode(stream, report);
    ASSERT_TRUE(decoded.ok());
    EXPECT_TRUE(decoded.value().empty());
    EXPECT_FALSE(report.complete);
}

// A compressed stream with the given (value, code) table and data bits, built by hand.
Bytes craftStream(int32_t length, const std::vector<std::pair<int, std::string>>& codes,
                  const std::string& dataBits) {
    Bytes stream = bytesOf("LM \r");
    stream.push_back(0);
    for (int i = 0; i < 4; ++i) {
        stream.push_back(static_cast<uint8_t>(static_cast<uint32_t>(length) >> (8 * i)));
    }
    stream.push_back(static_cast<uint8_t>(codes.size()));
    stream.push_back(static_cast<uint8_t>(codes.size() >> 8));
    for (const auto& [value, code] : codes) {
        stream.push_back(static_cast<uint8_t>(value));
        stream.push_back(static_cast<uint8_t>(code.size()));
    }
    auto pack = [&stream](const std::string& bits) {
        for (size_t i = 0; i < bits.size(); i += 8) {
            uint8_t byte = 0;
            for (size_t j = 0; j < 8 && i + j < bits.size(); ++j) {
                byte |= static_cast<uint8_t>((bits[i + j] == '1') << j);
            }
            stream.push_back(byte);
        }
    };
    std::string allCodes;
    for (const auto& entry : codes) {
        allCodes += entry.second;
    }
    pack(allCodes);
    pack(dataBits);
    return stream;
}

TEST(HuffmanCodecTolerance, StepToAMissingChildEndsTheOutput) {
    // Only 'a' = 0 exists: the first 1 bit leads nowhere.
    DecodeReport report;
    auto decoded = HuffmanCodec::decode(craftStream(10, {{'a', "0"}}, "00100000"), report);
    ASSERT_TRUE(decoded.ok());
    EXPECT_EQ(decoded.value(), bytesOf("aa"));
    EXPECT_FALSE(report.complete);

    // Codes needing more than 512 tree nodes stop before the tree is overrun.
    const std::string zeros(255, '0');
    const std::string ones(255, '1');
    const std::string mixed = "1" + std::string(254, '0');
    decoded = HuffmanCodec::decode(craftStream(3, {{1, zeros}, {2, ones}, {3, mixed}}, "0"), report);
    ASSERT_TRUE(decoded.ok());
    EXPECT_TRUE(decoded.value().empty());
    EXPECT_FALSE(report.complete);
}

TEST(HuffmanCodecRoundTrip, SeededDataOfManySizesAndAlphabets) {
    std::mt19937 random(2024);
    // The large sizes put the middle of the data bits on and off a code boundary.
    const size_t sizes[] = {1, 2, 3, 7, 64, 255, 1000, 4095, 4096, 4097, 40000, 200000, 200001};
    const int alphabets[] = {1, 2, 3, 17, 100, 256};
    for (size_t size : sizes) {
        for (int alphabet : alphabets) {
            for (bool skewed : {false, true}) {
                const Bytes data = randomData(random, size, alphabet, skewed);
                const Bytes stream = HuffmanCodec::encode(data);
                DecodeReport report;
                auto decoded = HuffmanCodec::decode(stream, report);
                ASSERT_TRUE(decoded.ok());
                ASSERT_EQ(decoded.value(), data) << size << " bytes over " << alphabet << " values";
                EXPECT_TRUE(report.problem.empty()) << report.problem;
            }
        }
    }
}

TEST(HuffmanCodecRoundTrip, LengthArgumentsTakeTheFrontOfTheArray) {
    Bytes bytes = bytesOf("encode only this part|not this");
    HuffmanCodec::encodeByte(bytes, 21);
    const size_t streamSize = bytes.size();
    bytes.insert(bytes.end(), {'x', 'y', 'z'});
    ASSERT_TRUE(HuffmanCodec::decodeByte(bytes, streamSize).ok());
    EXPECT_EQ(bytes, bytesOf("encode only this part"));
}

TEST(HuffmanCodecTableDecoder, EqualsTheTreeWalkOnSoundAndDamagedStreams) {
    std::mt19937 random(7);
    for (int round = 0; round < 60; ++round) {
        const size_t size = std::uniform_int_distribution<size_t>(5000, 60000)(random);
        const int alphabet = std::uniform_int_distribution<int>(2, 256)(random);
        Bytes stream = HuffmanCodec::encode(randomData(random, size, alphabet, round % 2 == 0));
        if (stream[0] != 'L') {
            continue;
        }
        // Damage after the first rounds: flipped bits in the table, code bits or data, or a cut.
        if (round >= 10) {
            const int flips = std::uniform_int_distribution<int>(1, 8)(random);
            for (int i = 0; i < flips; ++i) {
                const size_t at = std::uniform_int_distribution<size_t>(9, stream.size() - 1)(random);
                stream[at] ^= static_cast<uint8_t>(1u << (random() % 8));
            }
            if (round % 3 == 0) {
                stream.resize(std::uniform_int_distribution<size_t>(4, stream.size())(random));
            }
        }
        auto decoded = HuffmanCodec::decode(stream);
        ASSERT_TRUE(decoded.ok());
        ASSERT_EQ(decoded.value(), test::treeWalkDecode(stream)) << "round " << round;
    }
}

TEST(HuffmanCodecTableDecoder, AHeaderLengthShorterThanTheDataStopsThere) {
    std::mt19937 random(21);
    const Bytes data = randomData(random, 150000, 60, true);
    const Bytes stream = HuffmanCodec::encode(data);
    for (const uint32_t length : {1u, 1000u, 74999u, 75000u, 75001u, 149999u}) {
        Bytes shorter = stream;
        for (int i = 0; i < 4; ++i) {
            shorter[5 + i] = static_cast<uint8_t>(length >> (8 * i));
        }
        DecodeReport report;
        auto decoded = HuffmanCodec::decode(shorter, report);
        ASSERT_TRUE(decoded.ok());
        ASSERT_EQ(decoded.value(), Bytes(data.begin(), data.begin() + length)) << length;
        EXPECT_TRUE(report.complete);
    }
}

TEST(HuffmanCodecTableDecoder, EqualsTheTreeWalkOnRandomCodeTables) {
    // Arbitrary code tables make prefix clashes, missing children and codes longer than the table window.
    std::mt19937 random(99);
    for (int round = 0; round < 300; ++round) {
        std::vector<std::pair<int, std::string>> codes;
        const int count = std::uniform_int_distribution<int>(1, 40)(random);
        for (int value = 0; value < 256 && static_cast<int>(codes.size()) < count;
             value += 1 + random() % 9) {
            const int length = std::uniform_int_distribution<int>(1, round % 4 == 0 ? 30 : 9)(random);
            std::string code;
            for (int i = 0; i < length; ++i) {
                code += (random() % 2) ? '1' : '0';
            }
            codes.emplace_back(value, code);
        }
        std::string dataBits;
        const size_t bitCount =
            std::uniform_int_distribution<size_t>(0, round % 5 == 0 ? 600000 : 80000)(random);
        for (size_t i = 0; i < bitCount; ++i) {
            dataBits += (random() % 4 == 0) ? '1' : '0';
        }
        const Bytes stream = craftStream(static_cast<int32_t>(random() % 100000), codes, dataBits);
        auto decoded = HuffmanCodec::decode(stream);
        ASSERT_TRUE(decoded.ok());
        ASSERT_EQ(decoded.value(), test::treeWalkDecode(stream)) << "round " << round;
    }
}

TEST(HuffmanCodecTolerance, SeededRandomStreamsNeverFailPastTheIdentification) {
    std::mt19937 random(314);
    for (int round = 0; round < 3000; ++round) {
        Bytes stream(std::uniform_int_distribution<size_t>(4, 700)(random));
        for (uint8_t& byte : stream) {
            byte = static_cast<uint8_t>(random());
        }
        stream[0] = 'L';
        auto decoded = HuffmanCodec::decode(stream);
        ASSERT_TRUE(decoded.ok());
        ASSERT_EQ(decoded.value(), test::treeWalkDecode(stream));
    }
}

TEST(HuffmanCodecStrings, Windows1252TextRoundTripsThroughAFile) {
    ScratchFolder folder;
    const std::string original = "Caf\xE9 \x80 \x93quoted\x94 na\xEFve \xFF";
    std::string text = original;
    HuffmanCodec::encodeString(text);
    EXPECT_EQ(text.substr(0, 4), "LM \r");

    // A longer earlier file must not leave its tail behind the decoded text.
    const std::string path = folder.write("text.txt", std::string(200, '#'));
    ASSERT_TRUE(HuffmanCodec::decodeString(text, path).ok());
    EXPECT_EQ(text, original);
    EXPECT_EQ(ScratchFolder::read(path), bytesOf(original));
}

TEST(HuffmanCodecFiles, EncodeFileAndAddFilesWriteAtAPositionAndKeepTheRest) {
    ScratchFolder folder;
    const std::string source = folder.write("source.txt", "aaaabbbc");
    const std::string destination = folder.write("archive.dat", std::string(40, '.'));
    ASSERT_TRUE(HuffmanCodec::addFiles(source, destination, 3).ok());
    ASSERT_TRUE(HuffmanCodec::encodeFile(source, destination, 20).ok());
    const Bytes archive = ScratchFolder::read(destination);
    const Bytes stream = HuffmanCodec::encode(bytesOf("aaaabbbc"));
    ASSERT_EQ(archive.size(), 40u);
    EXPECT_EQ(std::string(archive.begin(), archive.begin() + 12), "..aaaabbbc..");
    EXPECT_TRUE(std::equal(stream.begin(), stream.end(), archive.begin() + 19));
    EXPECT_EQ(archive.back(), '.');

    // Past the end the file grows; a missing destination is created.
    ASSERT_TRUE(HuffmanCodec::addFiles(source, destination, 45).ok());
    EXPECT_EQ(ScratchFolder::read(destination).size(), 52u);
    ASSERT_TRUE(HuffmanCodec::addFiles(source, folder.file("new.dat"), 1).ok());
    EXPECT_EQ(ScratchFolder::read(folder.file("new.dat")), bytesOf("aaaabbbc"));
}

TEST(HuffmanCodecFiles, FailuresNameTheProcedure) {
    ScratchFolder folder;
    auto missing = HuffmanCodec::encodeFile(folder.file("absent.txt"), folder.file("out.dat"), 1);
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.error().number, kCodecErrorNumber);
    EXPECT_EQ(missing.error().source, "clsHuffman.EncodeFile()");
    EXPECT_EQ(missing.error().description, "Source file does not exist");
    missing = HuffmanCodec::addFiles(folder.file("absent.txt"), folder.file("out.dat"), 1);
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.error().source, "clsHuffman.AddFiles()");
    EXPECT_FALSE(std::filesystem::exists(folder.file("out.dat")));

    const std::string source = folder.write("source.txt", "x");
    auto badPosition = HuffmanCodec::addFiles(source, folder.file("out.dat"), 0);
    ASSERT_FALSE(badPosition.ok());
    EXPECT_EQ(badPosition.error().number, kBadRecordNumber);

    // A destination in a folder that does not exist is an error, not a silent loss.
    const std::string nowhere = folder.file("no-such-folder/out.dat");
    for (const Result<void>& written :
         {HuffmanCodec::addFiles(source, nowhere, 1), HuffmanCodec::decodeFile(nowhere, bytesOf("HE0\rx")),
          HuffmanCodec::extractFile(nowhere, bytesOf("x"))}) {
        ASSERT_FALSE(written.ok());
        EXPECT_EQ(written.error().number, kPathNotFoundNumber);
        EXPECT_NE(written.error().description.find(nowhere), std::string::npos);
    }
}

TEST(HuffmanCodecFiles, DecodeFileAndExtractFileReplaceTheDestination) {
    ScratchFolder folder;
    const std::string destination = folder.write("out.txt", std::string(500, 'z'));
    ASSERT_TRUE(HuffmanCodec::decodeFile(destination, HuffmanCodec::encode(bytesOf("short"))).ok());
    EXPECT_EQ(ScratchFolder::read(destination), bytesOf("short"));
    ASSERT_TRUE(HuffmanCodec::extractFile(destination, bytesOf("as is")).ok());
    EXPECT_EQ(ScratchFolder::read(destination), bytesOf("as is"));

    // A refused stream writes nothing: the earlier file stays.
    ASSERT_FALSE(HuffmanCodec::decodeFile(destination, bytesOf("HE9\rxxxx")).ok());
    EXPECT_EQ(ScratchFolder::read(destination), bytesOf("as is"));
}

}  // namespace
}  // namespace lumora
