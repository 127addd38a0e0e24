#include "app/programfolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace lumora {

namespace {

QString clean(const QString& folder) {
    QString path = QDir::cleanPath(QDir(folder).absolutePath());
    while (path.size() > 1 && path.endsWith(QLatin1Char('/'))) path.chop(1);
    return path;
}

}  // namespace

QString ProgramFolder::locate(const QString& option, const QString& executableFolder) {
    if (!option.isEmpty())
        return clean(option);
    if (QFileInfo(executableFolder + QStringLiteral("/data")).isDir())
        return clean(executableFolder);
    const QString installed = executableFolder + QStringLiteral("/../share/lumora");
    if (QFileInfo(installed).isDir())
        return clean(installed);
    // Neither: start-up names the executable's folder in what it cannot find there.
    return clean(executableFolder);
}

QString ProgramFolder::executableFolder() {
    return QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath()).absolutePath();
}

QString ProgramFolder::userDataFolder() {
    return clean(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/lumora"));
}

}  // namespace lumora
