#pragma once
// Whole-file and positioned file access for the codec and the archives, with failures as Lumora errors
// that name the procedure (source) they arose in.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "codec/result.h"

namespace lumora::fileio {

Result<std::vector<uint8_t>> readWhole(const std::string& path, const std::string& source);
// Writes bytes from the 0-based byteOffset on, creating the file if needed, leaving every other byte of it.
Result<void> writeAt(const std::string& path, uint64_t byteOffset, std::span<const uint8_t> bytes,
                     const std::string& source);
// Deletes the file if it exists, then writes bytes as a new file of that name.
Result<void> replace(const std::string& path, std::span<const uint8_t> bytes, const std::string& source);

}  // namespace lumora::fileio
