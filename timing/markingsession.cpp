#include "timing/markingsession.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace lumora {

MarkingSession::MarkingSession(std::vector<VerseTiming> records, int firstRecord, std::vector<int32_t> snapPointsMs,
                               int64_t recordingLengthMs)
    : m_records(std::move(records)),
      m_firstRecord(std::clamp(firstRecord, 0, static_cast<int>(m_records.size()))),
      m_snapPointsMs(std::move(snapPointsMs)),
      m_lengthMs(std::clamp<int64_t>(recordingLengthMs, 0, INT32_MAX)) {}

int MarkingSession::nextRecord() const {
    return m_firstRecord + markCount();
}

std::optional<int32_t> MarkingSession::lastMarkMs() const {
    if (m_marks.empty()) return std::nullopt;
    return m_marks.back();
}

int32_t MarkingSession::snapped(int64_t positionMs) const {
    const auto position = static_cast<int32_t>(std::clamp<int64_t>(positionMs, 0, m_lengthMs));
    const auto after = std::lower_bound(m_snapPointsMs.begin(), m_snapPointsMs.end(), position);
    int32_t best = position;
    int32_t bestDistance = kSnapMs + 1;
    for (auto it : {after, after == m_snapPointsMs.begin() ? m_snapPointsMs.end() : after - 1}) {
        if (it == m_snapPointsMs.end()) continue;
        const int32_t distance = std::abs(*it - position);
        if (distance <= kSnapMs && distance < bestDistance) {
            best = *it;
            bestDistance = distance;
        }
    }
    return best;
}

std::optional<int32_t> MarkingSession::mark(int64_t positionMs) {
    if (nextRecord() >= static_cast<int>(m_records.size())) return std::nullopt;
    const int32_t at = snapped(positionMs);
    if (!m_marks.empty() && at < m_marks.back() + kMinVerseMs) return std::nullopt;
    m_marks.push_back(at);
    return at;
}

bool MarkingSession::undo() {
    if (m_marks.empty()) return false;
    m_marks.pop_back();
    return true;
}

bool MarkingSession::nudge(int32_t deltaMs) {
    if (m_marks.empty()) return false;
    const int64_t lowest = m_marks.size() > 1 ? m_marks[m_marks.size() - 2] + kMinVerseMs : 0;
    const int64_t moved = std::clamp<int64_t>(static_cast<int64_t>(m_marks.back()) + deltaMs, lowest, m_lengthMs);
    m_marks.back() = static_cast<int32_t>(moved);
    return true;
}

int32_t MarkingSession::replayFromMs() const {
    const int32_t from = m_marks.empty()
                             ? (m_firstRecord < static_cast<int>(m_records.size()) ? m_records[static_cast<size_t>(m_firstRecord)].startMs : 0)
                             : m_marks.back();
    return std::max(0, from - kReplayLeadMs);
}

std::vector<VerseTiming> MarkingSession::records() const {
    std::vector<VerseTiming> result = m_records;
    for (size_t i = 0; i < m_marks.size(); ++i) {
        const auto record = static_cast<size_t>(m_firstRecord) + i;
        result[record].startMs = m_marks[i];
        if (record > 0) result[record - 1].endMs = m_marks[i];
    }
    if (m_marks.empty()) return result;
    const auto first = static_cast<size_t>(m_firstRecord);
    const auto last = first + m_marks.size() - 1;
    VerseTiming& timing = result[last];
    if (timing.endMs <= timing.startMs) {
        const bool nextStartsLater = last + 1 < result.size() && result[last + 1].startMs > timing.startMs;
        timing.endMs = nextStartsLater ? result[last + 1].startMs : static_cast<int32_t>(m_lengthMs);
    }
    // Unmarked records whose old times now lie on the wrong side of the marks (a table made for another
    // recording, or none at all) would make the table run backwards: they become empty records at the
    // nearest marked time until they are marked themselves.
    for (size_t k = last + 1; k < result.size(); ++k) {
        if (result[k].startMs < result[k - 1].startMs) result[k] = {result[k - 1].endMs, result[k - 1].endMs};
    }
    bool emptied = false;
    for (size_t k = first; k-- > 0;) {
        const int32_t nextStartMs = result[k + 1].startMs;
        if (result[k].startMs > nextStartMs) {
            result[k] = {nextStartMs, nextStartMs};
            emptied = true;
        } else {
            if (emptied) result[k].endMs = std::min(result[k].endMs, nextStartMs);
            emptied = false;
        }
    }
    return result;
}

}  // namespace lumora
