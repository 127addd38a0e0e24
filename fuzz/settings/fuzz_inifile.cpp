// Any bytes read as an INI document give a document that writes back to a stable text, and every value
// in it goes through the setting-text readers without harm.
#include <cstdint>
#include <cstdlib>

#include "settings/inifile.h"
#include "settings/settingtext.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace lumora;
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    (void)IniFile::parse(text).toText();
    const IniFile doc = IniFile::parse(text, true);
    const QString written = doc.toText();
    if (IniFile::parse(written, true).toText() != written) {
        std::abort();
    }
    for (const QString& section : doc.sectionNames()) {
        for (const QString& entry : doc.sectionEntries(section)) {
            const QString value = entry.mid(entry.indexOf(u'=') + 1);
            (void)SettingText::toBoolean(value);
            (void)SettingText::toInteger(value);
            (void)SettingText::toRoundedInteger(value);
            (void)SettingText::toColour(value);
            if (const std::optional<double> real = SettingText::toReal(value)) {
                const std::optional<double> back = SettingText::toReal(SettingText::fromReal(*real));
                if (!back || (*back != *real && *back == *back)) {
                    std::abort();
                }
            }
        }
    }
    return 0;
}
