#include "text/packageconfig.h"

#include "settings/settingtext.h"
#include "text/packagetext.h"

namespace lumora {

namespace {

const QString kMain = QStringLiteral("Main");

bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }

QString trimBlanks(const QString& text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && isBlank(text[first])) ++first;
    while (last > first && isBlank(text[last - 1])) --last;
    return text.mid(first, last - first);
}

}  // namespace

PackageConfig PackageConfig::parse(const std::vector<uint8_t>& bytes) {
    return parse(PackageText::decodeConfiguration(bytes));
}

PackageConfig PackageConfig::parse(const QString& text) {
    PackageConfig config;
    config.m_ini = IniFile::parse(text);
    return config;
}

QString PackageConfig::readConfigValue(const QString& key, const QString& defaultValue) const {
    const std::optional<QString> raw = m_ini.value(kMain, key);
    if (!raw) return defaultValue;
    QString value = trimBlanks(*raw);
    if (value.size() >= 2 && value.front() == u'"' && value.back() == u'"') value = value.mid(1, value.size() - 2);
    return value;
}

QString PackageConfig::readConfigSection(const QString& section) const {
    QString text;
    for (const QString& entry : m_ini.sectionEntries(section)) {
        text += entry;
        text += QChar(u'\0');
    }
    return text;
}

Result<void> PackageConfig::readInto(PackageSettings& settings, const QString& textName) const {
    auto readBoolean = [this](const QString& key, bool& target) -> Result<void> {
        const std::optional<bool> value = SettingText::toBoolean(readConfigValue(key, QStringLiteral("false")));
        if (!value) return Error{kTypeMismatch, "PackageConfig", "Type mismatch"};
        target = *value;
        return {};
    };
    if (auto r = readBoolean(QStringLiteral("IsUnicode"), settings.isUnicode); !r) return r;
    if (auto r = readBoolean(QStringLiteral("IsRTL"), settings.rightToLeft); !r) return r;
    if (auto r = readBoolean(QStringLiteral("MoreInfoAvailable"), settings.moreInfoAvailable); !r) return r;
    settings.buttonCaption = readConfigValue(QStringLiteral("ButtonCaption"), textName);
    settings.windowCaption = readConfigValue(QStringLiteral("WindowCaption"), textName);
    settings.fontFace = readConfigValue(QStringLiteral("Font"), QString());
    settings.wordByWordDataFile = readConfigValue(QStringLiteral("WordByWordDataFile"), QString());
    if (auto r = readBoolean(QStringLiteral("FontUsePercentage"), settings.fontUsePercentage); !r) return r;
    settings.additionalStyles = readConfigValue(QStringLiteral("AdditionalStyles"), QString());
    settings.infoText = readConfigSection(QStringLiteral("info"));
    return {};
}

}  // namespace lumora
