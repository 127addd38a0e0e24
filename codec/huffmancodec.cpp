#include "codec/huffmancodec.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <filesystem>
#include <limits>

#include "codec/codecerrors.h"
#include "codec/fileio.h"

namespace lumora {

namespace {

constexpr uint8_t kCompressedId[4] = {'L', 'M', ' ', '\r'};
constexpr uint8_t kStoredId[4] = {'H', 'E', '0', '\r'};

constexpr char kDecodeSource[] = "HuffmanDecode()";
constexpr char kChecksumMismatch[] = "The data might be corrupted (checksum did not match expected value)";
constexpr char kUnknownIdentification[] =
    "The data either was not compressed with HE3 or is corrupt (identification string not found)";

// 2 × 256 − 1 nodes make a full tree over every byte value; the decoder's table has room for one more.
constexpr int kNodeCapacity = 512;

// The XOR of all bytes, eight at a time.
uint8_t xorOf(std::span<const uint8_t> bytes) {
    uint64_t wide = 0;
    size_t at = 0;
    for (; at + 8 <= bytes.size(); at += 8) {
        uint64_t word = 0;
        std::memcpy(&word, bytes.data() + at, sizeof word);
        wide ^= word;
    }
    uint8_t result = 0;
    for (int shift = 0; shift < 64; shift += 8) {
        result ^= static_cast<uint8_t>(wide >> shift);
    }
    for (; at < bytes.size(); ++at) {
        result ^= bytes[at];
    }
    return result;
}

// ---------------------------------------------------------------------------------------------------
// Encoding

struct Code {
    uint64_t bits = 0;  // the first step in the lowest bit
    int length = 0;
};

// Packs codes into bytes, least significant bit first, into a buffer sized in advance.
class BitWriter {
public:
    explicit BitWriter(uint8_t* out) : m_out(out) {}

    void put(uint64_t bits, int length) {
        // A code of more than 32 bits goes in two halves so the accumulator never overflows.
        if (length > 32) {
            put(bits & 0xffffffffu, 32);
            put(bits >> 32, length - 32);
            return;
        }
        m_accumulator |= (bits & ((uint64_t{1} << length) - 1)) << m_bitCount;
        m_bitCount += length;
        if (m_bitCount >= 32) {
            for (int i = 0; i < 4; ++i) {
                *m_out++ = static_cast<uint8_t>(m_accumulator >> (8 * i));
            }
            m_accumulator >>= 32;
            m_bitCount -= 32;
        }
    }

    // Writes the partly filled last byte, if any; its unused high bits are 0.
    uint8_t* finish() {
        while (m_bitCount > 0) {
            *m_out++ = static_cast<uint8_t>(m_accumulator);
            m_accumulator >>= 8;
            m_bitCount = std::max(0, m_bitCount - 8);
        }
        return m_out;
    }

private:
    uint8_t* m_out;
    uint64_t m_accumulator = 0;
    int m_bitCount = 0;
};

std::vector<uint8_t> storedStream(std::span<const uint8_t> data) {
    std::vector<uint8_t> stream(sizeof kStoredId + data.size());
    std::memcpy(stream.data(), kStoredId, sizeof kStoredId);
    std::copy(data.begin(), data.end(), stream.begin() + sizeof kStoredId);
    return stream;
}

void putLittleEndian(uint8_t* at, uint32_t value, int byteCount) {
    for (int i = 0; i < byteCount; ++i) {
        at[i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

// The codes of the tree built by the merge rule: each merge takes the two lightest parentless nodes, the
// earlier-made node winning ties, the first pick becoming the left child. Codes are the paths from the
// root, 0 for a step left. With one leaf the only code is empty.
std::array<Code, 256> buildCodes(const std::array<int64_t, 256>& counts) {
    struct Node {
        int parent = -1;
        int left = -1;
        int right = -1;
        int value = -1;
        int64_t weight = 0;
    };
    std::array<Node, kNodeCapacity> nodes{};
    int nodeCount = 0;
    for (int value = 0; value < 256; ++value) {
        if (counts[value] > 0) {
            nodes[nodeCount++] = Node{-1, -1, -1, value, counts[value]};
        }
    }
    const int leafCount = nodeCount;
    for (int merge = 0; merge + 1 < leafCount; ++merge) {
        int a = -1;
        int b = -1;
        for (int i = 0; i < nodeCount; ++i) {
            if (nodes[i].parent != -1) {
                continue;
            }
            if (a < 0) {
                a = i;
                continue;
            }
            if (b < 0) {
                b = i;
                continue;
            }
            // Strict comparisons: among equal weights the node picked first stays picked.
            const int64_t w = nodes[i].weight;
            const int64_t wa = nodes[a].weight;
            const int64_t wb = nodes[b].weight;
            if (w < wa && w < wb) {
                (wa < wb ? b : a) = i;
            } else if (w < wa) {
                a = i;
            } else if (w < wb) {
                b = i;
            }
        }
        nodes[nodeCount] = Node{-1, a, b, -1, nodes[a].weight + nodes[b].weight};
        nodes[a].parent = nodeCount;
        nodes[b].parent = nodeCount;
        ++nodeCount;
    }

    std::array<Code, 256> codes{};
    if (nodeCount == 0) {
        return codes;
    }
    // Depth first from the root, left before right.
    struct Step {
        int node;
        Code path;
    };
    std::vector<Step> pending{{nodeCount - 1, Code{}}};
    while (!pending.empty()) {
        const Step step = pending.back();
        pending.pop_back();
        const Node& node = nodes[step.node];
        if (node.value >= 0) {
            codes[node.value] = step.path;
            continue;
        }
        const int depth = step.path.length;
        pending.push_back({node.right, Code{step.path.bits | (uint64_t{1} << depth), depth + 1}});
        pending.push_back({node.left, Code{step.path.bits, depth + 1}});
    }
    return codes;
}

std::vector<uint8_t> encodeBytes(std::span<const uint8_t> data) {
    const size_t length = data.size();
    if (length == 0) {
        return std::vector<uint8_t>(std::begin(kCompressedId), std::end(kCompressedId));
    }
    // The header's length is a signed 32-bit number; longer data can only be stored.
    if (length > static_cast<size_t>(std::numeric_limits<int32_t>::max())) {
        return storedStream(data);
    }
    std::array<int64_t, 256> counts{};
    for (uint8_t byte : data) {
        ++counts[byte];
    }
    const uint8_t checksum = xorOf(data);
    const std::array<Code, 256> codes = buildCodes(counts);

    int distinct = 0;
    uint64_t codeBitCount = 0;
    uint64_t dataBitCount = 0;
    for (int value = 0; value < 256; ++value) {
        if (counts[value] > 0) {
            ++distinct;
            codeBitCount += static_cast<uint64_t>(codes[value].length);
            dataBitCount += static_cast<uint64_t>(counts[value]) * static_cast<uint64_t>(codes[value].length);
        }
    }
    // Only the data bits count in this test; the header, table and code bits do not.
    const uint64_t payloadBytes = (dataBitCount + 7) / 8;
    if (payloadBytes == 0 || payloadBytes > length) {
        return storedStream(data);
    }

    const size_t tableBytes = 2 * static_cast<size_t>(distinct);
    const size_t codeBytes = static_cast<size_t>((codeBitCount + 7) / 8);
    // Four bytes of slack let the bit writer store whole 32-bit words; they are cut off at the end.
    std::vector<uint8_t> stream(HuffmanCodec::kHeaderSize + tableBytes + codeBytes + payloadBytes + 4);
    std::memcpy(stream.data(), kCompressedId, 4);
    stream[4] = checksum;
    putLittleEndian(&stream[5], static_cast<uint32_t>(length), 4);
    putLittleEndian(&stream[9], static_cast<uint32_t>(distinct), 2);
    uint8_t* table = &stream[HuffmanCodec::kHeaderSize];
    for (int value = 0; value < 256; ++value) {
        if (counts[value] > 0) {
            *table++ = static_cast<uint8_t>(value);
            *table++ = static_cast<uint8_t>(codes[value].length);
        }
    }
    BitWriter codeWriter(table);
    for (int value = 0; value < 256; ++value) {
        if (counts[value] > 0) {
            codeWriter.put(codes[value].bits, codes[value].length);
        }
    }
    BitWriter dataWriter(codeWriter.finish());
    for (uint8_t byte : data) {
        dataWriter.put(codes[byte].bits, codes[byte].length);
    }
    const uint8_t* end = dataWriter.finish();
    stream.resize(static_cast<size_t>(end - stream.data()));
    return stream;
}

// ---------------------------------------------------------------------------------------------------
// Decoding

// The decoding tree: node 0 is the root; a node's value is its byte, or -1 for a node that yields none.
struct DecodeTree {
    std::array<int16_t, kNodeCapacity> left;
    std::array<int16_t, kNodeCapacity> right;
    std::array<int16_t, kNodeCapacity> value;
    int nodeCount = 1;

    DecodeTree() {
        left.fill(-1);
        right.fill(-1);
        value.fill(-1);
    }

    int child(int node, unsigned bit) const { return bit ? right[node] : left[node]; }
};

inline unsigned bitAt(std::span<const uint8_t> bytes, uint64_t bitIndex) {
    return (bytes[bitIndex >> 3] >> (bitIndex & 7)) & 1u;
}

// The window of K bits the table is indexed by; a table entry describes what the tree walk does with
// them starting from the root.
constexpr int kTableBits = 12;
constexpr uint32_t kTableMask = (1u << kTableBits) - 1;
// Below this many data bits building the table costs more than walking the tree bit by bit.
constexpr uint64_t kTableThresholdBits = 1u << 15;
constexpr int kMaxSymbolsPerEntry = 4;

enum class EntryKind : uint8_t {
    Symbols,  // count complete codes, then back at the root
    Fault,    // count complete codes, then a step to a missing child
    Longer,   // no code completes within the window: the walk is at node `symbols` after kTableBits bits
};

// Eight bytes, so the whole table stays in the first-level cache; the bit count comes first because the
// next look-up waits for it.
struct TableEntry {
    uint8_t bitCount = 0;  // bits that the complete codes take
    uint8_t count = 0;
    EntryKind kind = EntryKind::Symbols;
    uint32_t symbols = 0;  // the decoded bytes, the first in the lowest byte
};

// What the walk from the root does with the low bits of a window on its own: yield a byte after length
// bits, step to a missing child with bit length - 1, or (Longer) still be inside the tree after all
// kTableBits bits, at node.
struct FirstStep {
    EntryKind kind = EntryKind::Fault;
    uint8_t length = 0;
    uint8_t value = 0;
    int16_t node = 0;
};

std::vector<FirstStep> firstSteps(const DecodeTree& tree) {
    std::vector<FirstStep> steps(size_t{1} << kTableBits);
    // Every window whose low `depth` bits are `path` takes the same first step.
    auto fill = [&steps](uint32_t path, int depth, FirstStep step) {
        for (uint32_t high = 0; high < (1u << (kTableBits - depth)); ++high) {
            steps[path | (high << depth)] = step;
        }
    };
    struct Pending {
        int node;
        uint32_t path;
        int depth;
    };
    std::vector<Pending> pending{{0, 0, 0}};
    while (!pending.empty()) {
        const Pending at = pending.back();
        pending.pop_back();
        if (at.depth == kTableBits) {
            fill(at.path, at.depth,
                 FirstStep{EntryKind::Longer, kTableBits, 0, static_cast<int16_t>(at.node)});
            continue;
        }
        for (unsigned bit = 0; bit < 2; ++bit) {
            const int child = tree.child(at.node, bit);
            const uint32_t path = at.path | (bit << at.depth);
            const auto length = static_cast<uint8_t>(at.depth + 1);
            if (child < 0) {
                fill(path, at.depth + 1, FirstStep{EntryKind::Fault, length, 0, 0});
            } else if (tree.value[child] >= 0) {
                fill(path, at.depth + 1,
                     FirstStep{EntryKind::Symbols, length, static_cast<uint8_t>(tree.value[child]), 0});
            } else {
                pending.push_back({child, path, at.depth + 1});
            }
        }
    }
    return steps;
}

// Chains first steps: after each byte the rest of the window is looked up again, as long as the step it
// gives is decided by the window's remaining bits alone.
std::vector<TableEntry> buildTable(const DecodeTree& tree) {
    const std::vector<FirstStep> steps = firstSteps(tree);
    std::vector<TableEntry> table(steps.size());
    for (uint32_t window = 0; window <= kTableMask; ++window) {
        TableEntry& entry = table[window];
        int used = 0;
        while (entry.count < kMaxSymbolsPerEntry) {
            const FirstStep& step = steps[window >> used];
            const bool decided = step.kind != EntryKind::Longer && step.length <= kTableBits - used;
            if (decided && step.kind == EntryKind::Symbols) {
                entry.symbols |= static_cast<uint32_t>(step.value) << (8 * entry.count);
                ++entry.count;
                used += step.length;
                continue;
            }
            if (decided) {
                entry.kind = EntryKind::Fault;
            } else if (used == 0) {
                entry.kind = EntryKind::Longer;
                entry.symbols = static_cast<uint32_t>(step.node);
                used = kTableBits;
            }
            break;
        }
        entry.bitCount = static_cast<uint8_t>(used);
    }
    return table;
}

inline uint64_t load64(const uint8_t* at) {
    uint64_t value = 0;
    std::memcpy(&value, at, sizeof value);
    if constexpr (std::endian::native == std::endian::big) {
        value = __builtin_bswap64(value);
    }
    return value;
}

// Walks the data bits from the root, producing up to `wanted` bytes. The walk ends at the end of the
// stream, at a step to a missing child (fault = true) or when `wanted` bytes are out. Large inputs go
// through the table, up to four output bytes per look-up; the tail and codes longer than the window go bit
// by bit, so the bytes produced are exactly those of the plain tree walk.
struct WalkResult {
    std::vector<uint8_t> bytes;
    bool fault = false;
};

// The next bits of the stream in a 64-bit buffer, the next bit lowest. A refill tops it up to at least 56
// bits with one unaligned load (which needs 8 readable bytes at `next`).
class BitBuffer {
public:
    BitBuffer(const uint8_t* bytes, uint64_t bitPos) : m_bytes(bytes), m_next(bytes + (bitPos >> 3)) {
        refill();
        consume(static_cast<int>(bitPos & 7));
    }
    void refill() {
        m_buffer |= load64(m_next) << m_held;
        m_next += (63 - m_held) >> 3;
        m_held |= 56;
    }
    uint64_t peek() const { return m_buffer; }
    void consume(int bitCount) {
        m_buffer >>= bitCount;
        m_held -= bitCount;
    }
    const uint8_t* next() const { return m_next; }
    uint64_t position() const {
        return static_cast<uint64_t>(m_next - m_bytes) * 8 - static_cast<uint64_t>(m_held);
    }

private:
    const uint8_t* m_bytes;
    const uint8_t* m_next;
    uint64_t m_buffer = 0;
    int m_held = 0;
};

WalkResult walkData(const DecodeTree& tree, std::span<const uint8_t> stream, uint64_t dataBitStart,
                    uint64_t wanted) {
    const uint64_t endBit = static_cast<uint64_t>(stream.size()) * 8;
    // Every byte takes at least one bit, which bounds the output whatever the header claims.
    const uint64_t limit = std::min(wanted, endBit - dataBitStart);
    // Room for four look-ups of four bytes each started just below the limit.
    constexpr size_t kSlack = 4 * kMaxSymbolsPerEntry;
    WalkResult result;
    result.bytes.resize(static_cast<size_t>(limit) + kSlack);
    uint8_t* out = result.bytes.data();
    uint64_t produced = 0;
    uint64_t bitPos = dataBitStart;
    int node = 0;

    // Bit by bit from `node` until one byte is produced; false at a fault or at the stream's end.
    auto stepToSymbol = [&]() {
        while (bitPos < endBit) {
            node = tree.child(node, bitAt(stream, bitPos++));
            if (node < 0) {
                result.fault = true;
                return false;
            }
            if (tree.value[node] >= 0) {
                out[produced++] = static_cast<uint8_t>(tree.value[node]);
                node = 0;
                return true;
            }
        }
        return false;
    };

    bool done = false;
    if (endBit - dataBitStart >= kTableThresholdBits) {
        const std::vector<TableEntry> table = buildTable(tree);
        // The last place a 64-bit load fits; the stream is far longer than 8 bytes here.
        const uint8_t* const lastLoad = stream.data() + stream.size() - 8;
        while (!done && produced < limit && stream.data() + (bitPos >> 3) <= lastLoad) {
            BitBuffer bits(stream.data(), bitPos);
            bool restart = false;
            while (!done && !restart && produced < limit && bits.next() <= lastLoad) {
                bits.refill();
                // At least 56 bits are held: four look-ups take at most 48.
                for (int i = 0; i < 4; ++i) {
                    const TableEntry& entry = table[bits.peek() & kTableMask];
                    if (entry.kind == EntryKind::Symbols) {
                        std::memcpy(out + produced, &entry.symbols, sizeof entry.symbols);
                        produced += entry.count;
                        bits.consume(entry.bitCount);
                        continue;
                    }
                    if (produced >= limit) {
                        done = true;
                    } else if (entry.kind == EntryKind::Fault) {
                        std::memcpy(out + produced, &entry.symbols, sizeof entry.symbols);
                        produced += entry.count;
                        // The fault lies past the bytes still wanted when those ran out first.
                        result.fault = produced < limit;
                        done = true;
                    } else {
                        // A code longer than the window: on bit by bit, then back to the table.
                        bitPos = bits.position() + kTableBits;
                        node = static_cast<int>(entry.symbols);
                        done = !stepToSymbol();
                        restart = true;
                    }
                    break;
                }
            }
            if (!restart) {
                bitPos = bits.position();
                break;
            }
        }
    }
    while (!done && produced < limit && !result.fault && stepToSymbol()) {
    }
    result.bytes.resize(static_cast<size_t>(std::min(produced, limit)));
    return result;
}

uint32_t readLittleEndian(std::span<const uint8_t> bytes, size_t at, int byteCount) {
    uint32_t value = 0;
    for (int i = 0; i < byteCount; ++i) {
        value |= static_cast<uint32_t>(bytes[at + i]) << (8 * i);
    }
    return value;
}

// The tolerant part of decoding: everything after the identification of a compressed stream.
std::vector<uint8_t> decodeCompressed(std::span<const uint8_t> stream, DecodeReport& report) {
    auto damaged = [&](std::string problem) {
        report.complete = false;
        report.problem = std::move(problem);
        return std::vector<uint8_t>{};
    };
    const size_t size = stream.size();
    // The empty data's stream is its identification alone.
    if (size == HuffmanCodec::kIdentificationSize) {
        return {};
    }
    if (size < 9) {
        return damaged("the stream is shorter than its header");
    }
    const uint8_t checksum = stream[4];
    const auto length = static_cast<int32_t>(readLittleEndian(stream, 5, 4));
    if (length == 0) {
        return {};
    }
    if (length < 0) {
        return damaged("the stream gives a negative data length");
    }
    if (size < HuffmanCodec::kHeaderSize) {
        return damaged("the stream is shorter than its header");
    }
    const auto tableCount = static_cast<int16_t>(readLittleEndian(stream, 9, 2));
    const size_t tableEnd =
        HuffmanCodec::kHeaderSize + 2 * static_cast<size_t>(std::max<int16_t>(tableCount, 0));
    if (tableEnd > size) {
        return damaged("the stream ends inside its code table");
    }
    std::array<int, 256> codeLengths{};
    for (size_t at = HuffmanCodec::kHeaderSize; at < tableEnd; at += 2) {
        codeLengths[stream[at]] = stream[at + 1];
    }

    // The codes follow in ascending order of byte value; each is inserted into the tree as it is read.
    DecodeTree tree;
    uint64_t bitPos = static_cast<uint64_t>(tableEnd) * 8;
    const uint64_t endBit = static_cast<uint64_t>(size) * 8;
    for (int value = 0; value < 256; ++value) {
        const int codeLength = codeLengths[value];
        if (codeLength == 0) {
            continue;
        }
        if (endBit - bitPos < static_cast<uint64_t>(codeLength)) {
            return damaged("the stream ends inside its code bits");
        }
        int node = 0;
        for (int i = 0; i < codeLength; ++i) {
            const unsigned bit = bitAt(stream, bitPos++);
            int16_t& child = bit ? tree.right[node] : tree.left[node];
            if (child < 0) {
                if (tree.nodeCount == kNodeCapacity) {
                    return damaged("the stream's codes need more tree nodes than any code table can");
                }
                child = static_cast<int16_t>(tree.nodeCount++);
            }
            node = child;
        }
        tree.value[node] = static_cast<int16_t>(value);
    }
    const uint64_t dataBitStart = (bitPos + 7) / 8 * 8;

    WalkResult walk = walkData(tree, stream, std::min(dataBitStart, endBit), static_cast<uint64_t>(length));
    if (walk.fault) {
        report.complete = false;
        report.problem = "the stream's bits lead to a code that does not exist after " +
                         std::to_string(walk.bytes.size()) + " of " + std::to_string(length) + " bytes";
    } else if (walk.bytes.size() < static_cast<size_t>(length)) {
        report.complete = false;
        report.problem = "the stream ends after " + std::to_string(walk.bytes.size()) + " of " +
                         std::to_string(length) + " bytes";
    }
    if (xorOf(walk.bytes) != checksum) {
        report.checksumMatches = false;
        if (report.problem.empty()) {
            report.problem = kChecksumMismatch;
        }
    }
    return std::move(walk.bytes);
}

}  // namespace

void HuffmanCodec::encodeByte(std::vector<uint8_t>& bytes, size_t length) {
    bytes = encodeBytes(std::span<const uint8_t>(bytes).first(std::min(length, bytes.size())));
}

Result<void> HuffmanCodec::decodeByte(std::vector<uint8_t>& bytes, size_t length) {
    DecodeReport report;
    Result<std::vector<uint8_t>> decoded =
        decode(std::span<const uint8_t>(bytes).first(std::min(length, bytes.size())), report);
    if (!decoded) {
        return decoded.error();
    }
    bytes = std::move(decoded).value();
    return {};
}

std::vector<uint8_t> HuffmanCodec::encode(std::span<const uint8_t> data) {
    return encodeBytes(data);
}

Result<std::vector<uint8_t>> HuffmanCodec::decode(std::span<const uint8_t> stream) {
    DecodeReport report;
    return decode(stream, report);
}

Result<std::vector<uint8_t>> HuffmanCodec::decode(std::span<const uint8_t> stream, DecodeReport& report) {
    report = DecodeReport{};
    if (stream.size() < kIdentificationSize) {
        return makeError(kSubscriptOutOfRangeNumber, kDecodeSource, "Subscript out of range");
    }
    if (stream[0] == 'H' && stream[1] == 'E' && stream[3] == '\r') {
        if (stream[2] == '0') {
            return std::vector<uint8_t>(stream.begin() + kIdentificationSize, stream.end());
        }
        if (stream[2] != '3') {
            return makeError(kCodecErrorNumber, kDecodeSource, kUnknownIdentification);
        }
    }
    // Any other identification is read as a compressed stream.
    return decodeCompressed(stream, report);
}

void HuffmanCodec::encodeString(std::string& text) {
    const std::vector<uint8_t> stream =
        encodeBytes(std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
    text.assign(stream.begin(), stream.end());
}

Result<void> HuffmanCodec::decodeString(std::string& text, const std::string& destinationPath) {
    Result<std::vector<uint8_t>> decoded =
        decode(std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
    if (!decoded) {
        return decoded.error();
    }
    text.assign(decoded.value().begin(), decoded.value().end());
    // The file is replaced, so no tail of a longer earlier file can outlive the decoded text.
    return fileio::replace(destinationPath, decoded.value(), "clsHuffman.DecodeString()");
}

namespace {

Result<void> writeSourceAt(const std::string& sourcePath, const std::string& destinationPath,
                           int64_t position, bool encode, const char* source) {
    std::error_code ignored;
    if (!std::filesystem::is_regular_file(sourcePath, ignored)) {
        return makeError(kCodecErrorNumber, source, "Source file does not exist");
    }
    if (position < 1) {
        return makeError(kBadRecordNumber, source, "Bad record number");
    }
    Result<std::vector<uint8_t>> bytes = fileio::readWhole(sourcePath, source);
    if (!bytes) {
        return bytes.error();
    }
    const std::vector<uint8_t> written = encode ? encodeBytes(bytes.value()) : std::move(bytes).value();
    return fileio::writeAt(destinationPath, static_cast<uint64_t>(position - 1), written, source);
}

}  // namespace

Result<void> HuffmanCodec::encodeFile(const std::string& sourcePath, const std::string& destinationPath,
                                      int64_t position) {
    return writeSourceAt(sourcePath, destinationPath, position, true, "clsHuffman.EncodeFile()");
}

Result<void> HuffmanCodec::addFiles(const std::string& sourcePath, const std::string& destinationPath,
                                    int64_t position) {
    return writeSourceAt(sourcePath, destinationPath, position, false, "clsHuffman.AddFiles()");
}

Result<void> HuffmanCodec::decodeFile(const std::string& destinationPath, std::span<const uint8_t> stream) {
    Result<std::vector<uint8_t>> decoded = decode(stream);
    if (!decoded) {
        return decoded.error();
    }
    return fileio::replace(destinationPath, decoded.value(), "clsHuffman.DecodeFile()");
}

Result<void> HuffmanCodec::extractFile(const std::string& destinationPath, std::span<const uint8_t> bytes) {
    return fileio::replace(destinationPath, bytes, "clsHuffman.ExtractFile()");
}

}  // namespace lumora
