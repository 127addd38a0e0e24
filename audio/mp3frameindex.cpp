#include "audio/mp3frameindex.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "audio/sounderrors.h"

namespace lumora {

namespace {

constexpr const char* kSource = "Mp3FrameIndex";

struct FrameHeader {
    int version = 0;  // 3 = MPEG 1, 2 = MPEG 2, 0 = MPEG 2.5
    int layer = 0;
    bool crc = false;
    int sampleRateIndex = 0;
    int32_t sampleRateHz = 0;
    int32_t channels = 0;
    int32_t samplesPerFrame = 0;
    size_t sizeBytes = 0;
};

uint32_t bigEndian32(const uint8_t* p) {
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | uint32_t{p[3]};
}

uint32_t littleEndian32(const uint8_t* p) {
    return uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}

// A frame header as the decoder accepts it: sync, a known version and layer, a listed bitrate (free
// format is not played), a listed sample rate.
bool parseHeader(uint32_t h, FrameHeader& out) {
    if ((h & 0xFFE00000u) != 0xFFE00000u) {
        return false;
    }
    const int version = static_cast<int>((h >> 19) & 3);
    const int layerBits = static_cast<int>((h >> 17) & 3);
    const int bitrateIndex = static_cast<int>((h >> 12) & 15);
    const int rateIndex = static_cast<int>((h >> 10) & 3);
    if (version == 1 || layerBits == 0 || bitrateIndex == 0 || bitrateIndex == 15 || rateIndex == 3) {
        return false;
    }
    static constexpr int kBitrates[2][3][15] = {
        {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
         {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
         {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320}},
        {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
         {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
         {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160}}};
    static constexpr int32_t kRates[3] = {44100, 48000, 32000};
    const bool mpeg1 = version == 3;
    const int layer = 4 - layerBits;
    const int64_t bitrate = int64_t{kBitrates[mpeg1 ? 0 : 1][layer - 1][bitrateIndex]} * 1000;
    const int32_t rate = kRates[rateIndex] >> (mpeg1 ? 0 : (version == 2 ? 1 : 2));
    const int64_t padding = (h >> 9) & 1;
    int64_t size = 0;
    int32_t spf = 0;
    if (layer == 1) {
        size = (12 * bitrate / rate + padding) * 4;
        spf = 384;
    } else if (layer == 2 || mpeg1) {
        size = 144 * bitrate / rate + padding;
        spf = 1152;
    } else {
        size = 72 * bitrate / rate + padding;
        spf = 576;
    }
    out.version = version;
    out.layer = layer;
    out.crc = ((h >> 16) & 1) == 0;
    out.sampleRateIndex = rateIndex;
    out.sampleRateHz = rate;
    out.channels = ((h >> 6) & 3) == 3 ? 1 : 2;
    out.samplesPerFrame = spf;
    out.sizeBytes = static_cast<size_t>(size);
    return true;
}

bool sameStream(const FrameHeader& a, const FrameHeader& b) {
    return a.version == b.version && a.layer == b.layer && a.sampleRateIndex == b.sampleRateIndex;
}

// The length of an ID3v2 tag at `p` (header, body and footer), or 0 when there is none.
size_t id3v2Length(const uint8_t* p, size_t available) {
    if (available < 10 || std::memcmp(p, "ID3", 3) != 0 || p[3] == 0xFF || p[4] == 0xFF) {
        return 0;
    }
    size_t body = 0;
    for (int i = 6; i < 10; ++i) {
        if (p[i] & 0x80) {
            return 0;
        }
        body = (body << 7) | p[i];
    }
    const size_t footer = (p[5] & 0x10) ? 10 : 0;
    return std::min(available, 10 + body + footer);
}

// The length of an APE tag that starts with its header at `p`, or 0.
size_t apeHeaderLength(const uint8_t* p, size_t available) {
    if (available < 32 || std::memcmp(p, "APETAGEX", 8) != 0) {
        return 0;
    }
    const uint32_t flags = littleEndian32(p + 20);
    if ((flags & (1u << 29)) == 0) {  // a footer met from the front: only its own 32 bytes
        return 32;
    }
    return std::min<size_t>(available, size_t{32} + littleEndian32(p + 12));
}

// Strips the tags that end a file (ID3v1, APE, Lyrics3, an appended ID3v2 footer), in any order.
size_t stripTrailingTags(const uint8_t* data, size_t end) {
    for (bool stripped = true; stripped;) {
        stripped = false;
        if (end >= 128 && std::memcmp(data + end - 128, "TAG", 3) == 0) {
            end -= 128;
            stripped = true;
        }
        if (end >= 32 && std::memcmp(data + end - 32, "APETAGEX", 8) == 0) {
            const uint64_t size = littleEndian32(data + end - 20);
            const uint64_t header = (littleEndian32(data + end - 12) & (1u << 31)) ? 32 : 0;
            end -= static_cast<size_t>(std::min<uint64_t>(end, std::max<uint64_t>(32, size + header)));
            stripped = true;
        }
        if (end >= 15 && std::memcmp(data + end - 9, "LYRICS200", 9) == 0) {
            size_t size = 0;
            bool digits = true;
            for (size_t i = end - 15; i < end - 9; ++i) {
                digits = digits && data[i] >= '0' && data[i] <= '9';
                size = size * 10 + static_cast<size_t>(data[i] - '0');
            }
            if (digits) {
                end -= std::min(end, size + 15);
                stripped = true;
            }
        }
        if (end >= 10 && std::memcmp(data + end - 10, "3DI", 3) == 0) {
            size_t body = 0;
            bool valid = true;
            for (size_t i = end - 4; i < end; ++i) {
                valid = valid && (data[i] & 0x80) == 0;
                body = (body << 7) | data[i];
            }
            if (valid) {
                end -= std::min(end, body + 20);
                stripped = true;
            }
        }
    }
    return end;
}

// Where a Xing/Info tag would sit in a layer III frame: after the header, the CRC and the side info.
size_t infoTagOffset(const FrameHeader& header) {
    const bool mpeg1 = header.version == 3;
    const size_t sideInfo = header.channels == 1 ? (mpeg1 ? 17 : 9) : (mpeg1 ? 32 : 17);
    return 4 + (header.crc ? 2 : 0) + sideInfo;
}

bool hasInfoTag(const uint8_t* frame, const FrameHeader& header) {
    if (header.layer != 3) {
        return false;
    }
    const size_t offset = infoTagOffset(header);
    return header.sizeBytes >= offset + 8 &&
           (std::memcmp(frame + offset, "Xing", 4) == 0 || std::memcmp(frame + offset, "Info", 4) == 0);
}

}  // namespace

Result<Mp3FrameIndex> Mp3FrameIndex::fromBytes(const uint8_t* data, size_t size) {
    Mp3FrameIndex index;
    index.scan(data, size);
    if (index.m_frameOffsets.empty()) {
        return Error{kSoundUnknownFormat, kSource, soundErrorText(kSoundUnknownFormat)};
    }
    return index;
}

Result<Mp3FrameIndex> Mp3FrameIndex::fromFile(const std::string& path) {
    // Without O_NONBLOCK a pipe of that name would hold the open up until something wrote to it; the check
    // below then refuses whatever is not a regular file (where the flag changes nothing).
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        const int32_t number = errno == ENOENT ? kSoundFileNotFound : kSoundLoadFailed;
        return Error{number, kSource, soundErrorText(number)};
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return Error{kSoundLoadFailed, kSource, soundErrorText(kSoundLoadFailed)};
    }
    const auto size = static_cast<size_t>(info.st_size);
    if (size == 0) {
        ::close(fd);
        return fromBytes(nullptr, 0);
    }
    // Mapped rather than read: the scan touches each page once and the pages stay the file's, so
    // indexing a long recording costs no copy and no lasting memory.
    void* mapped = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    ::close(fd);
    if (mapped == MAP_FAILED) {
        return Error{kSoundLoadFailed, kSource, soundErrorText(kSoundLoadFailed)};
    }
    ::madvise(mapped, size, MADV_SEQUENTIAL);
    Result<Mp3FrameIndex> result = fromBytes(static_cast<const uint8_t*>(mapped), size);
    ::munmap(mapped, size);
    return result;
}

void Mp3FrameIndex::scan(const uint8_t* data, size_t size) {
    const size_t end = size == 0 ? 0 : stripTrailingTags(data, size);
    size_t pos = 0;
    for (size_t tag = 1; tag != 0 && pos < end;) {
        tag = id3v2Length(data + pos, end - pos);
        if (tag == 0) {
            tag = apeHeaderLength(data + pos, end - pos);
        }
        pos += tag;
    }

    FrameHeader locked;
    bool haveLock = false;
    bool sawFirstFrame = false;
    // After junk or a tag, a header is believed only when the next frame's header matches it.
    bool needCheck = true;
    while (pos + 4 <= end) {
        FrameHeader header;
        if (parseHeader(bigEndian32(data + pos), header) && (!haveLock || sameStream(header, locked))) {
            const size_t next = pos + header.sizeBytes;
            bool believed = !needCheck || next == end;
            if (!believed && next + 4 <= end) {
                FrameHeader following;
                believed =
                    (parseHeader(bigEndian32(data + next), following) && sameStream(header, following)) ||
                    id3v2Length(data + next, end - next) != 0 ||
                    apeHeaderLength(data + next, end - next) != 0;
            }
            if (next > end && !needCheck) {
                break;  // the last frame is cut off: the decoder cannot play it either
            }
            if (believed && next <= end) {
                if (!sawFirstFrame) {
                    sawFirstFrame = true;
                    locked = header;
                    haveLock = true;
                    m_sampleRateHz = header.sampleRateHz;
                    m_channels = header.channels;
                    m_samplesPerFrame = header.samplesPerFrame;
                    m_layer = header.layer;
                    if (hasInfoTag(data + pos, header)) {
                        readInfoFrame(data + pos, header.sizeBytes, infoTagOffset(header));
                        pos = next;
                        needCheck = false;
                        continue;
                    }
                } else if (hasInfoTag(data + pos, header)) {
                    m_joined = true;  // a second encoding's Info frame plays as a (silent) frame
                }
                m_frameOffsets.push_back(static_cast<int64_t>(pos));
                m_audioEndOffset = static_cast<int64_t>(next);
                pos = next;
                needCheck = false;
                continue;
            }
        }
        size_t tag = id3v2Length(data + pos, end - pos);
        if (tag == 0) {
            tag = apeHeaderLength(data + pos, end - pos);
        }
        if (tag != 0) {
            if (sawFirstFrame) {
                m_joined = true;
            }
            m_junkBytes += static_cast<int64_t>(tag);
            pos += tag;
        } else {
            ++m_junkBytes;
            ++pos;
        }
        needCheck = true;
    }
    finish();
}

void Mp3FrameIndex::readInfoFrame(const uint8_t* frame, size_t frameSize, size_t tagOffset) {
    size_t at = tagOffset + 4;
    const uint32_t flags = bigEndian32(frame + at);
    at += 4;
    if (flags & 1) {
        if (at + 4 > frameSize) {
            return;
        }
        m_announcedFrames = bigEndian32(frame + at);
        at += 4;
    }
    at += (flags & 2) ? 4 : 0;
    at += (flags & 4) ? 100 : 0;
    at += (flags & 8) ? 4 : 0;
    // The LAME extension: 9 bytes of encoder name, then revision, lowpass, peak, two gains, flags and
    // bitrate (12 bytes), then delay and padding as two 12-bit numbers.
    if (at + 24 > frameSize || frame[at] == 0) {
        return;
    }
    const uint8_t* delayPadding = frame + at + 21;
    m_hasLameTag = true;
    m_encoderDelay = (int32_t{delayPadding[0]} << 4) | (delayPadding[1] >> 4);
    m_encoderPadding = ((int32_t{delayPadding[1]} & 15) << 8) | delayPadding[2];
}

void Mp3FrameIndex::finish() {
    const int64_t frames = frameCount();
    const int64_t raw = frames * m_samplesPerFrame;
    if (m_announcedFrames > 0 && frames > m_announcedFrames) {
        m_joined = true;
    }
    // Trimming needs an Info frame whose count the file holds; a cut-off file plays untrimmed.
    m_gapless = m_layer == 3 && m_announcedFrames > 0 && frames >= m_announcedFrames;
    if (m_gapless) {
        const int64_t part = m_announcedFrames * m_samplesPerFrame;
        const int64_t delay = m_hasLameTag ? m_encoderDelay : 0;
        const int64_t padding = m_hasLameTag ? m_encoderPadding : 0;
        m_skipStart = std::min(raw, kDecoderDelaySamples + delay);
        const int64_t skipEnd = padding - kDecoderDelaySamples;
        const int64_t gaplessEnd = skipEnd < part ? part - skipEnd : part;
        m_cutStart = std::max(m_skipStart, std::min(gaplessEnd, part));
        m_cutEnd = std::max(m_cutStart, part);
    }
    m_lengthSamples = std::max<int64_t>(0, raw - m_skipStart - (m_cutEnd - m_cutStart));
}

int64_t Mp3FrameIndex::lengthMs() const {
    return m_sampleRateHz > 0 ? m_lengthSamples * 1000 / m_sampleRateHz : 0;
}

int64_t Mp3FrameIndex::msToSample(int64_t ms) const {
    if (ms <= 0 || m_sampleRateHz <= 0) {
        return 0;
    }
    return (ms * m_sampleRateHz + 999) / 1000;
}

int64_t Mp3FrameIndex::sampleToMs(int64_t sample) const {
    return m_sampleRateHz > 0 ? sample * 1000 / m_sampleRateHz : 0;
}

int64_t Mp3FrameIndex::rawSampleAt(int64_t sample) const {
    int64_t raw = sample + m_skipStart;
    if (raw >= m_cutStart && m_cutEnd > m_cutStart) {
        raw += m_cutEnd - m_cutStart;
    }
    return raw;
}

int64_t Mp3FrameIndex::frameAtSample(int64_t sample) const {
    if (m_frameOffsets.empty()) {
        return 0;
    }
    const int64_t clamped = std::clamp<int64_t>(sample, 0, std::max<int64_t>(0, m_lengthSamples - 1));
    return std::min(frameCount() - 1, rawSampleAt(clamped) / m_samplesPerFrame);
}

int64_t Mp3FrameIndex::firstSampleOfFrame(int64_t frame) const {
    const int64_t raw = frame * m_samplesPerFrame;
    int64_t sample = raw - m_skipStart;
    if (raw >= m_cutEnd && m_cutEnd > m_cutStart) {
        sample -= m_cutEnd - m_cutStart;
    } else if (raw > m_cutStart && m_cutEnd > m_cutStart) {
        sample = m_cutStart - m_skipStart;  // a frame inside the cut padding starts where the cut does
    }
    return std::clamp<int64_t>(sample, 0, m_lengthSamples);
}

int64_t Mp3FrameIndex::byteOffsetAtSample(int64_t sample) const {
    return m_frameOffsets.empty() ? 0 : frameOffset(frameAtSample(sample));
}

}  // namespace lumora
