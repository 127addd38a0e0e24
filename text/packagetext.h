#pragma once
// How the bytes of a package entry become text: sura texts and opening formulas are UTF-16 little-endian
// or Windows-1252 as the package says, word-by-word files are always UTF-16 little-endian, and texts are
// split into lines at LF alone, so a CR before the LF stays at the end of its line.

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace lumora {

class PackageText {
public:
    // Every 16-bit unit as it stands (a byte order mark or a lone surrogate included); an odd last byte,
    // half a unit, is dropped.
    static QString fromUtf16Le(const std::vector<uint8_t>& bytes);
    static QString fromWindows1252(const std::vector<uint8_t>& bytes);
    static QString decode(const std::vector<uint8_t>& bytes, bool isUnicode);

    // A configuration file: UTF-16 little-endian after its byte order mark, UTF-8 (byte order mark
    // skipped) when the bytes are valid UTF-8, Windows-1252 otherwise.
    static QString decodeConfiguration(const std::vector<uint8_t>& bytes);

    // The text split at every LF; an empty text has no lines at all, a trailing LF gives one empty line.
    static QStringList splitLines(const QString& text);

    // The entry name of a sura's file: the sura number in three digits and ".txt" ("002.txt").
    static QString suraEntryName(int sura);
};

}  // namespace lumora
