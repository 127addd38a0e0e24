#include "search/verseindex.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <array>
#include <span>

#include "codec/archivereader.h"
#include "codec/suracatalogue.h"
#include "text/installedtexts.h"
#include "text/packageconfig.h"
#include "text/packagetext.h"

namespace lumora {

namespace {

constexpr QChar kVerseEnd = u'\n';
constexpr char16_t kByteOrderMark = 0xFEFF;
// Matching follows at most this many ways through the optional letters at once; real texts never have
// more than two optional letters in a row, so a longer run in a damaged text only loses matches.
constexpr size_t kMaxStates = 32;

QString packagePath(const QString& appFolder, const QString& name) {
    return appFolder + QStringLiteral("/data/tdata/") + name + QStringLiteral(".dat");
}

QStringList sortedNames(const QString& appFolder) {
    QStringList names = InstalledTexts::scan(appFolder);
    names.sort(Qt::CaseInsensitive);
    return names;
}

// A line as shown: without the CR of a CR LF ending and without a byte order mark.
QStringView cleanLine(QStringView line) {
    if (line.endsWith(u'\r')) line.chop(1);
    if (line.startsWith(QChar(kByteOrderMark))) line = line.mid(1);
    return line;
}

// The end (exclusive, in folded units) of a match of query starting at `start`, or -1. An optional letter
// of the text either stands for the query's next letter or is passed by, so several query positions may be
// alive at once; they are kept in ascending order without repeats.
qsizetype matchEnd(QStringView text, qsizetype start, QStringView query) {
    std::array<int32_t, kMaxStates> states{};
    std::array<int32_t, kMaxStates> next{};
    size_t count = 1;
    const auto queryLength = static_cast<int32_t>(query.size());
    for (qsizetype k = start; k < text.size(); ++k) {
        const char16_t t = text[k].unicode();
        if (t == kVerseEnd) return -1;
        const char16_t optional = SearchNormalizer::optionalLetter(t);
        size_t nextCount = 0;
        auto add = [&](int32_t position) {
            if (nextCount > 0 && next[nextCount - 1] == position) return;
            if (nextCount < kMaxStates) next[nextCount++] = position;
        };
        for (size_t s = 0; s < count; ++s) {
            const int32_t j = states[s];
            if (optional != 0) {
                add(j);
                if (query[j].unicode() == optional) add(j + 1);
            } else if (query[j].unicode() == t) {
                add(j + 1);
            }
        }
        if (nextCount == 0) return -1;
        if (next[nextCount - 1] == queryLength) return k + 1;
        states = next;
        count = nextCount;
    }
    return -1;
}

bool trailingNoise(QChar c) { return c.isSpace() || c.isPunct(); }

}  // namespace

int64_t VerseIndex::verseCount() const {
    int64_t count = 0;
    for (const Text& text : m_data) count += static_cast<int64_t>(text.verses.size());
    return count;
}

QString VerseIndex::signature(const QString& appFolder) {
    QStringList parts;
    for (const QString& name : sortedNames(appFolder)) {
        const QFileInfo info(packagePath(appFolder, name));
        parts.append(QStringLiteral("%1|%2|%3")
                         .arg(name)
                         .arg(info.size())
                         .arg(info.lastModified().toMSecsSinceEpoch()));
    }
    return parts.join(u'\n');
}

void VerseIndex::addVerse(Text& text, int sura, int verse, QStringView source) {
    Verse entry;
    entry.sura = static_cast<int16_t>(sura);
    entry.verse = static_cast<int16_t>(verse);
    entry.sourceStart = static_cast<int32_t>(text.source.size());
    text.source.append(source);
    entry.sourceEnd = static_cast<int32_t>(text.source.size());
    text.source.append(kVerseEnd);
    entry.foldedStart = static_cast<int32_t>(text.folded.text.size());
    SearchNormalizer::foldAppend(source, entry.sourceStart, text.folded);
    entry.foldedEnd = static_cast<int32_t>(text.folded.text.size());
    text.folded.text.append(kVerseEnd);
    text.folded.sourceIndex.push_back(entry.sourceEnd);
    text.longestFolded = std::max(text.longestFolded, entry.foldedEnd - entry.foldedStart);
    text.verses.push_back(entry);
}

Result<VerseIndex> VerseIndex::build(const QString& appFolder) { return build(appFolder, BuildControl{}); }

Result<VerseIndex> VerseIndex::build(const QString& appFolder, const BuildControl& control) {
    VerseIndex index;
    index.m_signature = signature(appFolder);
    const QStringList names = sortedNames(appFolder);
    const int totalSteps = static_cast<int>(names.size()) * SuraCatalogue::kSuraCount;
    int done = 0;
    auto cancelled = [&control] { return control.cancel != nullptr && control.cancel->load(); };

    for (const QString& name : names) {
        QFile file(packagePath(appFolder, name));
        if (!file.open(QIODevice::ReadOnly)) {
            index.m_unreadable.append(QStringLiteral("%1: %2").arg(name, file.errorString()));
            done += SuraCatalogue::kSuraCount;
            continue;
        }
        const QByteArray bytes = file.readAll();
        const std::span<const uint8_t> archive(reinterpret_cast<const uint8_t*>(bytes.constData()),
                                               static_cast<size_t>(bytes.size()));
        auto entry = [&archive](const char* entryName) {
            return ArchiveReader::extractFromBytes(archive, entryName, false);
        };

        PackageSettings settings;
        if (Result<ExtractedEntry> config = entry("config.ini"); config && config.value().found) {
            // A bad value keeps what was read before it; the texts are still worth searching.
            (void)PackageConfig::parse(config.value().bytes).readInto(settings, name);
        } else {
            settings.windowCaption = name;
        }
        TextInfo info{name, settings.windowCaption.isEmpty() ? name : settings.windowCaption, settings.rightToLeft};
        Text text;

        // Verse 1 of sura 1 is the opening formula, which the package keeps apart from the sura file.
        Result<ExtractedEntry> opening = entry("bismi1.txt");
        if (opening && !opening.value().found) opening = entry("bismi.txt");
        if (opening && opening.value().found) {
            const QString formula = PackageText::decode(opening.value().bytes, settings.isUnicode);
            const bool notAvailable = !settings.isUnicode && formula.startsWith(QStringLiteral("NA"));
            if (!notAvailable && !formula.trimmed().isEmpty()) addVerse(text, 1, 1, cleanLine(formula));
        }

        QString failure;
        for (int sura = 1; sura <= SuraCatalogue::kSuraCount; ++sura) {
            if (cancelled()) return Error{kCancelled, "VerseIndex", "The search index was not built: cancelled."};
            if (control.progress) control.progress(++done, totalSteps);
            if (!failure.isEmpty()) continue;
            const std::string entryName = PackageText::suraEntryName(sura).toStdString();
            Result<ExtractedEntry> suraFile = ArchiveReader::extractFromBytes(archive, entryName, false);
            if (!suraFile) {
                failure = QString::fromStdString(ArchiveReader::failureMessage(suraFile.error()));
                continue;
            }
            // A text may cover only some suras.
            if (!suraFile.value().found) continue;
            const QString decoded = PackageText::decode(suraFile.value().bytes, settings.isUnicode);
            const QStringList lines = PackageText::splitLines(decoded);
            // Sura files start with verse 2 in sura 1 (verse 1 is the formula above), else with verse 1.
            const int firstVerse = sura == 1 ? 2 : 1;
            const int lastVerse = SuraCatalogue::verseNo(sura) - (sura == 1 || sura == 9 ? 0 : 1);
            for (qsizetype i = 0; i < lines.size() && firstVerse + i <= lastVerse; ++i) {
                const QStringView line = cleanLine(lines[i]);
                if (!line.trimmed().isEmpty()) addVerse(text, sura, firstVerse + static_cast<int>(i), line);
            }
        }
        if (!failure.isEmpty()) index.m_unreadable.append(QStringLiteral("%1: %2").arg(name, failure));
        if (text.verses.empty()) continue;
        index.m_texts.push_back(std::move(info));
        index.m_data.push_back(std::move(text));
    }
    return index;
}

VerseIndex::Results VerseIndex::search(QStringView query, int limit, int onlyText) const {
    Results results;
    const QString folded = SearchNormalizer::foldQuery(query);
    if (folded.isEmpty()) {
        results.emptyQuery = true;
        return results;
    }
    for (int t = 0; t < static_cast<int>(m_data.size()); ++t) {
        if (onlyText < 0 || onlyText == t) searchText(t, folded, std::max(limit, 0), results);
    }
    return results;
}

void VerseIndex::searchText(int textIndex, const QString& query, int limit, Results& results) const {
    const Text& text = m_data[static_cast<size_t>(textIndex)];
    if (query.size() > text.longestFolded) return;
    const QStringView folded = text.folded.text;
    const char16_t first = query[0].unicode();
    // The next place of the first letter, and of an optional letter standing for it, each found with
    // indexOf and kept until passed.
    const char16_t optionalFirst = SearchNormalizer::optionalFormOf(first);
    qsizetype nextLetter = -2;
    qsizetype nextOptional = optionalFirst != 0 ? -2 : -1;
    size_t verse = 0;
    qsizetype i = 0;
    while (i < folded.size()) {
        if (nextLetter != -1 && nextLetter < i) nextLetter = folded.indexOf(QChar(first), i);
        if (nextOptional != -1 && nextOptional < i) nextOptional = folded.indexOf(QChar(optionalFirst), i);
        if (nextLetter < 0 && nextOptional < 0) break;
        i = nextLetter < 0 ? nextOptional : nextOptional < 0 ? nextLetter : std::min(nextLetter, nextOptional);
        const qsizetype end = matchEnd(folded, i, query);
        if (end < 0) {
            ++i;
            continue;
        }
        while (text.verses[verse].foldedEnd < i) ++verse;
        const Verse& v = text.verses[verse];
        ++results.total;
        if (static_cast<int>(results.hits.size()) < limit) {
            const std::vector<int32_t>& sourceOf = text.folded.sourceIndex;
            const int32_t start = sourceOf[static_cast<size_t>(i)];
            // The match takes the marks that follow its last letter, up to the next folded character.
            int32_t stop = end < v.foldedEnd ? sourceOf[static_cast<size_t>(end)] : v.sourceEnd;
            stop = std::max(stop, sourceOf[static_cast<size_t>(end - 1)] + 1);
            while (stop > start + 1 && trailingNoise(text.source[stop - 1])) --stop;
            results.hits.push_back(Hit{textIndex, v.sura, v.verse, start - v.sourceStart, stop - start,
                                       static_cast<int>(verse)});
        }
        i = v.foldedEnd + 1;
    }
}

QStringView VerseIndex::verseText(const Hit& hit) const {
    if (hit.text < 0 || hit.text >= static_cast<int>(m_data.size())) return {};
    const Text& text = m_data[static_cast<size_t>(hit.text)];
    if (hit.entry < 0 || hit.entry >= static_cast<int>(text.verses.size())) return {};
    const Verse& verse = text.verses[static_cast<size_t>(hit.entry)];
    return QStringView(text.source).mid(verse.sourceStart, verse.sourceEnd - verse.sourceStart);
}

}  // namespace lumora
