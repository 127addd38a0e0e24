#pragma once
// A text package's configuration ("config.ini" in the package): values from section "Main" and the whole
// "info" section. What a pane takes from it is a PackageSettings; reading the keys can fail on a boolean
// that is neither a word nor a number, and then the keys read before it have already been applied.

#include <QString>
#include <cstdint>
#include <vector>

#include "codec/result.h"
#include "settings/inifile.h"

namespace lumora {

// What a pane takes from its package. Defaults are those of a package without configuration.
struct PackageSettings {
    bool isUnicode = false;
    bool rightToLeft = false;
    bool moreInfoAvailable = false;
    QString buttonCaption;
    QString windowCaption;
    QString fontFace;
    QString wordByWordDataFile;
    bool fontUsePercentage = false;
    QString additionalStyles;
    // The "info" entries, each "key=value" followed by a NUL character.
    QString infoText;
};

class PackageConfig {
public:
    // A configuration value that is not "true"/"false" in any letter case nor a number.
    static constexpr int32_t kTypeMismatch = 13;

    static PackageConfig parse(const std::vector<uint8_t>& bytes);
    static PackageConfig parse(const QString& text);

    // The value of key in section "Main" with surrounding blanks removed and one pair of enclosing double
    // quotes taken off; defaultValue when the key is absent, an empty text when it is present but empty.
    QString readConfigValue(const QString& key, const QString& defaultValue) const;
    // The whole section as "key=value" entries, each followed by a NUL character.
    QString readConfigSection(const QString& section) const;

    // Reads, in this order, IsUnicode, IsRTL, MoreInfoAvailable, ButtonCaption, WindowCaption, Font,
    // WordByWordDataFile, FontUsePercentage, AdditionalStyles (captions default to textName), then the
    // "info" section, storing each into settings as it is read. A bad boolean stops the reading with a
    // kTypeMismatch error; what was read before it stays stored.
    Result<void> readInto(PackageSettings& settings, const QString& textName) const;

private:
    IniFile m_ini;
};

}  // namespace lumora
