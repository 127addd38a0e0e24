#include "codec/treewalk.h"

#include <algorithm>

namespace lumora::test {

namespace {

struct BitCursor {
    std::span<const uint8_t> bytes;
    size_t bit = 0;
    bool atEnd() const { return bit >= bytes.size() * 8; }
    int next() {
        const int value = (bytes[bit / 8] >> (bit % 8)) & 1;
        ++bit;
        return value;
    }
};

struct CodeTable {
    int lengths[256] = {};
    std::vector<int> bits[256];
    size_t dataStart = 0;  // byte offset
    bool ok = false;
};

CodeTable readCodes(std::span<const uint8_t> s) {
    CodeTable table;
    if (s.size() < 11) {
        return table;
    }
    const int n = static_cast<int16_t>(s[9] | (s[10] << 8));
    const size_t tableEnd = 11 + 2 * static_cast<size_t>(std::max(n, 0));
    if (tableEnd > s.size()) {
        return table;
    }
    for (size_t at = 11; at < tableEnd; at += 2) {
        table.lengths[s[at]] = s[at + 1];
    }
    BitCursor cursor{s, tableEnd * 8};
    for (int value = 0; value < 256; ++value) {
        for (int i = 0; i < table.lengths[value]; ++i) {
            if (cursor.atEnd()) {
                return table;
            }
            table.bits[value].push_back(cursor.next());
        }
    }
    table.dataStart = (cursor.bit + 7) / 8;
    table.ok = true;
    return table;
}

}  // namespace

std::vector<uint8_t> treeWalkDecode(std::span<const uint8_t> s) {
    if (s.size() < 9) {
        return {};
    }
    const int32_t length = static_cast<int32_t>(s[5] | (s[6] << 8) | (s[7] << 16) | (uint32_t{s[8]} << 24));
    const CodeTable table = readCodes(s);
    if (length <= 0 || !table.ok) {
        return {};
    }
    struct Node {
        int left = -1;
        int right = -1;
        int value = -1;
    };
    std::vector<Node> nodes(1);
    for (int value = 0; value < 256; ++value) {
        if (table.lengths[value] == 0) {
            continue;
        }
        int node = 0;
        for (int bit : table.bits[value]) {
            int next = bit ? nodes[node].right : nodes[node].left;
            if (next < 0) {
                if (nodes.size() == 512) {
                    return {};
                }
                next = static_cast<int>(nodes.size());
                nodes.push_back(Node{});
                (bit ? nodes[node].right : nodes[node].left) = next;
            }
            node = next;
        }
        nodes[node].value = value;
    }
    std::vector<uint8_t> out;
    BitCursor cursor{s, table.dataStart * 8};
    int node = 0;
    while (!cursor.atEnd() && out.size() < static_cast<size_t>(length)) {
        node = cursor.next() ? nodes[node].right : nodes[node].left;
        if (node < 0) {
            break;
        }
        if (nodes[node].value >= 0) {
            out.push_back(static_cast<uint8_t>(nodes[node].value));
            node = 0;
        }
    }
    return out;
}

std::map<int, std::string> streamCodes(std::span<const uint8_t> stream) {
    const CodeTable table = readCodes(stream);
    std::map<int, std::string> codes;
    for (int value = 0; value < 256; ++value) {
        if (table.lengths[value] > 0) {
            std::string code;
            for (int bit : table.bits[value]) {
                code += bit ? '1' : '0';
            }
            codes[value] = code;
        }
    }
    return codes;
}

}  // namespace lumora::test
