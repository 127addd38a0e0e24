#include "tools/textpackagebuilder.h"

#include "codec/suracatalogue.h"

namespace lumora::pack {

namespace {

constexpr char16_t kSoftHyphen = 0x00AD;

std::vector<uint8_t> toBytes(const QByteArray& bytes) {
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

}  // namespace

QString TextPackageBuilder::mapOpenTanween(const QString& text) {
    QString mapped = text;
    for (QChar& c : mapped) {
        switch (c.unicode()) {
            case 0x0657:
                c = QChar(0x08F0);
                break;
            case 0x065E:
                c = QChar(0x08F1);
                break;
            case 0x0656:
                c = QChar(0x08F2);
                break;
            default:
                break;
        }
    }
    return mapped;
}

QString TextPackageBuilder::prepareVerse(const QString& text, TextKind kind) {
    QString verse = text;
    verse.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    verse.replace(QChar(u'\r'), QChar(u' '));
    verse.replace(QChar(u'\n'), QChar(u' '));
    if (kind == TextKind::Arabic) {
        return mapOpenTanween(verse);
    }
    verse.remove(QChar(kSoftHyphen));
    verse.replace(QChar(u'\t'), QChar(u' '));
    return verse;
}

std::vector<uint8_t> TextPackageBuilder::utf16Le(const QString& text) {
    std::vector<uint8_t> bytes;
    bytes.reserve(static_cast<size_t>(text.size()) * 2);
    for (QChar c : text) {
        bytes.push_back(static_cast<uint8_t>(c.unicode() & 0xFF));
        bytes.push_back(static_cast<uint8_t>(c.unicode() >> 8));
    }
    return bytes;
}

std::vector<PackageEntry> TextPackageBuilder::entries(const VerseTextSource& source, TextKind kind,
                                                      const QByteArray& configIni) {
    std::vector<PackageEntry> result;
    result.push_back(PackageEntry{"config.ini", toBytes(configIni)});
    const QString formula = source.suraCount() > 0 && !source.verses(1).empty()
                                ? prepareVerse(source.verse(1, 1), kind)
                                : QString();
    result.push_back(PackageEntry{"bismi.txt", utf16Le(formula)});
    result.push_back(PackageEntry{"bismi1.txt", utf16Le(formula)});
    for (int sura = 1; sura <= source.suraCount(); ++sura) {
        QString text;
        const std::vector<QString>& verses = source.verses(sura);
        for (size_t i = sura == 1 ? 1 : 0; i < verses.size(); ++i) {
            text += prepareVerse(verses[i], kind);
            text += QChar(u'\n');
        }
        result.push_back(PackageEntry{SuraCatalogue::threeDigit(sura) + ".txt", utf16Le(text)});
    }
    return result;
}

}  // namespace lumora::pack
