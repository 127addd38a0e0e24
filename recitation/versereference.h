#pragma once
// A reference to one verse or a range of verses of a sura, as a user or another program writes it: copied
// to the clipboard, given on the command line, or opened as a link. The forms read:
//   2:255   36:1-12   (blanks around the numbers allowed)
//   quran://2/255   quran:2:255-257   (the quran: links the desktop hands to Lumora)
//   https://quran.com/2/255-257   quran.com/2:255   (the site's verse addresses; query and fragment ignored)
//   YA-SEEN 1-12   al-baqara:255   (the sura list's names; letter case, hyphens and blanks ignored)
// with Arabic-Indic digits (٢:٢٥٥) anywhere a digit may stand.
// Only references to verses that exist are read: suras 1 to 114, verses 1 to the sura's verse count, and a
// range that does not run backwards. Anything else, and any text longer than kMaxLength, is no reference.

#include <QString>
#include <optional>

namespace lumora {

struct VerseReference {
    // Longer texts are never read: no reference form is anywhere near as long, and a large clipboard is
    // passed over without scanning it.
    static constexpr int kMaxLength = 200;

    int sura = 0;
    int firstVerse = 0;
    int lastVerse = 0;

    static std::optional<VerseReference> parse(const QString& text);
    // The number of verses of a sura 1..114 (the opening invocation not counted), 0 outside.
    static int verseCount(int sura);

    bool operator==(const VerseReference&) const = default;
};

}  // namespace lumora
