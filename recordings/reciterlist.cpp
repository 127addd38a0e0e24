#include "recordings/reciterlist.h"

#include <QDir>
#include <algorithm>
#include <QFileInfo>

#include "settings/inifile.h"
#include "settings/settingsstore.h"
#include "settings/settingtext.h"

namespace lumora {

const QString ReciterList::kSection = QStringLiteral("Reciters");

namespace {

const QString kCurrentKey = QStringLiteral("Current");
const QString kAddedKey = QStringLiteral("Added");
// A hand-edited count cannot make start-up read keys without end.
constexpr int kMaxAdded = 1000;
// A reciter.ini holds a name and a few lines more.
constexpr qint64 kMaxReciterIniBytes = 64 * 1024;

int storedCount(const QString& text) {
    return std::clamp(SettingText::toInteger(text).value_or(0), 0, kMaxAdded);
}

// Two spellings of one folder (a symbolic link, "..", a trailing "/") give the same key.
QString folderKey(const QString& folder) {
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    return canonical.isEmpty() ? ReciterList::normalised(folder) : canonical;
}

}  // namespace

QString ReciterList::perUserFolder() {
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    // A relative value is invalid by the XDG rules and is ignored like an unset one.
    if (base.isEmpty() || QDir::isRelativePath(base)) base = QDir::homePath() + QStringLiteral("/.local/share");
    return base + QStringLiteral("/lumora/recordings");
}

QString ReciterList::displayName(const QString& folder) {
    // Only a plain file of a sensible size is read: a pipe of that name would hold start-up up until
    // something writes to it, and a link to a device such as /dev/zero would never end.
    const QFileInfo file(folder + QStringLiteral("/reciter.ini"));
    if (file.isFile() && file.size() <= kMaxReciterIniBytes) {
        const IniFile ini = IniFile::load(file.filePath());
        const QString name = ini.value(QStringLiteral("Reciter"), QStringLiteral("Name"), QString()).trimmed();
        if (!name.isEmpty()) return name;
    }
    return QFileInfo(normalised(folder)).fileName();
}

QString ReciterList::normalised(const QString& folder) {
    QString path = QDir::cleanPath(QDir(folder).absolutePath());
    while (path.size() > 1 && path.endsWith(QLatin1Char('/'))) path.chop(1);
    return path;
}

ReciterList::ReciterList(SettingsStore& store, QString application, QString programRecordings,
                         QString userFolder)
    : m_store(store),
      m_application(std::move(application)),
      m_programRecordings(normalised(programRecordings)),
      m_perUserFolder(normalised(userFolder)) {
    readStored();
    refresh();
}

void ReciterList::readStored() {
    const IniFile document = m_store.read(m_application);
    m_currentFolder = document.value(kSection, kCurrentKey, QString());
    const int count = storedCount(document.value(kSection, kAddedKey, QStringLiteral("0")));
    m_added.clear();
    for (int i = 1; i <= count; ++i) {
        const QString folder = document.value(kSection, kAddedKey + QString::number(i), QString());
        if (!folder.isEmpty()) m_added.append(folder);
    }
}

void ReciterList::refresh() {
    const QString currentKey = m_currentFolder.isEmpty() ? QString() : folderKey(m_currentFolder);
    m_reciters.clear();
    QStringList keys;
    const auto add = [&](const QString& folder, Reciter::Origin origin) {
        const QString key = folderKey(folder);
        if (keys.contains(key)) return;
        keys.append(key);
        m_reciters.push_back(Reciter{normalised(folder), displayName(folder), origin});
    };
    add(m_programRecordings, Reciter::Origin::kProgramFolder);
    const QDir perUser(m_perUserFolder);
    for (const QString& name : perUser.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
        add(perUser.filePath(name), Reciter::Origin::kPerUser);
    for (const QString& folder : m_added) add(folder, Reciter::Origin::kAdded);

    const int index = currentKey.isEmpty() ? -1 : static_cast<int>(keys.indexOf(currentKey));
    m_current = index < 0 ? 0 : index;
}

int ReciterList::indexOf(const QString& folder) const {
    const QString key = folderKey(folder);
    for (int i = 0; i < count(); ++i)
        if (folderKey(at(i).folder) == key) return i;
    return -1;
}

Result<void> ReciterList::setCurrent(int index) {
    if (index < 0 || index >= count())
        return Error{kErrorNoSuchReciter, "Reciters", "There is no reciter number " + std::to_string(index + 1) + "."};
    m_current = index;
    m_currentFolder = at(index).folder;
    return store();
}

Result<int> ReciterList::addFolder(const QString& folder) {
    const QString path = normalised(folder);
    if (folder.trimmed().isEmpty() || !QFileInfo(path).isDir())
        return Error{kErrorNotAFolder, "Reciters", "The folder " + path.toStdString() + " does not exist."};
    if (const int listed = indexOf(path); listed >= 0) {
        return Error{kErrorAlreadyListed, "Reciters",
                     "The folder " + path.toStdString() + " is already in the list, as the reciter " +
                         at(listed).name.toStdString() + "."};
    }
    m_added.append(path);
    refresh();
    Result<void> stored = store();
    if (!stored) return stored.error();
    return indexOf(path);
}

Result<void> ReciterList::removeFolder(int index) {
    if (index < 0 || index >= count() || at(index).origin != Reciter::Origin::kAdded) {
        return Error{kErrorNotRemovable, "Reciters",
                     "Only folders added with \"Add Recordings Folder...\" can be removed from the list."};
    }
    const QString key = folderKey(at(index).folder);
    m_added.erase(std::remove_if(m_added.begin(), m_added.end(),
                                 [&](const QString& added) { return folderKey(added) == key; }),
                  m_added.end());
    if (index == m_current) m_currentFolder.clear();
    refresh();
    if (m_currentFolder.isEmpty()) m_currentFolder = current().folder;
    return store();
}

Result<void> ReciterList::store() {
    // One write: the choice, the count, the folders, and blanks over the folders of a longer earlier list.
    const int previous = storedCount(m_store.get(m_application, kSection, kAddedKey, QStringLiteral("0")));
    const int added = static_cast<int>(m_added.size());
    SettingsStore::KeyValues values{{kCurrentKey, m_currentFolder},
                                    {kAddedKey, QString::number(added)}};
    for (int i = 0; i < std::max(previous, added); ++i)
        values.emplace_back(kAddedKey + QString::number(i + 1), i < added ? m_added.at(i) : QString());
    return m_store.save(m_application, kSection, values);
}

}  // namespace lumora
