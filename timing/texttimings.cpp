#include "timing/texttimings.h"

#include <algorithm>
#include <cmath>

#include "codec/suracatalogue.h"
#include "timing/textfields.h"

namespace lumora {

namespace {

using textfields::quoted;

std::string lineName(size_t index) {
    return "line " + std::to_string(index + 1);
}

// Seconds as written in a label track, to whole ms; the largest time a timing table holds is about 24 days.
std::optional<int64_t> secondsToMs(std::string_view text) {
    const std::optional<double> seconds = textfields::decimal(text);
    if (!seconds || *seconds < 0 || *seconds > 2.0e6) return std::nullopt;
    return std::llround(*seconds * 1000.0);
}

// "S:V" into its two numbers.
bool verseKey(std::string_view text, int& sura, int& verse) {
    const size_t colon = text.find(':');
    if (colon == std::string_view::npos) return false;
    const auto s = textfields::wholeNumber(text.substr(0, colon));
    const auto v = textfields::wholeNumber(text.substr(colon + 1));
    if (!s || !v || *s < 0 || *s > 100000 || *v < 0 || *v > 100000) return false;
    sura = static_cast<int>(*s);
    verse = static_cast<int>(*v);
    return true;
}

// An LRC time tag's inside, "mm:ss", "mm:ss.x", "mm:ss.xx" or "mm:ss.xxx", in ms.
std::optional<int64_t> lrcTime(std::string_view tag) {
    const size_t colon = tag.find(':');
    if (colon == 0 || colon == std::string_view::npos) return std::nullopt;
    const std::string_view minutes = tag.substr(0, colon);
    std::string_view rest = tag.substr(colon + 1);
    size_t dot = rest.find_first_of(".:");
    const std::string_view seconds = rest.substr(0, dot);
    const std::string_view fraction = dot == std::string_view::npos ? std::string_view() : rest.substr(dot + 1);
    const auto digits = [](std::string_view text, size_t most) {
        if (text.empty() || text.size() > most) return false;
        for (char c : text) {
            if (c < '0' || c > '9') return false;
        }
        return true;
    };
    if (!digits(minutes, 5) || !digits(seconds, 2) || (dot != std::string_view::npos && !digits(fraction, 3))) {
        return std::nullopt;
    }
    const int64_t secondsValue = *textfields::wholeNumber(seconds);
    if (secondsValue >= 60) return std::nullopt;
    int64_t fractionMs = 0;
    if (!fraction.empty()) {
        fractionMs = *textfields::wholeNumber(fraction);
        for (size_t i = fraction.size(); i < 3; ++i) fractionMs *= 10;
    }
    return *textfields::wholeNumber(minutes) * 60000 + secondsValue * 1000 + fractionMs;
}

std::string msAsSeconds(int32_t ms) {
    // Integer arithmetic keeps the decimal point a point whatever the locale.
    const int64_t value = ms;
    const int64_t whole = value / 1000;
    const int64_t rest = std::llabs(value % 1000);
    std::string text = (value < 0 && whole == 0 ? "-" : "") + std::to_string(whole) + ".";
    text += static_cast<char>('0' + rest / 100);
    text += static_cast<char>('0' + rest / 10 % 10);
    text += static_cast<char>('0' + rest % 10);
    return text;
}

}  // namespace

Result<std::vector<VerseMark>> TextTimings::readCsv(std::string_view text, const std::string& file) {
    std::vector<VerseMark> marks;
    bool firstRow = true;
    textfields::Lines lines(text);
    for (std::string_view raw; lines.next(raw);) {
        const size_t index = lines.index();
        const std::string_view line = textfields::trim(raw);
        if (line.empty() || line.front() == '#') continue;
        // Fields are made only when there are as many as a row has: a line of a million commas costs nothing.
        const size_t count = textfields::fieldCount(line, ',');
        const std::vector<std::string_view> fields =
            count >= 3 && count <= 4 ? textfields::split(line, ',') : std::vector<std::string_view>{};
        // A header names the columns; a first row holding numbers is data, even when one of them is damaged.
        const bool header = firstRow && !fields.empty() &&
                            std::none_of(fields.begin(), fields.end(),
                                         [](std::string_view field) { return textfields::wholeNumber(field); });
        firstRow = false;
        if (header) continue;
        const std::string where = lineName(index);
        if (fields.empty()) {
            return VerseMarks::fault(file, where,
                                     "expected four fields, sura,verse,start_ms,end_ms, but found " +
                                         std::to_string(count));
        }
        const char* names[] = {"sura", "verse", "start_ms", "end_ms"};
        int64_t values[4] = {0, 0, 0, -1};
        for (size_t field = 0; field < fields.size(); ++field) {
            if (field == 3 && fields[3].empty()) break;
            const auto value = textfields::wholeNumber(fields[field]);
            if (!value) {
                return VerseMarks::fault(file, where,
                                         std::string("the ") + names[field] + " " + quoted(fields[field]) +
                                             " is not a whole number");
            }
            values[field] = *value;
        }
        if (values[0] < 1 || values[0] > SuraCatalogue::kSuraCount) {
            return VerseMarks::fault(file, where, "there is no sura " + std::to_string(values[0]));
        }
        if (values[1] < 0 || values[1] > 100000) {
            return VerseMarks::fault(file, where, "verse " + std::to_string(values[1]) + " is out of range");
        }
        VerseMark mark;
        mark.sura = static_cast<int>(values[0]);
        mark.verse = static_cast<int>(values[1]);
        mark.startMs = values[2];
        if (fields.size() == 4 && !fields[3].empty()) mark.endMs = values[3];
        mark.where = where;
        if (marks.size() == VerseMarks::kMaxMarks) return VerseMarks::tooManyMarks(file, where);
        marks.push_back(std::move(mark));
    }
    if (marks.empty()) return VerseMarks::fault(file, "", lines.none() ? "the file is empty" : "it holds no rows");
    return marks;
}

Result<std::vector<VerseMark>> TextTimings::readLabels(std::string_view text, const std::string& file, int sura) {
    std::vector<VerseMark> marks;
    int currentSura = sura;
    textfields::Lines lines(text);
    for (std::string_view raw; lines.next(raw);) {
        const size_t index = lines.index();
        const std::string_view line = textfields::trim(raw);
        // A backslash line carries the frequency range of the label above it.
        if (line.empty() || line.front() == '\\') continue;
        const std::string where = lineName(index);
        const size_t count = textfields::fieldCount(line, '\t');
        if (count < 2 || count > 3) {
            return VerseMarks::fault(file, where, "expected start_s, end_s and a label separated by tabs");
        }
        const std::vector<std::string_view> fields = textfields::split(line, '\t');
        const auto startMs = secondsToMs(fields[0]);
        const auto endMs = secondsToMs(fields[1]);
        if (!startMs || !endMs) {
            return VerseMarks::fault(file, where,
                                     "the time " + quoted(startMs ? fields[1] : fields[0]) +
                                         " is not a number of seconds");
        }
        VerseMark mark;
        mark.startMs = *startMs;
        // A point label (end equal to start) gives only the start.
        if (*endMs != *startMs) mark.endMs = *endMs;
        mark.where = where;
        const std::string_view label = fields.size() == 3 ? fields[2] : std::string_view();
        int labelSura = 0;
        int labelVerse = 0;
        if (label.empty()) {
            mark.kind = VerseMark::Kind::kNextVerse;
        } else if (verseKey(label, labelSura, labelVerse)) {
            // Sura 0 would read as "no sura given" below.
            if (labelSura == 0) return VerseMarks::fault(file, where, "there is no sura 0");
            currentSura = labelSura;
            mark.verse = labelVerse;
        } else if (const auto verse = textfields::wholeNumber(label); verse && *verse >= 0 && *verse <= 100000) {
            mark.verse = static_cast<int>(*verse);
        } else {
            return VerseMarks::fault(file, where,
                                     "the label " + quoted(label) + " is neither a verse number nor S:V");
        }
        if (currentSura == 0) {
            return VerseMarks::fault(file, where,
                                     "the label does not say which sura it belongs to; give the sura number");
        }
        mark.sura = currentSura;
        if (marks.size() == VerseMarks::kMaxMarks) return VerseMarks::tooManyMarks(file, where);
        marks.push_back(std::move(mark));
    }
    if (marks.empty()) return VerseMarks::fault(file, "", lines.none() ? "the file is empty" : "it holds no labels");
    return marks;
}

Result<std::vector<VerseMark>> TextTimings::readLrc(std::string_view text, const std::string& file, int sura) {
    const int records = SuraCatalogue::verseNo(sura);
    if (records == 0) {
        return VerseMarks::fault(file, "", "an LRC file holds the verses of one sura; give the sura number");
    }
    struct Timed {
        int64_t ms;
        size_t line;
    };
    std::vector<Timed> times;
    int64_t offsetMs = 0;
    textfields::Lines lines(text);
    for (std::string_view raw; lines.next(raw);) {
        const size_t index = lines.index();
        std::string_view line = textfields::trim(raw);
        if (line.empty()) continue;
        bool tagged = false;
        while (!line.empty() && line.front() == '[') {
            tagged = true;
            const size_t close = line.find(']');
            if (close == std::string_view::npos) {
                return VerseMarks::fault(file, lineName(index), "a tag opened with [ is not closed");
            }
            const std::string_view tag = line.substr(1, close - 1);
            if (const auto ms = lrcTime(tag)) {
                if (times.size() == VerseMarks::kMaxMarks) return VerseMarks::tooManyMarks(file, lineName(index));
                times.push_back(Timed{*ms, index});
            } else if (tag.substr(0, 7) == "offset:") {
                const auto offset = textfields::wholeNumber(tag.substr(7));
                if (!offset || *offset < -86400000 || *offset > 86400000) {
                    return VerseMarks::fault(file, lineName(index), "the offset " + quoted(tag.substr(7)) +
                                                                        " is not a whole number of ms");
                }
                offsetMs = *offset;
            } else if (tag.find(':') == std::string_view::npos || (tag.front() >= '0' && tag.front() <= '9')) {
                return VerseMarks::fault(file, lineName(index),
                                         "the time " + quoted(tag) + " is not of the form mm:ss.xx");
            }
            line = textfields::trim(line.substr(close + 1));
        }
        if (!tagged) {
            return VerseMarks::fault(file, lineName(index), "the line does not start with a [mm:ss.xx] time");
        }
    }
    if (times.empty()) {
        return VerseMarks::fault(file, "", lines.none() ? "the file is empty" : "it holds no [mm:ss.xx] times");
    }

    // One time per record, the opening formula first; one more is the end of the recitation. A file without
    // the opening formula (one time per verse) is taken too where the sura has one.
    const auto count = static_cast<int>(times.size());
    int firstRecord = 0;
    bool withEnd = false;
    if (count == records + 1) {
        withEnd = true;
    } else if (count == records - 1 && sura != 1 && sura != 9) {
        firstRecord = 1;
    } else if (count != records) {
        return VerseMarks::fault(file, "",
                                 "it has " + std::to_string(count) + " timed lines, but sura " +
                                     std::to_string(sura) + " needs " + std::to_string(records) +
                                     " (one per verse" + (sura != 1 && sura != 9 ? ", the opening formula first" : "") +
                                     "), or one more for the end");
    }
    std::vector<VerseMark> marks;
    for (int i = 0; i < count; ++i) {
        const Timed& timed = times[static_cast<size_t>(i)];
        VerseMark mark;
        mark.sura = sura;
        mark.where = lineName(timed.line);
        // An offset moves every line earlier by its ms (a positive offset shows the lines sooner). The first
        // time may go before the recording's start, where it then stands; a later one there would start
        // together with it, and the verses between would be lost.
        const int64_t shifted = timed.ms - offsetMs;
        if (shifted < 0 && i > 0) {
            return VerseMarks::fault(file, mark.where,
                                     "the offset moves this time before the start of the recording (" +
                                         std::to_string(shifted) + " ms)");
        }
        mark.startMs = std::max<int64_t>(0, shifted);
        const int record = firstRecord + i;
        if (withEnd && i == count - 1) {
            mark.kind = VerseMark::Kind::kRecordingEnd;
        } else {
            mark.verse = VerseMarks::verseOfRecord(sura, record);
        }
        marks.push_back(std::move(mark));
    }
    return marks;
}

std::string TextTimings::writeCsv(const SuraTimings& timings) {
    std::string text = "sura,verse,start_ms,end_ms\n";
    for (const auto& [sura, records] : timings) {
        for (size_t record = 0; record < records.size(); ++record) {
            text += std::to_string(sura) + "," +
                    std::to_string(VerseMarks::verseOfRecord(sura, static_cast<int>(record))) + "," +
                    std::to_string(records[record].startMs) + "," + std::to_string(records[record].endMs) + "\n";
        }
    }
    return text;
}

std::string TextTimings::writeLabels(const SuraTimings& timings) {
    std::string text;
    for (const auto& [sura, records] : timings) {
        for (size_t record = 0; record < records.size(); ++record) {
            text += msAsSeconds(records[record].startMs) + "\t" + msAsSeconds(records[record].endMs) + "\t" +
                    std::to_string(sura) + ":" +
                    std::to_string(VerseMarks::verseOfRecord(sura, static_cast<int>(record))) + "\n";
        }
    }
    return text;
}

}  // namespace lumora
