#include "tools/wordbywordbuilder.h"

#include <QStringList>
#include <algorithm>

#include "codec/suracatalogue.h"
#include "tools/textpackagebuilder.h"

namespace lumora::pack {

namespace {

constexpr char16_t kBullet = 0x2022;

Error glossError(const QString& what) {
    return Error{0, "WordByWordBuilder", what.toStdString()};
}

// The first verse of a sura's text file: sura 1's file starts at verse 2.
int firstVerseOfFile(int sura) {
    return sura == 1 ? 2 : 1;
}

}  // namespace

int WordByWordBuilder::wordCount(const QString& verse) {
    const QString trimmed = verse.trimmed();
    return trimmed.isEmpty() ? 0 : static_cast<int>(trimmed.split(QChar(u' ')).size());
}

Result<void> WordByWordBuilder::checkLine(const QString& line, const QString& arabicVerse) {
    if (!line.endsWith(QChar(u'|'))) {
        return glossError(QStringLiteral("the line does not end with \"|\""));
    }
    QStringList items = line.split(QChar(u'|'));
    items.removeLast();  // the empty text after the last "|"
    int covered = 0;
    for (const QString& item : items) {
        const qsizetype bullet = item.indexOf(QChar(kBullet));
        if (bullet <= 0 || item.indexOf(QChar(kBullet), bullet + 1) >= 0) {
            return glossError(
                QStringLiteral("item \"%1\" is not a count, one U+2022 and a meaning").arg(item));
        }
        bool isNumber = false;
        const QString countText = item.left(bullet);
        const int count = countText.toInt(&isNumber);
        if (!isNumber || count < 0 || countText.trimmed() != countText || countText.startsWith(QChar(u'+'))) {
            return glossError(QStringLiteral("item \"%1\" does not start with a count").arg(item));
        }
        const QString meaning = item.mid(bullet + 1);
        if (meaning.trimmed().isEmpty()) {
            return glossError(QStringLiteral("item \"%1\" has no meaning").arg(item));
        }
        // The page builder turns double quotes into apostrophes, so a meaning with one would not be shown
        // as written.
        if (meaning.contains(QChar(u'"'))) {
            return glossError(QStringLiteral("item \"%1\" holds a double quote").arg(item));
        }
        covered += count + 1;
    }
    const int words = wordCount(arabicVerse);
    if (covered != words) {
        return glossError(
            QStringLiteral("the groups cover %1 words, the verse has %2").arg(covered).arg(words));
    }
    return {};
}

Result<std::vector<PackageEntry>> WordByWordBuilder::entries(const VerseTextSource& arabic,
                                                             const std::map<int, QString>& glossFiles) {
    for (const auto& [sura, text] : glossFiles) {
        if (sura < 1 || sura > arabic.suraCount()) {
            return glossError(QStringLiteral("glosses for sura %1, which the text does not have").arg(sura));
        }
    }
    std::vector<PackageEntry> result;
    for (int sura = 1; sura <= arabic.suraCount(); ++sura) {
        const std::vector<QString>& verses = arabic.verses(sura);
        const int first = firstVerseOfFile(sura);
        const int lineCount = std::max(0, static_cast<int>(verses.size()) - (first - 1));
        const std::string entryName = SuraCatalogue::threeDigit(sura) + ".txt";
        QString content;
        const auto glosses = glossFiles.find(sura);
        if (glosses == glossFiles.end()) {
            content.fill(QChar(u'\n'), lineCount);
        } else {
            QString text = glosses->second;
            text.remove(QChar(u'\r'));
            if (text.endsWith(QChar(u'\n'))) {
                text.chop(1);
            }
            const QStringList lines = text.isEmpty() ? QStringList() : text.split(QChar(u'\n'));
            if (lines.size() != lineCount) {
                return glossError(QStringLiteral("%1: %2 lines, but the sura's text file has %3")
                                      .arg(QString::fromStdString(entryName))
                                      .arg(lines.size())
                                      .arg(lineCount));
            }
            for (int i = 0; i < lineCount; ++i) {
                const int verse = first + i;
                const Result<void> checked = checkLine(lines[i], verses[static_cast<size_t>(verse - 1)]);
                if (!checked) {
                    return glossError(QStringLiteral("%1 line %2 (verse %3): %4")
                                          .arg(QString::fromStdString(entryName))
                                          .arg(i + 1)
                                          .arg(verse)
                                          .arg(QString::fromStdString(checked.error().description)));
                }
                content += lines[i];
                content += QChar(u'\n');
            }
        }
        result.push_back(PackageEntry{entryName, TextPackageBuilder::utf16Le(content)});
    }
    return result;
}

}  // namespace lumora::pack
