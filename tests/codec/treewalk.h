#pragma once
// An independent, deliberately plain reading of the Huffman stream format for the tests: the bit-by-bit
// tree walk that the codec's table-driven decoder must equal byte for byte, and the code table of a stream.

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <vector>

namespace lumora::test {

// The bytes the tree walk produces from a compressed stream (its identification is not looked at). A
// damaged stream ends the output at the damage; a tree that would need more than 512 nodes gives nothing.
std::vector<uint8_t> treeWalkDecode(std::span<const uint8_t> stream);

// Each byte value's code as a string of '0' and '1', first step first, read from a compressed stream.
std::map<int, std::string> streamCodes(std::span<const uint8_t> stream);

}  // namespace lumora::test
