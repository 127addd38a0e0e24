#pragma once
// Lumora's per-user settings: text values addressed by application, section and key. Each application's
// values live in one INI file, <folder>/<application>.ini (the folder defaults to
// $XDG_CONFIG_HOME/lumora, else ~/.config/lumora). Every change is written atomically, so a crash never
// leaves a half-written file behind. Reads take a default for absent sections and keys.
//
// Each read goes back to the file, so a value the user edits by hand counts from the next read; the file
// is small (a few kilobytes) and parsing it costs microseconds. Callers that read many keys at once take
// read() and look them up in the one document.

#include <QString>
#include <utility>
#include <vector>

#include "codec/result.h"
#include "settings/inifile.h"

namespace lumora {

class SettingsStore {
public:
    // Error numbers of the store's failures.
    static constexpr int32_t kErrorInvalidArgument = 5;  // absent section, unusable name
    static constexpr int32_t kErrorFileAccess = 75;      // the file cannot be read or written

    using KeyValues = std::vector<std::pair<QString, QString>>;

    // The default folder for the current user.
    static QString defaultFolder();

    explicit SettingsStore(QString folder = defaultFolder());

    QString folder() const { return m_folder; }
    QString filePath(const QString& application) const;

    QString get(const QString& application, const QString& section, const QString& key,
                const QString& defaultValue) const;
    // The application's whole document; empty when there is no file or it cannot be read.
    IniFile read(const QString& application) const;

    Result<void> save(const QString& application, const QString& section, const QString& key,
                      const QString& value);
    // Saves several keys of one section in a single atomic write, in the order given.
    Result<void> save(const QString& application, const QString& section, const KeyValues& values);
    // Deleting a section that does not exist is an error the caller may ignore.
    Result<void> deleteSection(const QString& application, const QString& section);
    // Removes every section of the application (its file). Nothing to remove is no error.
    Result<void> deleteApplication(const QString& application);
    // Copies the application's file to <file>.bak (replacing an older backup); nothing when there is no file.
    Result<void> backupApplication(const QString& application) const;

private:
    Result<IniFile> readForChange(const QString& application) const;
    Result<void> write(const QString& application, const IniFile& document) const;

    QString m_folder;
};

}  // namespace lumora
