#pragma once
// HuffmanCodec: Lumora's static two-pass Huffman coder and its self-describing stream format, in which
// every text, translation and help page of the data folder is kept.
//
// A stream is either compressed: "LM \r", the XOR checksum of the data, its length (int32), the number N of
// distinct byte values (int16), N pairs (byte value, code length) in ascending value order, the codes'
// bits, then the data's bits; or stored: "HE0\r" and the data unchanged. Integers are little-endian and
// bits are packed from the least significant bit up; the data bits start on the byte after the code bits.
// The encoder writes a stored stream when the coded data would take no bytes or more bytes than the input.
//
// Decoding is tolerant past the identification: a damaged compressed stream yields the bytes decoded up to
// the damage, never an error and never a read outside the stream.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "codec/result.h"

namespace lumora {

// What a decode found wrong in a stream it read tolerantly. A clean stream leaves complete and
// checksumMatches true and problem empty.
struct DecodeReport {
    bool complete = true;         // every byte the header promises was produced
    bool checksumMatches = true;  // the produced bytes XOR to the stored checksum
    std::string problem;          // the first fault found, in words; empty when none
};

class HuffmanCodec {
public:
    static constexpr size_t kIdentificationSize = 4;
    static constexpr size_t kHeaderSize = 11;  // identification, checksum, length, N

    // Replaces bytes by the stream that encodes its first length bytes (all of them if length is larger).
    static void encodeByte(std::vector<uint8_t>& bytes, size_t length);
    // Replaces bytes by the data decoded from its first length bytes (all of them if length is larger).
    // Fails, leaving bytes as they were, on a stream shorter than its identification or an "HE"
    // identification of an unknown kind.
    static Result<void> decodeByte(std::vector<uint8_t>& bytes, size_t length);

    static std::vector<uint8_t> encode(std::span<const uint8_t> data);
    static Result<std::vector<uint8_t>> decode(std::span<const uint8_t> stream);
    // The same decode, telling what was wrong with a stream that decoded only in part.
    static Result<std::vector<uint8_t>> decode(std::span<const uint8_t> stream, DecodeReport& report);

    // The string forms work on Windows-1252 text held one character per byte: the text is replaced by its
    // stream, or by the data decoded from it.
    static void encodeString(std::string& text);
    // Decodes the text in place and writes it to destinationPath, replacing that file.
    static Result<void> decodeString(std::string& text, const std::string& destinationPath);

    // Reads sourcePath whole, encodes it and writes the stream into destinationPath from the 1-based byte
    // position on; the rest of the destination (before and after) stays as it was, and a missing
    // destination is created. This is how an archive is built one entry at a time.
    static Result<void> encodeFile(const std::string& sourcePath, const std::string& destinationPath,
                                   int64_t position);
    // encodeFile without the encoding: the source bytes are written as they are.
    static Result<void> addFiles(const std::string& sourcePath, const std::string& destinationPath,
                                 int64_t position);
    // Decodes the stream and replaces destinationPath by the decoded bytes. Nothing is written when the
    // stream's identification is refused.
    static Result<void> decodeFile(const std::string& destinationPath, std::span<const uint8_t> stream);
    // Replaces destinationPath by the bytes as they are.
    static Result<void> extractFile(const std::string& destinationPath, std::span<const uint8_t> bytes);
};

}  // namespace lumora
