#include "text/packagetext.h"

#include <QStringDecoder>
#include <array>

namespace lumora {

namespace {

// Windows-1252 differs from Latin-1 only in 0x80-0x9F; its five unassigned bytes map to the C1 controls
// of the same value, as the system's conversion does.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString utf16LeFrom(const std::vector<uint8_t>& bytes, size_t first) {
    if (bytes.size() <= first) return {};
    QString text(static_cast<qsizetype>((bytes.size() - first) / 2), Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    for (size_t i = first; i + 1 < bytes.size(); i += 2) {
        *out++ = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
    }
    return text;
}

}  // namespace

QString PackageText::fromUtf16Le(const std::vector<uint8_t>& bytes) { return utf16LeFrom(bytes, 0); }

QString PackageText::fromWindows1252(const std::vector<uint8_t>& bytes) {
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    for (uint8_t byte : bytes) {
        *out++ = (byte >= 0x80 && byte < 0xA0) ? kHighControls[byte - 0x80] : char16_t{byte};
    }
    return text;
}

QString PackageText::decode(const std::vector<uint8_t>& bytes, bool isUnicode) {
    return isUnicode ? fromUtf16Le(bytes) : fromWindows1252(bytes);
}

QString PackageText::decodeConfiguration(const std::vector<uint8_t>& bytes) {
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) return utf16LeFrom(bytes, 2);
    size_t first = 0;
    if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) first = 3;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QByteArrayView view(reinterpret_cast<const char*>(bytes.data()) + first,
                              static_cast<qsizetype>(bytes.size() - first));
    QString text = utf8.decode(view);
    if (!utf8.hasError()) return text;
    return fromWindows1252(bytes);
}

QStringList PackageText::splitLines(const QString& text) {
    if (text.isEmpty()) return {};
    return text.split(QChar(u'\n'));
}

QString PackageText::suraEntryName(int sura) { return QStringLiteral("%1.txt").arg(sura, 3, 10, QChar(u'0')); }

}  // namespace lumora
