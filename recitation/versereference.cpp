#include "recitation/versereference.h"

#include <QRegularExpression>
#include <algorithm>

#include "codec/suracatalogue.h"

namespace lumora {

namespace {

// Arabic-Indic (U+0660..U+0669) and Extended Arabic-Indic (U+06F0..U+06F9) digits become ASCII digits,
// the dashes a word processor puts in a range become '-'.
QString withLatinDigits(QStringView text) {
    QString result;
    result.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0x0660 && u <= 0x0669)
            result += QChar(u'0' + (u - 0x0660));
        else if (u >= 0x06F0 && u <= 0x06F9)
            result += QChar(u'0' + (u - 0x06F0));
        else if (u == 0x2010 || u == 0x2011 || u == 0x2012 || u == 0x2013 || u == 0x2212)
            result += QLatin1Char('-');
        else
            result += c;
    }
    return result;
}

// A whole number above 0 written in ASCII digits, blanks around it allowed.
std::optional<int> positiveNumber(QStringView text) {
    const QStringView digits = text.trimmed();
    if (digits.isEmpty() || digits.size() > 9)
        return std::nullopt;
    for (QChar c : digits)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    const int value = digits.toInt();
    if (value <= 0)
        return std::nullopt;
    return value;
}

// "V" or "V-W" after the sura.
std::optional<VerseReference> verses(int sura, QStringView text) {
    const qsizetype dash = text.indexOf(QLatin1Char('-'));
    const std::optional<int> first = positiveNumber(dash < 0 ? text : text.left(dash));
    const std::optional<int> last = dash < 0 ? first : positiveNumber(text.mid(dash + 1));
    if (!first || !last)
        return std::nullopt;
    return VerseReference{sura, *first, *last};
}

// "S:V[-W]", or with sep '/' as well "S/V[-W]".
std::optional<VerseReference> numbered(QStringView text, bool slashToo) {
    qsizetype separator = text.indexOf(QLatin1Char(':'));
    if (separator < 0 && slashToo)
        separator = text.indexOf(QLatin1Char('/'));
    if (separator < 0)
        return std::nullopt;
    const std::optional<int> sura = positiveNumber(text.left(separator));
    if (!sura)
        return std::nullopt;
    return verses(*sura, text.mid(separator + 1));
}

// The path of a link: "S/V[-W]" or "S:V[-W]", a trailing '/' and any query or fragment left out.
std::optional<VerseReference> linkPath(QStringView path) {
    const qsizetype end = path.indexOf(QRegularExpression(QStringLiteral("[?#]")));
    if (end >= 0)
        path = path.left(end);
    if (path.endsWith(QLatin1Char('/')))
        path.chop(1);
    if (path.contains(QLatin1Char(' ')))
        return std::nullopt;
    return numbered(path, true);
}

// Letters and digits of a sura name, upper case: "Ya-Seen", "YA SEEN" and "yaseen" are the same name.
QString nameKey(QStringView name) {
    QString key;
    for (QChar c : name) {
        if (c.isLetterOrNumber())
            key += c.toUpper();
        else if (c != QLatin1Char('-') && c != QLatin1Char(' ') && c != QLatin1Char('\''))
            return QString();
    }
    return key;
}

int suraOfName(QStringView name) {
    const QString key = nameKey(name);
    if (key.isEmpty())
        return 0;
    for (int sura = 1; sura <= SuraCatalogue::kSuraCount; ++sura) {
        const QString listed = QString::fromStdString(SuraCatalogue::listText(sura));
        // The list writes "36. YA-SEEN": the name follows the number and its full stop.
        if (nameKey(QStringView(listed).mid(listed.indexOf(QLatin1Char(' ')) + 1)) == key)
            return sura;
    }
    return 0;
}

std::optional<VerseReference> named(const QString& text) {
    static const QRegularExpression form(QStringLiteral("^(.*?[^\\s:])\\s*[\\s:]\\s*(\\d+(?:\\s*-\\s*\\d+)?)$"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const int sura = suraOfName(match.capturedView(1));
    if (sura == 0)
        return std::nullopt;
    return verses(sura, match.capturedView(2));
}

std::optional<VerseReference> anyForm(const QString& text) {
    static const QRegularExpression quranLink(QStringLiteral("^quran:(?://)?(.*)$"),
                                              QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression siteLink(
        QStringLiteral("^(?:https?://)?(?:www\\.)?quran\\.com/(.*)$"), QRegularExpression::CaseInsensitiveOption);
    for (const QRegularExpression* link : {&quranLink, &siteLink}) {
        const QRegularExpressionMatch match = link->match(text);
        if (match.hasMatch())
            return linkPath(match.capturedView(1));
    }
    if (!text.isEmpty() && text.front().isDigit())
        return numbered(text, false);
    return named(text);
}

}  // namespace

int VerseReference::verseCount(int sura) {
    const int records = SuraCatalogue::verseNo(sura);
    // Suras 1 and 9 have no record for the opening invocation.
    return sura == 1 || sura == 9 ? records : std::max(records - 1, 0);
}

std::optional<VerseReference> VerseReference::parse(const QString& text) {
    if (text.size() > kMaxLength)
        return std::nullopt;
    const std::optional<VerseReference> reference = anyForm(withLatinDigits(text.trimmed()));
    if (!reference)
        return std::nullopt;
    const int count = verseCount(reference->sura);
    if (reference->lastVerse > count || reference->firstVerse > reference->lastVerse)
        return std::nullopt;
    return reference;
}

}  // namespace lumora
