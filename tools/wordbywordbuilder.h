#pragma once
// WordByWordBuilder: checks the project's word-by-word glosses against the Arabic text and makes the
// entries of the word-by-word archive. A gloss file holds one line per verse, numbered like the sura
// text files (sura 1 starts at verse 2); a line is a list of items, each a count n, U+2022 and the
// meaning of the next n + 1 words, and each followed by "|". The archive gets an entry for every sura;
// a sura without glosses gets one empty line per verse, which leaves its words unlinked, so the program
// finds an entry whichever sura it loads.

#include <QString>
#include <map>
#include <vector>

#include "codec/result.h"
#include "tools/packageentry.h"
#include "tools/versetextsource.h"

namespace lumora::pack {

class WordByWordBuilder {
public:
    // The words of a verse as the page builder counts them: surrounding blanks removed, split at every blank.
    static int wordCount(const QString& verse);

    // Refuses a line that is not a list of well-formed items, or whose groups do not cover exactly the
    // verse's words (fewer would leave words without a meaning, more would run past the verse).
    static Result<void> checkLine(const QString& line, const QString& arabicVerse);

    // glossFiles maps a sura number to the text of its gloss file. Every gloss file must have exactly
    // one line per line of the sura's text file (a final LF ends the last line).
    static Result<std::vector<PackageEntry>> entries(const VerseTextSource& arabic,
                                                     const std::map<int, QString>& glossFiles);
};

}  // namespace lumora::pack
