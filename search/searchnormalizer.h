#pragma once
// How verse texts and queries are folded so that a search ignores what a reader does not type: Arabic
// vowel marks, tatweel, the forms of alif and hamza, the Quranic annotation and pause signs (the small high
// signs, the open tanween marks U+08F0-U+08F2 included), and in other scripts letter case and accents.
//
// One character becomes zero, one or a few characters of the folded text:
// - white space becomes one blank, runs of blanks become one, and there are none at either end;
// - punctuation, combining marks and format characters vanish;
// - alif with hamza or madda, alif wasla and the other alif letters become a plain alif (U+0627), waw and
//   yeh with hamza their bare letter, alif maksura and Farsi yeh become yeh, keheh becomes kaf; Arabic-Indic
//   digits become ASCII digits; a standalone hamza stays;
// - the small letters of the Uthmani script (superscript alif U+0670, small waw U+06E5, small yeh U+06E6 and
//   U+06E7, small high noon U+06E8) stay as optional letters: a query letter may match one or pass it by,
//   so "الرحمن" and "العالمين" both find their Uthmani spellings. Queries carry none of them;
// - everything else is decomposed (canonical and compatibility forms, Arabic presentation forms among them),
//   stripped of its marks and case-folded, with ß, æ, œ, ø, đ, ł and dotless i spelt out.

#include <QString>
#include <QStringView>
#include <cstdint>
#include <vector>

namespace lumora {

class SearchNormalizer {
public:
    // A folded text and, for each of its characters, the index of the source character it came from.
    struct Mapped {
        QString text;
        std::vector<int32_t> sourceIndex;
    };

    // The folded text; optional letters stay in it (for verse texts).
    static QString fold(QStringView text);
    // The same with the source index of every folded character. sourceOffset is added to each index.
    static void foldAppend(QStringView text, int32_t sourceOffset, Mapped& out);
    // A query: folded, and without optional letters.
    static QString foldQuery(QStringView query);

    // The letter an optional letter stands for (U+0670 alif, U+06E5 waw, U+06E6 yeh, U+06E8 noon),
    // or 0 for any other character.
    static char16_t optionalLetter(char16_t folded);
    static bool isOptional(char16_t folded) { return optionalLetter(folded) != 0; }
    // The optional letter that stands for this letter, or 0 when none does.
    static char16_t optionalFormOf(char16_t letter);

    // What one code point folds to, at most kMaxFolded UTF-16 units (longer foldings are cut).
    static constexpr int kMaxFolded = 8;
    struct Folding {
        char16_t units[kMaxFolded] = {};
        uint8_t length = 0;
        bool blank = false;
    };
    static Folding foldCodePoint(char32_t codePoint);
};

}  // namespace lumora
