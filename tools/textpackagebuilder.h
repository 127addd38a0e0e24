#pragma once
// TextPackageBuilder: turns one text of the data set into the entries of a text package: "config.ini",
// "bismi.txt" and "bismi1.txt" (both the text of 1:1, the opening formula), and one file per sura,
// "001.txt" to "114.txt". Sura files are UTF-16 little-endian without a byte order mark, one verse per
// LF-ended line; sura 1's file starts at verse 2 (its verse 1 is the formula, shown from bismi1.txt),
// every other file at verse 1.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

#include "tools/packageentry.h"
#include "tools/versetextsource.h"

namespace lumora::pack {

enum class TextKind {
    Arabic,       // the Arabic text: open tanween marks are mapped for the Amiri Quran font
    Translation,  // translations and transliterations: soft hyphens dropped, tabs become blanks
};

class TextPackageBuilder {
public:
    // U+0657, U+065E and U+0656, which the data set uses for open fathatan, dammatan and kasratan, become
    // U+08F0, U+08F1 and U+08F2: Amiri Quran has no glyph for U+065E and draws the other two wrongly.
    static QString mapOpenTanween(const QString& text);

    // A verse as it goes into a package. A line break inside a verse would shift every later verse of
    // the sura by one line, so CR and LF become blanks in every kind of text.
    static QString prepareVerse(const QString& text, TextKind kind);

    static std::vector<uint8_t> utf16Le(const QString& text);

    // The entries in archive order; configIni is stored as it stands.
    static std::vector<PackageEntry> entries(const VerseTextSource& source, TextKind kind,
                                             const QByteArray& configIni);
};

}  // namespace lumora::pack
