#pragma once
// RangeSaver: "Save Range to MP3". Cuts the bytes of the loaded sura's recording that cover the range, from
// the frame holding the Range Begin verse's start to the frame holding the Range End verse's end, without
// decoding, into a file the user chooses, and stamps a 128-byte tag block (ID3 version 1 layout) over the
// last 128 bytes of the copy: the file keeps the copied length and its last byte (the genre) keeps the
// audio byte that was there.
//
// A per-verse collection is cut the same way from its files' audio frames laid end to end: each file's
// tags and Info frame are left out, so the copy is one plain stream of frames across the verse files.
//
// The window supplies the dialogs and messages through Callbacks; the saver only decides. The output is
// written whole through QSaveFile, so a failed save leaves no partial file and a file being replaced stays
// as it was until the new one is complete.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "codec/result.h"
#include "codec/versetimingtable.h"

namespace lumora {

class JoinedFrameIndex;

class RangeSaver {
public:
    static constexpr int kTagBytes = 128;
    static const QString kErrorText;          // "Error saving MP3 file"
    static const QString kRangeOrderText;     // "Range Begin should be less than or equal to Range End"
    static const QString kRangeOrderTitle;    // "Incorrect Range"
    static const QString kReplaceText;        // "File aleady exists. Replace it ?"
    static const QString kReplaceTitle;       // "Confirm replace"

    struct Callbacks {
        // A message box with an OK button; an empty title means the platform's default title.
        std::function<void(const QString& title, const QString& text)> showInformation;
        // The save dialog with the proposed file name; nullopt when it is cancelled.
        std::function<std::optional<QString>(const QString& proposedName)> chooseFile;
        // A Yes/No question whose default is No; true for Yes.
        std::function<bool(const QString& title, const QString& text)> askYesNo;
        // Stops the recitation before the cut is measured.
        std::function<void()> stopRecitation;
    };

    // The byte offset in the sura's file of the frame that holds a time in milliseconds; it must not
    // decrease as the time grows.
    using ByteOffsetAt = std::function<int64_t(int32_t ms)>;

    struct Range {
        QString mediaFile;       // the sura's recording; empty when no sura is loaded
        QString suraNumberText;  // "002"
        QString suraText;        // the sura box's text, "2. AL-BAQARA"
        bool sura9 = false;      // sura 9 has no opening record: verse numbers are the record plus one
        int32_t rangeBegin = 0;  // records of the verse timing table
        int32_t rangeEnd = 0;
        std::vector<VerseTiming> verseTable;
        // A per-verse collection's files as one stream (the times of verseTable are its times); mediaFile
        // then only has to exist. nullptr for a per-sura file.
        std::shared_ptr<const JoinedFrameIndex> recording;
    };

    enum class Outcome { Saved, NothingToSave, Refused, Cancelled, Declined, Failed };

    // Byte offsets from the frame index of the file itself; -1 for every time when it cannot be read.
    static ByteOffsetAt frameIndexOffsets(const QString& mediaFile);

    // Offsets into the audio frames of a joined recording's files laid end to end: a part's frames start
    // where the frames of the part before it end. -1 for every time when it has no frames.
    static ByteOffsetAt joinedOffsets(std::shared_ptr<const JoinedFrameIndex> recording);

    // The whole operation, dialogs included. Only a failure shows "Error saving MP3 file".
    static Outcome save(const Range& range, const ByteOffsetAt& byteOffsetAt, const Callbacks& callbacks);
    // The same with the offsets of the range's own recording (its file's or its files' frame index).
    static Outcome save(const Range& range, const Callbacks& callbacks);

    // The verse number shown for a record (the record plus one in sura 9).
    static int32_t verseNumber(int32_t record, bool sura9);
    // "SSS-BBB-EEE.MP3": the begin and end verse numbers padded with zeros to three digits.
    static QString proposedFileName(const Range& range);
    // The path with ".mp3" appended unless it already ends in ".mp3" in any letter case.
    static QString withMp3Extension(const QString& path);
    // The first 127 bytes of the tag block: "TAG", the title, the artist (the sura text and "(b-e)"), the
    // album, an empty year and comment; each field filled with spaces to its width and cut to it.
    static QByteArray tagBlock(const QString& artist);
    // "2. AL-BAQARA(1-5)".
    static QString artistText(const Range& range);

    // Writes bytes [fromByte, toByte] of the source file to `outputPath` with the tag block over its
    // last bytes. Fails when toByte < fromByte, when the copy would be shorter than 128 bytes, or on any
    // I/O failure; no output file is left behind then and an existing one is unchanged.
    static Result<void> writeCut(const QString& sourcePath, int64_t fromByte, int64_t toByte,
                                 const QString& outputPath, const QString& artist);
    // The same over a joined recording's audio frames laid end to end (joinedOffsets' byte positions).
    static Result<void> writeJoinedCut(const JoinedFrameIndex& recording, int64_t fromByte, int64_t toByte,
                                       const QString& outputPath, const QString& artist);
};

}  // namespace lumora
