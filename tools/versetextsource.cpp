#include "tools/versetextsource.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

#include "codec/suracatalogue.h"

namespace lumora::pack {

namespace {

Error sourceError(const QString& sourceName, const QString& what) {
    return Error{0, "VerseTextSource", QStringLiteral("%1: %2").arg(sourceName, what).toStdString()};
}

}  // namespace

std::vector<int> VerseTextSource::quranVerseCounts() {
    // The timing tables count one record more than the sura has verses (record 0, the opening formula),
    // except suras 1 (whose verse 1 is the formula) and 9 (which has none).
    std::vector<int> counts;
    for (int sura = 1; sura <= SuraCatalogue::kSuraCount; ++sura) {
        const int records = SuraCatalogue::verseNo(sura);
        counts.push_back(sura == 1 || sura == 9 ? records : records - 1);
    }
    return counts;
}

Result<VerseTextSource> VerseTextSource::parse(const QByteArray& json, const QString& field,
                                               const std::vector<int>& expectedVerseCounts,
                                               const QString& sourceName) {
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        return sourceError(sourceName, QStringLiteral("not valid JSON (%1 at byte %2)")
                                           .arg(parseError.errorString())
                                           .arg(parseError.offset));
    }
    if (!document.isArray()) {
        return sourceError(sourceName, QStringLiteral("expected an array of suras"));
    }
    const QJsonArray suras = document.array();
    if (static_cast<size_t>(suras.size()) != expectedVerseCounts.size()) {
        return sourceError(
            sourceName,
            QStringLiteral("has %1 suras, expected %2").arg(suras.size()).arg(expectedVerseCounts.size()));
    }

    VerseTextSource source;
    source.m_suras.reserve(expectedVerseCounts.size());
    for (qsizetype i = 0; i < suras.size(); ++i) {
        const int sura = static_cast<int>(i) + 1;
        const QJsonObject suraObject = suras.at(i).toObject();
        if (suraObject.value(QStringLiteral("id")).toInt(-1) != sura) {
            return sourceError(sourceName, QStringLiteral("entry %1 is not sura %1").arg(sura));
        }
        const QJsonValue versesValue = suraObject.value(QStringLiteral("verses"));
        if (!versesValue.isArray()) {
            return sourceError(sourceName, QStringLiteral("sura %1 has no list of verses").arg(sura));
        }
        const QJsonArray verses = versesValue.toArray();
        const int expected = expectedVerseCounts[static_cast<size_t>(i)];
        if (verses.size() != expected) {
            return sourceError(sourceName, QStringLiteral("sura %1 has %2 verses, expected %3")
                                               .arg(sura)
                                               .arg(verses.size())
                                               .arg(expected));
        }
        std::vector<QString> texts;
        texts.reserve(static_cast<size_t>(expected));
        for (qsizetype k = 0; k < verses.size(); ++k) {
            const int verse = static_cast<int>(k) + 1;
            const QJsonObject verseObject = verses.at(k).toObject();
            if (verseObject.value(QStringLiteral("id")).toInt(-1) != verse) {
                return sourceError(sourceName,
                                   QStringLiteral("sura %1: entry %2 is not verse %2").arg(sura).arg(verse));
            }
            const QJsonValue text = verseObject.value(field);
            if (!text.isString()) {
                return sourceError(
                    sourceName,
                    QStringLiteral("sura %1 verse %2 has no text in \"%3\"").arg(sura).arg(verse).arg(field));
            }
            texts.push_back(text.toString());
        }
        source.m_suras.push_back(std::move(texts));
    }
    return source;
}

Result<VerseTextSource> VerseTextSource::load(const QString& path, const QString& field,
                                              const std::vector<int>& expectedVerseCounts) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return sourceError(path, QStringLiteral("cannot read (%1)").arg(file.errorString()));
    }
    return parse(file.readAll(), field, expectedVerseCounts, path);
}

}  // namespace lumora::pack
