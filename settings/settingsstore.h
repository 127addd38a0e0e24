#pragma once
// Lumora's per-user settings: text values addressed by application, section and key. Each application's
// values live in one INI file, <folder>/<application>.ini (the folder defaults to
// $XDG_CONFIG_HOME/lumora, else ~/.config/lumora). Every change is written atomically, so a crash never
// leaves a half-written file behind. Reads take a default for absent sections and keys.

#include <QString>

#include "codec/result.h"

namespace lumora {

class SettingsStore {
public:
    // The default folder for the current user.
    static QString defaultFolder();

    explicit SettingsStore(QString folder = defaultFolder());

    QString folder() const { return m_folder; }
    QString filePath(const QString& application) const;

    QString get(const QString& application, const QString& section, const QString& key,
                const QString& defaultValue) const;
    Result<void> save(const QString& application, const QString& section, const QString& key,
                      const QString& value);
    // Deleting a section that does not exist is an error the caller may ignore.
    Result<void> deleteSection(const QString& application, const QString& section);
    // Removes every section of the application.
    Result<void> deleteApplication(const QString& application);
    // Copies the application's file to <file>.bak (replacing an older backup); nothing when there is no file.
    Result<void> backupApplication(const QString& application) const;

private:
    QString m_folder;
};

}  // namespace lumora
