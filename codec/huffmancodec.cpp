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

// The table is indexed by the next kTableBits bits of the data. Its entry tells what the tree walk from the
// root does with them: the bytes of the codes that complete within the window (up to six) and the bits they
// take. A window in which no code completes, because its first code is longer than the window or leads to a
// missing child, has the empty entry: it consumes nothing, and the walk goes on bit by bit from there.
constexpr int kTableBits = 11;
constexpr uint32_t kTableMask = (1u << kTableBits) - 1;
// A refill leaves at least 56 bits in the buffer, enough for five full windows.
constexpr int kLookupsPerRefill = 56 / kTableBits;
// Below this many data bits building the table costs more than walking the tree bit by bit, and below
// the second a second walk costs more than it saves. The fuzz build lowers both so that short inputs reach
// every path.
#ifdef LUMORA_FUZZ_THRESHOLDS
constexpr uint64_t kTableThresholdBits = 1u << 9;
constexpr uint64_t kTwoWalkThresholdBits = 1u << 10;
#else
constexpr uint64_t kTableThresholdBits = 1u << 15;
constexpr uint64_t kTwoWalkThresholdBits = 1u << 17;
#endif
constexpr int kMaxSymbolsPerEntry = 6;

// One 64-bit word, so the next look-up waits only for a load and a shift: bits 0-7 the bits consumed,
// bits 8-15 the number of bytes, bits 16-63 the bytes, the first lowest.
using TableEntry = uint64_t;

// What the walk from the root does with the low bits of a window on its own: yield `value` after `length`
// bits; or (value -1) reach no byte within `length` bits, at a missing child or at the window's end.
struct FirstStep {
    int value = -1;
    int length = 0;
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
            fill(at.path, at.depth, FirstStep{-1, kTableBits});
            continue;
        }
        for (unsigned bit = 0; bit < 2; ++bit) {
            const int child = tree.child(at.node, bit);
            const uint32_t path = at.path | (bit << at.depth);
            if (child < 0 || tree.value[child] >= 0) {
                fill(path, at.depth + 1, FirstStep{child < 0 ? -1 : tree.value[child], at.depth + 1});
            } else {
                pending.push_back({child, path, at.depth + 1});
            }
        }
    }
    return steps;
}

// Chains first steps: after each byte the rest of the window is looked up again, as long as the byte it
// gives is decided by the window's remaining bits alone.
std::vector<TableEntry> buildTable(const DecodeTree& tree) {
    const std::vector<FirstStep> steps = firstSteps(tree);
    std::vector<TableEntry> table(steps.size());
    for (uint32_t window = 0; window <= kTableMask; ++window) {
        uint64_t symbols = 0;
        int count = 0;
        int used = 0;
        while (count < kMaxSymbolsPerEntry) {
            const FirstStep& step = steps[window >> used];
            if (step.value < 0 || step.length > kTableBits - used) {
                break;
            }
            symbols |= static_cast<uint64_t>(step.value) << (8 * count);
            ++count;
            used += step.length;
        }
        table[window] = static_cast<uint64_t>(used) | (static_cast<uint64_t>(count) << 8) | (symbols << 16);
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

// Writes the eight bytes of value, the lowest first.
inline void store64(uint8_t* at, uint64_t value) {
    if constexpr (std::endian::native == std::endian::big) {
        value = __builtin_bswap64(value);
    }
    std::memcpy(at, &value, sizeof value);
}

// The next bits of the stream in a 64-bit buffer, the next bit lowest. A refill tops it up to at least 56
// bits with one unaligned load (which needs 8 readable bytes at `next`).
class BitBuffer {
public:
    BitBuffer() = default;
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
    const uint8_t* m_bytes = nullptr;
    const uint8_t* m_next = nullptr;
    uint64_t m_buffer = 0;
    int m_held = 0;
};

// What a walk over the data bits produced, and whether it ended at a step to a missing child.
struct WalkResult {
    std::vector<uint8_t> bytes;
    bool fault = false;
};

// Everything a walk over the data bits reads: the tree, the stream and, for large inputs, the table.
struct WalkInput {
    const DecodeTree& tree;
    std::span<const uint8_t> stream;
    std::vector<TableEntry> table;
    const uint8_t* lastLoad = nullptr;  // the last place a 64-bit load fits

    uint64_t endBit() const { return static_cast<uint64_t>(stream.size()) * 8; }
    bool canLoadAt(uint64_t bitPos) const { return stream.data() + (bitPos >> 3) <= lastLoad; }
};

enum class Stop { Running, Fault, End, Limit, NoLoad };

// One code walked bit by bit from the root; Running when it produced a byte.
Stop stepOne(const WalkInput& input, uint64_t& bitPos, uint8_t* out, uint64_t& produced) {
    const uint64_t endBit = input.endBit();
    int node = 0;
    while (bitPos < endBit) {
        node = input.tree.child(node, bitAt(input.stream, bitPos++));
        if (node < 0) {
            return Stop::Fault;
        }
        if (input.tree.value[node] >= 0) {
            out[produced++] = static_cast<uint8_t>(input.tree.value[node]);
            return Stop::Running;
        }
    }
    return Stop::End;
}

// A walk through the table from a code boundary, one group of look-ups per advance(). A window the table
// cannot decide is walked bit by bit. The walk stops at a fault, at the end of the stream, once `limit`
// bytes are written (the buffer needs kWalkSlack bytes beyond), or where a 64-bit load no longer fits.
// Between advances it stands on a code boundary.
constexpr size_t kWalkSlack = (kLookupsPerRefill - 1) * kMaxSymbolsPerEntry + 8;

class TableWalk {
public:
    TableWalk(const WalkInput& input, uint64_t bitPos, uint8_t* out, uint64_t produced, uint64_t limit)
        : m_input(&input),
          m_table(input.table.data()),
          m_lastLoad(input.lastLoad),
          m_out(out),
          m_limit(limit) {
        restartAt(bitPos, produced);
    }

    bool running() const { return m_stop == Stop::Running; }
    Stop stop() const { return m_stop; }
    uint64_t position() const { return running() ? m_bits.position() : m_bitPos; }
    uint64_t produced() const { return m_produced; }

    void restartAt(uint64_t bitPos, uint64_t produced) {
        m_bitPos = bitPos;
        m_produced = produced;
        m_stop = produced >= m_limit          ? Stop::Limit
                 : m_input->canLoadAt(bitPos) ? Stop::Running
                                              : Stop::NoLoad;
        if (running()) {
            m_bits = BitBuffer(m_input->stream.data(), bitPos);
            // The first refill of advance() loads at next().
            if (m_bits.next() > m_lastLoad) {
                m_stop = Stop::NoLoad;
            }
        }
    }

    // One refill and its look-ups, then the checks.
    void advance() {
        m_bits.refill();
        TableEntry entry = 0;
#pragma GCC unroll 8
        for (int i = 0; i < kLookupsPerRefill; ++i) {
            entry = m_table[m_bits.peek() & kTableMask];
            store64(m_out + m_produced, entry >> 16);
            m_produced += (entry >> 8) & 0xFF;
            m_bits.consume(static_cast<int>(entry & 0xFF));
        }
        // An empty entry stops the group where it stands, so only the last one needs a look.
        if ((entry & 0xFF) == 0 && m_produced < m_limit) {
            uint64_t bitPos = m_bits.position();
            const Stop step = stepOne(*m_input, bitPos, m_out, m_produced);
            if (step != Stop::Running) {
                m_bitPos = bitPos;
                m_stop = step;
                return;
            }
            restartAt(bitPos, m_produced);
            return;
        }
        if (m_produced >= m_limit || m_bits.next() > m_lastLoad) {
            m_bitPos = m_bits.position();
            m_stop = m_produced >= m_limit ? Stop::Limit : Stop::NoLoad;
        }
    }

    // From the current code boundary, code by code up to `target`; true when a code ends exactly there.
    // The walk then stands on the first boundary at or past `target`, or has stopped.
    bool walkCodesTo(uint64_t target) {
        uint64_t bitPos = position();
        uint64_t produced = m_produced;
        while (bitPos < target && produced < m_limit) {
            const Stop step = stepOne(*m_input, bitPos, m_out, produced);
            if (step != Stop::Running) {
                m_bitPos = bitPos;
                m_produced = produced;
                m_stop = step;
                return false;
            }
        }
        restartAt(bitPos, produced);
        return running() && bitPos == target;
    }

    // Appends bytes that another walk decoded from the current position on, and goes on from where that
    // walk stood (or stops as it stopped).
    void takeOver(const uint8_t* bytes, uint64_t count, uint64_t bitPos, Stop stop) {
        count = std::min(count, m_limit - m_produced);
        std::memcpy(m_out + m_produced, bytes, static_cast<size_t>(count));
        m_produced += count;
        if (stop == Stop::Fault || stop == Stop::End) {
            m_bitPos = bitPos;
            m_stop = m_produced >= m_limit ? Stop::Limit : stop;
        } else {
            restartAt(bitPos, m_produced);
        }
    }

private:
    const WalkInput* m_input;
    // Copies of the input's, which the compiler can keep in registers (the byte stores could alias them).
    const TableEntry* m_table;
    const uint8_t* m_lastLoad;
    BitBuffer m_bits;
    uint8_t* m_out;
    uint64_t m_limit;
    uint64_t m_bitPos = 0;  // where the walk stopped
    uint64_t m_produced = 0;
    Stop m_stop = Stop::Running;
};

// Runs a second walk from `middle` side by side with `first` until `first` reaches the middle. (The walks
// are passed by value so that their state can live in registers.) Then `first` goes on alone until a group
// of it starts at, or passes over, a position where the second walk began one of its first groups. If a
// code of `first` ends there, the second walk is on true boundaries from that point and `first` takes over
// its bytes. Codes fall back into step long before the recorded starts run out; if they do not, `first`
// simply carries on alone.
TableWalk runWithSecondWalk(const WalkInput& input, TableWalk first, uint64_t middle, uint64_t limit) {
    struct GroupStart {
        uint64_t bitPos;
        uint64_t produced;
    };
    constexpr size_t kRecordedStarts = 64;
    std::array<GroupStart, kRecordedStarts> starts;
    size_t startCount = 0;
    // The second walk writes into a buffer of its own. Should it fill it, `first` continues from there.
    const uint64_t secondLimit = std::min(limit, input.endBit() - middle);
    std::unique_ptr<uint8_t[]> secondBytes(new uint8_t[static_cast<size_t>(secondLimit) + kWalkSlack]);
    TableWalk second(input, middle, secondBytes.get(), 0, secondLimit);
    while (second.running() && first.running() && first.position() < middle) {
        if (startCount < kRecordedStarts) {
            starts[startCount++] = {second.position(), second.produced()};
        }
        first.advance();
        second.advance();
    }
    while (second.running()) {
        if (startCount < kRecordedStarts) {
            starts[startCount++] = {second.position(), second.produced()};
        }
        second.advance();
    }

    size_t next = 0;
    while (first.running()) {
        const uint64_t groupStart = first.position();
        while (next < startCount && starts[next].bitPos < groupStart) {
            ++next;
        }
        if (next == startCount) {
            break;
        }
        const uint64_t meeting = starts[next].bitPos;
        bool met = meeting == groupStart;
        if (!met) {
            const uint64_t producedBefore = first.produced();
            first.advance();
            if (!first.running() || meeting >= first.position()) {
                continue;
            }
            // The group passed over the second walk's group start: walk up to it code by code.
            first.restartAt(groupStart, producedBefore);
            met = first.walkCodesTo(meeting);
        }
        if (met) {
            first.takeOver(secondBytes.get() + starts[next].produced,
                           second.produced() - starts[next].produced, second.position(), second.stop());
            break;
        }
    }
    return first;
}

// Walks the data bits from the root, producing up to `wanted` bytes. The walk ends at the end of the
// stream, at a step to a missing child (fault = true) or when `wanted` bytes are out.
//
// Large inputs go through the table; the stream's last bytes go bit by bit, so the bytes produced are
// exactly those of the plain tree walk. The largest inputs are walked by two walks at once, which the
// processor overlaps: one from the start of the data bits, one from their middle. The middle is rarely a
// code boundary, but codes fall back into step within a few bytes. When the first walk, which is always on
// true boundaries, passes a position where the second began a group, the second walk's bytes from there
// on are the true ones and are taken over.
WalkResult walkData(const DecodeTree& tree, std::span<const uint8_t> stream, uint64_t dataBitStart,
                    uint64_t wanted) {
    WalkInput input{tree, stream, {}, nullptr};
    const uint64_t endBit = input.endBit();
    // Every byte takes at least one bit, which bounds the output whatever the header claims.
    const uint64_t limit = std::min(wanted, endBit - dataBitStart);
    std::vector<uint8_t> bytes(static_cast<size_t>(limit) + kWalkSlack);
    uint64_t bitPos = dataBitStart;
    uint64_t produced = 0;
    Stop stop = Stop::NoLoad;

    if (endBit - dataBitStart >= kTableThresholdBits) {
        input.table = buildTable(tree);
        input.lastLoad = stream.data() + stream.size() - 8;  // the stream is far longer than 8 bytes here
        TableWalk first(input, bitPos, bytes.data(), 0, limit);
        if (endBit - dataBitStart >= kTwoWalkThresholdBits) {
            first = runWithSecondWalk(input, first, dataBitStart + (endBit - dataBitStart) / 2, limit);
        }
        while (first.running()) {
            first.advance();
        }
        bitPos = first.position();
        produced = first.produced();
        stop = first.stop();
    }
    // The last bits, one code at a time.
    while (stop == Stop::NoLoad && produced < limit) {
        const Stop step = stepOne(input, bitPos, bytes.data(), produced);
        if (step != Stop::Running) {
            stop = step;
        }
    }
    bytes.resize(static_cast<size_t>(std::min(produced, limit)));
    return WalkResult{std::move(bytes), stop == Stop::Fault && produced < limit};
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
