#include "codec/fileio.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

#include "codec/codecerrors.h"

namespace lumora::fileio {

namespace {

enum class Access { Read, Write };

Error ioError(const std::string& path, const std::string& source, int errorNumber, Access access) {
    if (errorNumber == ENOENT) {
        return access == Access::Read ? makeError(kFileNotFoundNumber, source, "File not found: " + path)
                                      : makeError(kPathNotFoundNumber, source, "Path not found: " + path);
    }
    return makeError(kFileAccessErrorNumber, source,
                     "Path/File access error: " + path + ": " + std::strerror(errorNumber));
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

Result<std::vector<uint8_t>> readWhole(const std::string& path, const std::string& source) {
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        return ioError(path, source, errno, Access::Read);
    }
    std::vector<uint8_t> bytes;
    uint8_t buffer[65536];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
        bytes.insert(bytes.end(), buffer, buffer + got);
    }
    if (std::ferror(file.get())) {
        return ioError(path, source, errno == 0 ? EIO : errno, Access::Read);
    }
    return bytes;
}

Result<void> writeAt(const std::string& path, uint64_t byteOffset, std::span<const uint8_t> bytes,
                     const std::string& source) {
    // "r+b" keeps the file's bytes; it fails on a missing file, which is then created.
    FilePtr file(std::fopen(path.c_str(), "r+b"));
    if (!file && errno == ENOENT) {
        file.reset(std::fopen(path.c_str(), "w+b"));
    }
    if (!file) {
        return ioError(path, source, errno, Access::Write);
    }
    if (byteOffset > static_cast<uint64_t>(INT64_MAX) ||
        fseeko(file.get(), static_cast<off_t>(byteOffset), SEEK_SET) != 0) {
        return ioError(path, source, errno == 0 ? EINVAL : errno, Access::Write);
    }
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
        return ioError(path, source, errno == 0 ? EIO : errno, Access::Write);
    }
    if (std::fclose(file.release()) != 0) {
        return ioError(path, source, errno == 0 ? EIO : errno, Access::Write);
    }
    return {};
}

Result<void> replace(const std::string& path, std::span<const uint8_t> bytes, const std::string& source) {
    std::error_code removeError;
    std::filesystem::remove(path, removeError);
    if (removeError) {
        return ioError(path, source, removeError.value(), Access::Write);
    }
    FilePtr file(std::fopen(path.c_str(), "wb"));
    if (!file) {
        return ioError(path, source, errno, Access::Write);
    }
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
        return ioError(path, source, errno == 0 ? EIO : errno, Access::Write);
    }
    if (std::fclose(file.release()) != 0) {
        return ioError(path, source, errno == 0 ? EIO : errno, Access::Write);
    }
    return {};
}

}  // namespace lumora::fileio
