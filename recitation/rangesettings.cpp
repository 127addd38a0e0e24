#include "recitation/rangesettings.h"

#include <optional>

#include "settings/settingsstore.h"
#include "settings/settingtext.h"

namespace lumora {

const QString RangeSettings::kApplication = QStringLiteral("ZI4");
const QString RangeSettings::kSection = QStringLiteral("RangeModeSetup");

namespace {

// "Type mismatch": a stored text that is not the number or boolean it should be.
constexpr int32_t kTypeMismatch = 13;

Error mismatch(const QString& key, int step) {
    return Error{kTypeMismatch, "RangeSettings",
                 ("Type mismatch in \"" + key + "\"").toStdString(), step};
}

}  // namespace

Result<RangeSettings> RangeSettings::read(const SettingsStore& store) {
    RangeSettings settings;
    const auto text = [&](const char* key, const char* defaultText) {
        return store.get(kApplication, kSection, QString::fromLatin1(key), QString::fromLatin1(defaultText));
    };
    struct NumberKey {
        const char* key;
        const char* defaultText;
        int32_t* target;
    };
    const NumberKey numbers[] = {{"NoofTimes", "1", &settings.noofTimes},
                                 {"Pause", "1", &settings.pause},
                                 {"PauseBetweenVerses", "0", &settings.pauseBetweenVerses}};
    int step = 0;
    for (const NumberKey& n : numbers) {
        ++step;
        const std::optional<int32_t> value = SettingText::toRoundedInteger(text(n.key, n.defaultText));
        if (!value) return mismatch(QString::fromLatin1(n.key), step);
        *n.target = *value;
    }
    struct BooleanKey {
        const char* key;
        const char* defaultText;
        bool* target;
    };
    const BooleanKey booleans[] = {{"NextRange", "1", &settings.nextRange},
                                   {"NextSura", "1", &settings.nextSura},
                                   {"RestartSura", "0", &settings.restartSura},
                                   {"StopRecitation", "0", &settings.stopRecitation}};
    for (const BooleanKey& b : booleans) {
        ++step;
        const std::optional<bool> value = SettingText::toBoolean(text(b.key, b.defaultText));
        if (!value) return mismatch(QString::fromLatin1(b.key), step);
        *b.target = *value;
    }
    return settings;
}

Result<RangeSettings> RangeSettings::fromEntry(const RangeSetupEntry& entry) {
    RangeSettings settings;
    if (entry.unlimited) {
        settings.noofTimes = 0;
    } else {
        const std::optional<int32_t> times = SettingText::toRoundedInteger(entry.timesText);
        if (!times) return mismatch(QStringLiteral("NoofTimes"), 1);
        settings.noofTimes = *times;
    }
    const std::optional<int32_t> pause = SettingText::toRoundedInteger(entry.pauseText);
    if (!pause) return mismatch(QStringLiteral("Pause"), 2);
    settings.pause = *pause;
    const std::optional<int32_t> between = SettingText::toRoundedInteger(entry.pauseBetweenVersesText);
    if (!between) return mismatch(QStringLiteral("PauseBetweenVerses"), 3);
    settings.pauseBetweenVerses = *between;
    settings.nextRange = entry.nextRange;
    settings.nextSura = entry.afterSura == 0;
    settings.restartSura = entry.afterSura == 1;
    settings.stopRecitation = entry.afterSura == 2;
    return settings;
}

Result<void> RangeSettings::save(SettingsStore& store, const RangeSetupEntry& entry) {
    const std::pair<const char*, QString> values[] = {
        {"NoofTimes", entry.unlimited ? QStringLiteral("0") : entry.timesText},
        {"Pause", entry.pauseText},
        {"PauseBetweenVerses", entry.pauseBetweenVersesText},
        {"NextRange", SettingText::fromBoolean(entry.nextRange)},
        {"NextSura", SettingText::fromBoolean(entry.afterSura == 0)},
        {"RestartSura", SettingText::fromBoolean(entry.afterSura == 1)},
        {"StopRecitation", SettingText::fromBoolean(entry.afterSura == 2)},
    };
    std::optional<Error> firstFailure;
    for (const auto& [key, value] : values) {
        Result<void> saved = store.save(kApplication, kSection, QString::fromLatin1(key), value);
        if (!saved && !firstFailure) firstFailure = saved.error();
    }
    if (firstFailure) return *firstFailure;
    return {};
}

}  // namespace lumora
