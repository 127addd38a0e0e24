#include "audio/joinedframeindex.h"

#include <algorithm>

#include "audio/sounderrors.h"

namespace lumora {

JoinedFrameIndex JoinedFrameIndex::fromFiles(const std::vector<std::string>& paths) {
    JoinedFrameIndex joined;
    joined.m_parts.reserve(paths.size());
    for (const std::string& path : paths) {
        Part part;
        part.path = path;
        if (path.empty()) {
            part.problem = "no file";
            joined.m_parts.push_back(std::move(part));
            continue;
        }
        Result<Mp3FrameIndex> index = Mp3FrameIndex::fromFile(path);
        if (!index) {
            part.state =
                index.error().number == kSoundFileNotFound ? PartState::kMissing : PartState::kDamaged;
            part.problem = index.error().description;
        } else if (joined.m_sampleRateHz != 0 && (index.value().sampleRateHz() != joined.m_sampleRateHz ||
                                                  index.value().channels() != joined.m_channels)) {
            // One stream has one format; a file that differs cannot join it without resampling.
            part.state = PartState::kDamaged;
            part.problem = "its sample rate or channel count differs from the other files'";
        } else {
            part.state = PartState::kPresent;
            part.index = std::move(index.value());
            if (joined.m_sampleRateHz == 0) {
                joined.m_sampleRateHz = part.index.sampleRateHz();
                joined.m_channels = part.index.channels();
            }
        }
        joined.m_parts.push_back(std::move(part));
    }
    joined.place();
    return joined;
}

JoinedFrameIndex JoinedFrameIndex::single(std::string path, Mp3FrameIndex index) {
    JoinedFrameIndex joined;
    Part part;
    part.path = std::move(path);
    part.state = PartState::kPresent;
    joined.m_sampleRateHz = index.sampleRateHz();
    joined.m_channels = index.channels();
    part.index = std::move(index);
    joined.m_parts.push_back(std::move(part));
    joined.place();
    return joined;
}

void JoinedFrameIndex::place() {
    int64_t at = 0;
    m_starts.clear();
    m_starts.reserve(m_parts.size());
    for (Part& part : m_parts) {
        part.firstSample = at;
        part.lengthSamples = part.state == PartState::kPresent ? part.index.lengthSamples() : 0;
        m_starts.push_back(at);
        at += part.lengthSamples;
    }
    m_lengthSamples = at;
}

int64_t JoinedFrameIndex::lengthMs() const {
    return sampleToMs(m_lengthSamples);
}

int64_t JoinedFrameIndex::msToSample(int64_t ms) const {
    if (ms <= 0 || m_sampleRateHz <= 0) {
        return 0;
    }
    const int64_t first = (ms * m_sampleRateHz + 999) / 1000;
    const auto next = std::lower_bound(m_starts.begin(), m_starts.end(), first);
    if (next != m_starts.end() && *next < m_lengthSamples && sampleToMs(*next) == ms) {
        return *next;
    }
    return first;
}

int64_t JoinedFrameIndex::sampleToMs(int64_t sample) const {
    return m_sampleRateHz > 0 ? sample * 1000 / m_sampleRateHz : 0;
}

int64_t JoinedFrameIndex::partAtSample(int64_t sample) const {
    if (m_lengthSamples <= 0) {
        return -1;
    }
    const int64_t clamped = std::clamp<int64_t>(sample, 0, m_lengthSamples - 1);
    // The last part starting at or before the sample; parts without samples starting there too come
    // before it.
    const auto after = std::upper_bound(m_starts.begin(), m_starts.end(), clamped);
    return static_cast<int64_t>(after - m_starts.begin()) - 1;
}

std::vector<JoinedFrameIndex::PartTimes> JoinedFrameIndex::partTimesMs() const {
    std::vector<PartTimes> times;
    times.reserve(m_parts.size());
    for (const Part& part : m_parts) {
        times.push_back({static_cast<int32_t>(sampleToMs(part.firstSample)),
                         static_cast<int32_t>(sampleToMs(part.firstSample + part.lengthSamples))});
    }
    return times;
}

int64_t JoinedFrameIndex::byteOffsetAtSample(int64_t sample) const {
    const int64_t k = partAtSample(sample);
    if (k < 0) {
        return 0;
    }
    const Part& holder = part(k);
    return holder.index.byteOffsetAtSample(std::max<int64_t>(0, sample - holder.firstSample));
}

}  // namespace lumora
