#include "search/searchnormalizer.h"

#include <QChar>
#include <array>
#include <memory>

namespace lumora {

namespace {

constexpr char16_t kAlif = 0x0627;
constexpr char16_t kWaw = 0x0648;
constexpr char16_t kYeh = 0x064A;
constexpr char16_t kKaf = 0x0643;
constexpr char16_t kNoon = 0x0646;
constexpr char16_t kSuperscriptAlif = 0x0670;
constexpr char16_t kSmallWaw = 0x06E5;
constexpr char16_t kSmallYeh = 0x06E6;
constexpr char16_t kSmallHighYeh = 0x06E7;
constexpr char16_t kSmallHighNoon = 0x06E8;

// Decompositions nest only a few levels (a compatibility form of a letter with two accents).
constexpr int kMaxDepth = 4;
// Code points below this are folded once into a table; the verse texts use nothing above it but a few
// quotation marks, so the table answers nearly every character of a build.
constexpr char32_t kTableSize = 0x3000;

void append(SearchNormalizer::Folding& folding, char32_t codePoint) {
    auto put = [&folding](char16_t unit) {
        if (folding.length < SearchNormalizer::kMaxFolded) folding.units[folding.length++] = unit;
    };
    if (QChar::requiresSurrogates(codePoint)) {
        put(QChar::highSurrogate(codePoint));
        put(QChar::lowSurrogate(codePoint));
    } else {
        put(static_cast<char16_t>(codePoint));
    }
}

void appendLatin(SearchNormalizer::Folding& folding, const char* letters) {
    for (; *letters != '\0'; ++letters) append(folding, static_cast<char32_t>(*letters));
}

// Letters and signs the general rules would fold otherwise, or not at all. True when handled.
bool foldSpecial(char32_t c, SearchNormalizer::Folding& folding) {
    switch (c) {
    case 0x0640:  // tatweel
    case 0x06DE:  // start of rub el hizb
    case 0x06E9:  // place of sajdah
        return true;
    case kSuperscriptAlif:
    case kSmallWaw:
    case kSmallYeh:
    case kSmallHighNoon:
        append(folding, c);
        return true;
    case kSmallHighYeh:
        append(folding, kSmallYeh);
        return true;
    case 0x0671:  // alif wasla
    case 0x0672:  // alif with wavy hamza above
    case 0x0673:  // alif with wavy hamza below
    case 0x0675:  // high hamza alif
        append(folding, kAlif);
        return true;
    case 0x0649:  // alif maksura
    case 0x06CC:  // Farsi yeh
        append(folding, kYeh);
        return true;
    case 0x06A9:  // keheh
        append(folding, kKaf);
        return true;
    case 0x00DF:
    case 0x1E9E:
        appendLatin(folding, "ss");
        return true;
    case 0x00C6:
    case 0x00E6:
        appendLatin(folding, "ae");
        return true;
    case 0x0152:
    case 0x0153:
        appendLatin(folding, "oe");
        return true;
    case 0x00D8:
    case 0x00F8:
        appendLatin(folding, "o");
        return true;
    case 0x0110:
    case 0x0111:
        appendLatin(folding, "d");
        return true;
    case 0x0141:
    case 0x0142:
        appendLatin(folding, "l");
        return true;
    case 0x0131:
        appendLatin(folding, "i");
        return true;
    default:
        return false;
    }
}

void foldInto(char32_t c, SearchNormalizer::Folding& folding, int depth) {
    if (QChar::isSpace(c)) {
        folding.blank = folding.length == 0;
        return;
    }
    if (foldSpecial(c, folding)) return;
    switch (QChar::category(c)) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_Enclosing:
    case QChar::Other_Format:
    case QChar::Punctuation_Connector:
    case QChar::Punctuation_Dash:
    case QChar::Punctuation_Open:
    case QChar::Punctuation_Close:
    case QChar::Punctuation_InitialQuote:
    case QChar::Punctuation_FinalQuote:
    case QChar::Punctuation_Other:
    case QChar::Symbol_Modifier:
        return;
    case QChar::Number_DecimalDigit:
        if (const int digit = QChar::digitValue(c); digit >= 0) {
            append(folding, static_cast<char32_t>(u'0' + digit));
            return;
        }
        break;
    default:
        break;
    }
    if (depth < kMaxDepth && QChar::decompositionTag(c) != QChar::NoDecomposition) {
        const QString parts = QChar::decomposition(c);
        for (qsizetype i = 0; i < parts.size(); ++i) {
            char32_t part = parts[i].unicode();
            if (QChar::isHighSurrogate(part) && i + 1 < parts.size() && parts[i + 1].isLowSurrogate()) {
                part = QChar::surrogateToUcs4(parts[i].unicode(), parts[i + 1].unicode());
                ++i;
            }
            // A no-break space decomposes to a blank; the blanks inside a ligature of words are dropped.
            if (QChar::isSpace(part)) {
                folding.blank = folding.length == 0;
                continue;
            }
            foldInto(part, folding, depth + 1);
        }
        return;
    }
    append(folding, QChar::toCaseFolded(c));
}

const std::vector<SearchNormalizer::Folding>& foldingTable() {
    static const std::vector<SearchNormalizer::Folding> table = [] {
        std::vector<SearchNormalizer::Folding> built(kTableSize);
        for (char32_t c = 0; c < kTableSize; ++c) {
            // Lone surrogates never reach the table; they fold to themselves below.
            if (!QChar::isSurrogate(c)) foldInto(c, built[c], 0);
        }
        return built;
    }();
    return table;
}

}  // namespace

SearchNormalizer::Folding SearchNormalizer::foldCodePoint(char32_t codePoint) {
    if (codePoint < kTableSize && !QChar::isSurrogate(codePoint)) return foldingTable()[codePoint];
    Folding folding;
    if (QChar::isSurrogate(codePoint)) {
        append(folding, codePoint);
    } else {
        foldInto(codePoint, folding, 0);
    }
    return folding;
}

char16_t SearchNormalizer::optionalLetter(char16_t folded) {
    switch (folded) {
    case kSuperscriptAlif: return kAlif;
    case kSmallWaw: return kWaw;
    case kSmallYeh: return kYeh;
    case kSmallHighNoon: return kNoon;
    default: return 0;
    }
}

char16_t SearchNormalizer::optionalFormOf(char16_t letter) {
    switch (letter) {
    case kAlif: return kSuperscriptAlif;
    case kWaw: return kSmallWaw;
    case kYeh: return kSmallYeh;
    case kNoon: return kSmallHighNoon;
    default: return 0;
    }
}

void SearchNormalizer::foldAppend(QStringView text, int32_t sourceOffset, Mapped& out) {
    const std::vector<Folding>& table = foldingTable();
    const qsizetype start = out.text.size();
    // The first blank of a run of blanks and vanished characters, -1 when none is pending.
    int32_t pendingBlank = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype first = i;
        char32_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i].unicode(), text[i + 1].unicode());
            ++i;
        }
        const Folding folding = c < kTableSize && !QChar::isSurrogate(c) ? table[c] : foldCodePoint(c);
        const auto source = static_cast<int32_t>(first) + sourceOffset;
        if (folding.blank) {
            if (pendingBlank < 0) pendingBlank = source;
            continue;
        }
        if (folding.length == 0) continue;
        if (pendingBlank >= 0 && out.text.size() > start) {
            out.text.append(u' ');
            out.sourceIndex.push_back(pendingBlank);
        }
        pendingBlank = -1;
        for (int k = 0; k < folding.length; ++k) {
            out.text.append(QChar(folding.units[k]));
            out.sourceIndex.push_back(source);
        }
    }
}

QString SearchNormalizer::fold(QStringView text) {
    Mapped mapped;
    foldAppend(text, 0, mapped);
    return mapped.text;
}

QString SearchNormalizer::foldQuery(QStringView query) {
    QString folded = fold(query);
    folded.removeIf([](QChar c) { return isOptional(c.unicode()); });
    // Removing an optional letter that stood alone between blanks leaves two blanks, or one at an end.
    return folded.simplified();
}

}  // namespace lumora
