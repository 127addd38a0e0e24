#include "recitation/versereference.h"

namespace lumora {

namespace {

// A whole number above 0 written in decimal digits, blanks around it allowed.
std::optional<int> positiveNumber(QStringView text) {
    const QStringView digits = text.trimmed();
    if (digits.isEmpty()) return std::nullopt;
    for (QChar c : digits)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return std::nullopt;
    bool ok = false;
    const int value = digits.toInt(&ok);
    if (!ok || value <= 0) return std::nullopt;
    return value;
}

}  // namespace

std::optional<VerseReference> VerseReference::parse(const QString& text) {
    const QString trimmed = text.trimmed();
    const qsizetype colon = trimmed.indexOf(QLatin1Char(':'));
    if (colon < 0) return std::nullopt;
    const QStringView whole(trimmed);
    const std::optional<int> sura = positiveNumber(whole.left(colon));
    if (!sura) return std::nullopt;

    const QStringView verses = whole.mid(colon + 1);
    const qsizetype dash = verses.indexOf(QLatin1Char('-'));
    if (dash < 0) {
        const std::optional<int> verse = positiveNumber(verses);
        if (!verse) return std::nullopt;
        return VerseReference{*sura, *verse, *verse};
    }
    const std::optional<int> first = positiveNumber(verses.left(dash));
    const std::optional<int> last = positiveNumber(verses.mid(dash + 1));
    if (!first || !last) return std::nullopt;
    return VerseReference{*sura, *first, *last};
}

}  // namespace lumora
