#include "settings/settingsstore.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <optional>

namespace lumora {

namespace {

const char* const kSource = "SettingsStore";

Error storeError(int32_t number, const QString& description)
{
    return Error{number, kSource, description.toStdString(), 0};
}

// An application name becomes a file name: it may not reach outside the folder.
bool isValidApplication(const QString& application)
{
    return !application.isEmpty() && application != QLatin1String(".") && application != QLatin1String("..") &&
           !application.contains(u'/') && !application.contains(QChar(0));
}

Result<void> checkApplication(const QString& application)
{
    if (!isValidApplication(application)) {
        return storeError(SettingsStore::kErrorInvalidArgument,
                          QStringLiteral("\"%1\" cannot name a settings application").arg(application));
    }
    return {};
}

Result<void> checkNames(const QString& application, const QString& section)
{
    if (Result<void> checked = checkApplication(application); !checked) {
        return checked;
    }
    if (!IniFile::isValidSectionName(section)) {
        return storeError(SettingsStore::kErrorInvalidArgument,
                          QStringLiteral("\"%1\" cannot name a settings section").arg(section));
    }
    return {};
}

Result<void> writeAtomically(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        return storeError(SettingsStore::kErrorFileAccess,
                          QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
    }
    return {};
}

// The whole file, or nullopt when there is none; a file that exists but cannot be read is an error.
Result<std::optional<QByteArray>> readFile(const QString& path)
{
    QFile file(path);
    if (!file.exists()) {
        return std::optional<QByteArray>();
    }
    if (!file.open(QIODevice::ReadOnly)) {
        return storeError(SettingsStore::kErrorFileAccess, QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()));
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        return storeError(SettingsStore::kErrorFileAccess, QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()));
    }
    return std::optional<QByteArray>(std::move(bytes));
}

}  // namespace

QString SettingsStore::defaultFolder()
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    // A relative value is invalid by the XDG rules and is ignored like an unset one.
    if (base.isEmpty() || QDir::isRelativePath(base)) {
        base = QDir::homePath() + QStringLiteral("/.config");
    }
    return base + QStringLiteral("/lumora");
}

SettingsStore::SettingsStore(QString folder) : m_folder(std::move(folder)) {}

QString SettingsStore::filePath(const QString& application) const
{
    return m_folder + u'/' + application + QStringLiteral(".ini");
}

QString SettingsStore::get(const QString& application, const QString& section, const QString& key,
                           const QString& defaultValue) const
{
    if (!isValidApplication(application)) {
        return defaultValue;
    }
    return read(application).value(section, key, defaultValue);
}

IniFile SettingsStore::read(const QString& application) const
{
    if (!isValidApplication(application)) {
        return IniFile();
    }
    return IniFile::load(filePath(application), true);
}

Result<IniFile> SettingsStore::readForChange(const QString& application) const
{
    // A file that exists but cannot be read must not be replaced by a document holding only the change.
    Result<std::optional<QByteArray>> bytes = readFile(filePath(application));
    if (!bytes) {
        return bytes.error();
    }
    if (!bytes.value()) {
        return IniFile();
    }
    return IniFile::parse(QString::fromUtf8(*bytes.value()), true);
}

Result<void> SettingsStore::write(const QString& application, const IniFile& document) const
{
    if (!QDir().mkpath(m_folder)) {
        return storeError(kErrorFileAccess, QStringLiteral("Cannot create the folder %1").arg(m_folder));
    }
    return writeAtomically(filePath(application), document.toText().toUtf8());
}

Result<void> SettingsStore::save(const QString& application, const QString& section, const QString& key,
                                 const QString& value)
{
    return save(application, section, KeyValues{{key, value}});
}

Result<void> SettingsStore::save(const QString& application, const QString& section, const KeyValues& values)
{
    if (Result<void> names = checkNames(application, section); !names) {
        return names;
    }
    for (const auto& [key, value] : values) {
        if (!IniFile::isValidKey(key)) {
            return storeError(kErrorInvalidArgument, QStringLiteral("\"%1\" cannot name a settings key").arg(key));
        }
    }
    Result<IniFile> document = readForChange(application);
    if (!document) {
        return document.error();
    }
    for (const auto& [key, value] : values) {
        document.value().setValue(section, key, value);
    }
    return write(application, document.value());
}

Result<void> SettingsStore::deleteSection(const QString& application, const QString& section)
{
    if (!isValidApplication(application)) {
        return checkApplication(application);
    }
    Result<IniFile> document = readForChange(application);
    if (!document) {
        return document.error();
    }
    if (!document.value().removeSection(section)) {
        return storeError(kErrorInvalidArgument,
                          QStringLiteral("The settings section \"%1\" of \"%2\" does not exist").arg(section, application));
    }
    return write(application, document.value());
}

Result<void> SettingsStore::deleteApplication(const QString& application)
{
    if (!isValidApplication(application)) {
        return checkApplication(application);
    }
    QFile file(filePath(application));
    if (file.exists() && !file.remove()) {
        return storeError(kErrorFileAccess,
                          QStringLiteral("Cannot remove %1: %2").arg(file.fileName(), file.errorString()));
    }
    return {};
}

Result<void> SettingsStore::backupApplication(const QString& application) const
{
    if (!isValidApplication(application)) {
        return checkApplication(application);
    }
    Result<std::optional<QByteArray>> bytes = readFile(filePath(application));
    if (!bytes) {
        return bytes.error();
    }
    if (!bytes.value()) {
        return {};
    }
    return writeAtomically(filePath(application) + QStringLiteral(".bak"), *bytes.value());
}

}  // namespace lumora
