#include "text/installedtexts.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace lumora {

InstalledTexts::InstalledTexts(QString appFolder) : m_appFolder(std::move(appFolder)) {}

void InstalledTexts::reload() { m_names = scan(m_appFolder); }

QString InstalledTexts::name(int index) const {
    return index >= 0 && index < m_names.size() ? m_names[index] : QString();
}

namespace {

const QString kSuffix = QStringLiteral(".dat");

QStringList namesIn(const QString& path) {
    QDir folder(path);
    folder.setNameFilters({QStringLiteral("*") + kSuffix});
    folder.setFilter(QDir::Files | QDir::CaseSensitive);
    folder.setSorting(QDir::Unsorted);
    QStringList names;
    for (const QString& file : folder.entryList()) names.append(file.chopped(kSuffix.size()));
    return names;
}

QString installedFolder(const QString& appFolder) {
    return appFolder + QStringLiteral("/data/tdata");
}

}  // namespace

QStringList InstalledTexts::scan(const QString& appFolder) {
    QStringList names = namesIn(installedFolder(appFolder));
    for (const QString& name : namesIn(userFolder())) {
        if (!names.contains(name))
            names.append(name);
    }
    return names;
}

QString InstalledTexts::userFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/lumora/tdata");
}

QString InstalledTexts::packagePath(const QString& appFolder, const QString& name) {
    const QString installed = installedFolder(appFolder) + QLatin1Char('/') + name + kSuffix;
    if (QFileInfo(installed).isFile())
        return installed;
    const QString added = userFolder() + QLatin1Char('/') + name + kSuffix;
    return QFileInfo(added).isFile() ? added : installed;
}

}  // namespace lumora
