#include "text/installedtexts.h"

#include <QDir>

namespace lumora {

InstalledTexts::InstalledTexts(QString appFolder) : m_appFolder(std::move(appFolder)) {}

void InstalledTexts::reload() { m_names = scan(m_appFolder); }

QString InstalledTexts::name(int index) const {
    return index >= 0 && index < m_names.size() ? m_names[index] : QString();
}

QStringList InstalledTexts::scan(const QString& appFolder) {
    const QString suffix = QStringLiteral(".dat");
    QDir folder(appFolder + QStringLiteral("/data/tdata"));
    folder.setNameFilters({QStringLiteral("*") + suffix});
    folder.setFilter(QDir::Files | QDir::CaseSensitive);
    folder.setSorting(QDir::Unsorted);
    QStringList names;
    for (const QString& file : folder.entryList()) names.append(file.chopped(suffix.size()));
    return names;
}

}  // namespace lumora
