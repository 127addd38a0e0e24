#include "recitation/rangesaver.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <limits>
#include <memory>

#include "audio/joinedframeindex.h"
#include "audio/mp3frameindex.h"

namespace lumora {

const QString RangeSaver::kErrorText = QStringLiteral("Error saving MP3 file");
const QString RangeSaver::kRangeOrderText = QStringLiteral("Range Begin should be less than or equal to Range End");
const QString RangeSaver::kRangeOrderTitle = QStringLiteral("Incorrect Range");
const QString RangeSaver::kReplaceText = QStringLiteral("File aleady exists. Replace it ?");
const QString RangeSaver::kReplaceTitle = QStringLiteral("Confirm replace");

namespace {

constexpr int kTitleOffset = 3;
constexpr int kFieldWidth = 30;
constexpr int kYearWidth = 4;
// The tag's text fields end before the genre byte, which is left as it is.
constexpr int kWrittenTagBytes = RangeSaver::kTagBytes - 1;
// When the range's two ends fall in the same frame, they are measured again this far inside the range.
constexpr int32_t kInsideMs = 10;

Error saveError(const QString& detail) {
    return Error{75, "RangeSaver", detail.toStdString()};
}

// Windows-1252, one byte per character; characters the code page lacks become "?".
QByteArray toWindows1252(const QString& text) {
    static const char16_t kHighHalf[32] = {
        0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            bytes.append(static_cast<char>(u));
            continue;
        }
        char out = '?';
        for (int i = 0; i < 32; ++i) {
            if (kHighHalf[i] != 0 && kHighHalf[i] == u)
                out = static_cast<char>(0x80 + i);
        }
        bytes.append(out);
    }
    return bytes;
}

// A stretch of one file's bytes, [begin, end).
struct Span {
    QString path;
    int64_t begin = 0;
    int64_t end = 0;
};

// The spans of a joined recording's audio frames, in stream order.
std::vector<Span> audioSpans(const JoinedFrameIndex& recording) {
    std::vector<Span> spans;
    for (const JoinedFrameIndex::Part& part : recording.parts()) {
        if (part.state == JoinedFrameIndex::PartState::kPresent && part.index.frameCount() > 0)
            spans.push_back({QString::fromStdString(part.path), part.index.frameOffset(0), part.index.audioEndOffset()});
    }
    return spans;
}

// `count` bytes from `from` on, where the spans lie end to end; nullopt when they cannot all be read.
std::optional<QByteArray> readSpans(const std::vector<Span>& spans, int64_t from, int64_t count) {
    QByteArray bytes;
    bytes.reserve(count);
    int64_t spanStart = 0;  // where the current span begins in the joined bytes
    for (const Span& span : spans) {
        const int64_t length = span.end - span.begin;
        const int64_t first = std::max(from, spanStart);
        const int64_t last = std::min(from + count, spanStart + length);
        if (first < last) {
            QFile source(span.path);
            if (!source.open(QIODevice::ReadOnly) || !source.seek(span.begin + first - spanStart))
                return std::nullopt;
            const QByteArray piece = source.read(last - first);
            if (piece.size() != last - first) return std::nullopt;
            bytes.append(piece);
        }
        spanStart += length;
    }
    if (bytes.size() != count) return std::nullopt;
    return bytes;
}

void putField(QByteArray& block, int offset, int width, const QString& text) {
    const QByteArray bytes = toWindows1252(text).left(width);
    for (int i = 0; i < width; ++i)
        block[offset + i] = i < bytes.size() ? bytes[i] : ' ';
}

}  // namespace

RangeSaver::ByteOffsetAt RangeSaver::frameIndexOffsets(const QString& mediaFile) {
    auto index = Mp3FrameIndex::fromFile(mediaFile.toStdString());
    if (!index || index.value().frameCount() == 0)
        return [](int32_t) -> int64_t { return -1; };
    auto shared = std::make_shared<Mp3FrameIndex>(std::move(index).value());
    return [shared](int32_t ms) { return shared->byteOffsetAtMs(ms < 0 ? 0 : ms); };
}

int32_t RangeSaver::verseNumber(int32_t record, bool sura9) {
    return sura9 ? record + 1 : record;
}

QString RangeSaver::proposedFileName(const Range& range) {
    const auto padded = [](int32_t number) { return QStringLiteral("%1").arg(number, 3, 10, QLatin1Char('0')); };
    return range.suraNumberText + QLatin1Char('-') + padded(verseNumber(range.rangeBegin, range.sura9)) +
           QLatin1Char('-') + padded(verseNumber(range.rangeEnd, range.sura9)) + QStringLiteral(".MP3");
}

QString RangeSaver::withMp3Extension(const QString& path) {
    return path.endsWith(QStringLiteral(".mp3"), Qt::CaseInsensitive) ? path : path + QStringLiteral(".mp3");
}

QString RangeSaver::artistText(const Range& range) {
    return QStringLiteral("%1(%2-%3)")
        .arg(range.suraText)
        .arg(verseNumber(range.rangeBegin, range.sura9))
        .arg(verseNumber(range.rangeEnd, range.sura9));
}

QByteArray RangeSaver::tagBlock(const QString& artist) {
    QByteArray block(kWrittenTagBytes, ' ');
    block.replace(0, 3, "TAG");
    int offset = kTitleOffset;
    putField(block, offset, kFieldWidth, QStringLiteral("Orvanta Lumora"));
    offset += kFieldWidth;
    putField(block, offset, kFieldWidth, artist);
    offset += kFieldWidth;
    putField(block, offset, kFieldWidth, QStringLiteral("Quran"));
    offset += kFieldWidth;
    putField(block, offset, kYearWidth, QString());
    offset += kYearWidth;
    putField(block, offset, kFieldWidth, QString());
    return block;
}

namespace {

Result<void> writeSpans(const std::vector<Span>& spans, int64_t fromByte, int64_t toByte, const QString& outputPath,
                        const QString& artist) {
    if (fromByte < 0 || toByte < fromByte)
        return saveError(QStringLiteral("the range ends before it starts"));
    const int64_t count = toByte - fromByte + 1;
    if (count < RangeSaver::kTagBytes)
        return saveError(QStringLiteral("the range is shorter than its tag"));
    std::optional<QByteArray> bytes = readSpans(spans, fromByte, count);
    if (!bytes)
        return saveError(QStringLiteral("cannot read ") + (spans.empty() ? QString() : spans.front().path));
    bytes->replace(bytes->size() - RangeSaver::kTagBytes, kWrittenTagBytes, RangeSaver::tagBlock(artist));

    QSaveFile output(outputPath);
    if (!output.open(QIODevice::WriteOnly) || output.write(*bytes) != bytes->size() || !output.commit())
        return saveError(QStringLiteral("cannot write ") + outputPath);
    return {};
}

}  // namespace

Result<void> RangeSaver::writeCut(const QString& sourcePath, int64_t fromByte, int64_t toByte,
                                  const QString& outputPath, const QString& artist) {
    return writeSpans({Span{sourcePath, 0, std::numeric_limits<int64_t>::max()}}, fromByte, toByte, outputPath,
                      artist);
}

Result<void> RangeSaver::writeJoinedCut(const JoinedFrameIndex& recording, int64_t fromByte, int64_t toByte,
                                        const QString& outputPath, const QString& artist) {
    return writeSpans(audioSpans(recording), fromByte, toByte, outputPath, artist);
}

RangeSaver::ByteOffsetAt RangeSaver::joinedOffsets(std::shared_ptr<const JoinedFrameIndex> recording) {
    if (!recording || recording->lengthSamples() <= 0) return [](int32_t) -> int64_t { return -1; };
    // Where each part's frames begin among the frames laid end to end.
    auto bases = std::make_shared<std::vector<int64_t>>();
    int64_t at = 0;
    for (const JoinedFrameIndex::Part& part : recording->parts()) {
        bases->push_back(at);
        if (part.state == JoinedFrameIndex::PartState::kPresent && part.index.frameCount() > 0)
            at += part.index.audioEndOffset() - part.index.frameOffset(0);
    }
    return [recording, bases](int32_t ms) -> int64_t {
        const int64_t sample = recording->msToSample(ms < 0 ? 0 : ms);
        const int64_t k = recording->partAtSample(sample);
        const JoinedFrameIndex::Part& part = recording->part(k);
        // A verse begins with its file's first frame, which primes the decoder even when gapless
        // trimming drops all of its own samples.
        if (sample <= part.firstSample) return (*bases)[static_cast<size_t>(k)];
        const int64_t inPart = part.index.byteOffsetAtSample(sample - part.firstSample);
        return (*bases)[static_cast<size_t>(k)] + inPart - part.index.frameOffset(0);
    };
}

RangeSaver::Outcome RangeSaver::save(const Range& range, const ByteOffsetAt& byteOffsetAt,
                                     const Callbacks& callbacks) {
    if (range.mediaFile.isEmpty() || !QFileInfo(range.mediaFile).isFile())
        return Outcome::NothingToSave;
    if (range.rangeEnd < range.rangeBegin) {
        callbacks.showInformation(kRangeOrderTitle, kRangeOrderText);
        return Outcome::Refused;
    }
    const auto fail = [&] {
        callbacks.showInformation(QString(), kErrorText);
        return Outcome::Failed;
    };
    const auto chosen = callbacks.chooseFile(proposedFileName(range));
    if (!chosen || chosen->isEmpty())
        return Outcome::Cancelled;
    const QString outputPath = withMp3Extension(*chosen);
    // A file being replaced is only swapped for the new one once that is complete (writeCut).
    if (QFileInfo::exists(outputPath) && !callbacks.askYesNo(kReplaceTitle, kReplaceText))
        return Outcome::Declined;
    if (range.rangeBegin < 0 || static_cast<size_t>(range.rangeEnd) >= range.verseTable.size())
        return fail();

    callbacks.stopRecitation();
    const int32_t startMs = range.verseTable[static_cast<size_t>(range.rangeBegin)].startMs;
    const int32_t endMs = range.verseTable[static_cast<size_t>(range.rangeEnd)].endMs;
    int64_t fromByte = byteOffsetAt(startMs);
    int64_t toByte = byteOffsetAt(endMs);
    if (fromByte == toByte) {
        fromByte = byteOffsetAt(startMs + kInsideMs);
        toByte = byteOffsetAt(endMs - kInsideMs);
    }
    const Result<void> written =
        range.recording ? writeJoinedCut(*range.recording, fromByte, toByte, outputPath, artistText(range))
                        : writeCut(range.mediaFile, fromByte, toByte, outputPath, artistText(range));
    if (!written) return fail();
    return Outcome::Saved;
}

RangeSaver::Outcome RangeSaver::save(const Range& range, const Callbacks& callbacks) {
    return save(range, range.recording ? joinedOffsets(range.recording) : frameIndexOffsets(range.mediaFile),
                callbacks);
}

}  // namespace lumora
