#pragma once
// A verse reference copied to the clipboard by any program: "S:V" (one verse) or "S:V-W" (verses V to W
// of sura S), with blanks around the whole text and around each number allowed.

#include <QString>
#include <optional>

namespace lumora {

struct VerseReference {
    int sura = 0;
    int firstVerse = 0;
    int lastVerse = 0;

    // The reference, or nullopt when the text has another form: no ":", a part that is not a whole number,
    // or a number that is not above 0. The sura number is not checked against the list here.
    static std::optional<VerseReference> parse(const QString& text);

    bool operator==(const VerseReference&) const = default;
};

}  // namespace lumora
