#pragma once
// ReciterList: the reciters Lumora offers and which one is current. A reciter is a folder of recordings
// with a display name. The list holds, in this order: the program's own recordings folder (the mp3 folder
// beside the program, or config.ini's MP3Path), every subfolder of the per-user folder
// $XDG_DATA_HOME/lumora/recordings (sorted by name), and the folders the user added, in the order added.
// A folder reached twice is listed once, at its first place.
//
// The user's added folders and the current reciter live in the settings store (section "Reciters"), never
// in the program folder: "Current" is the current reciter's folder, "Added" the number of added folders
// and "Added1" ... their paths. Every change is stored at once, in one write. Removing a reciter only takes
// an added folder off the list; no file is ever deleted.

#include <QString>
#include <QStringList>
#include <vector>

#include "codec/result.h"

namespace lumora {

class SettingsStore;

struct Reciter {
    enum class Origin { kProgramFolder, kPerUser, kAdded };

    // Absolute, without a trailing "/".
    QString folder;
    QString name;
    Origin origin = Origin::kProgramFolder;
};

class ReciterList {
public:
    static const QString kSection;  // "Reciters"
    // The error numbers of refused changes.
    static constexpr int32_t kErrorNotAFolder = 76;
    static constexpr int32_t kErrorAlreadyListed = 58;
    static constexpr int32_t kErrorNotRemovable = 5;
    static constexpr int32_t kErrorNoSuchReciter = 9;

    // $XDG_DATA_HOME/lumora/recordings, else ~/.local/share/lumora/recordings.
    static QString perUserFolder();
    // The [Reciter] Name= of the folder's reciter.ini when it is not blank, else the folder's own name. A
    // reciter.ini that is no plain file, or larger than 64 KiB, is not read.
    static QString displayName(const QString& folder);
    // The folder made absolute and clean, without a trailing "/".
    static QString normalised(const QString& folder);

    // programRecordings: the program's recordings folder (a trailing "/" is allowed). Reads the stored
    // list and choice and lists the folders; a stored choice no longer listed falls back to the first.
    ReciterList(SettingsStore& store, QString application, QString programRecordings,
                QString userFolder = perUserFolder());

    // Lists the folders again (subfolders may have come or gone); the current reciter stays when listed.
    void refresh();

    const std::vector<Reciter>& reciters() const { return m_reciters; }
    int count() const { return static_cast<int>(m_reciters.size()); }
    const Reciter& at(int index) const { return m_reciters.at(static_cast<size_t>(index)); }
    int currentIndex() const { return m_current; }
    const Reciter& current() const { return at(m_current); }
    // The index of the reciter of this folder, -1 when none.
    int indexOf(const QString& folder) const;

    // Makes the reciter current and stores the choice. Refused outside the list.
    Result<void> setCurrent(int index);
    // Adds a folder at the end of the list and stores it; gives its index. Refused when it is not an
    // existing folder, or when it is listed already (the error names the reciter).
    Result<int> addFolder(const QString& folder);
    // Takes a folder the user added off the list (its files stay); the program's and the per-user
    // folder's reciters cannot be removed. Removing the current reciter makes the first one current.
    Result<void> removeFolder(int index);

private:
    void readStored();
    Result<void> store();

    SettingsStore& m_store;
    QString m_application;
    QString m_programRecordings;
    QString m_perUserFolder;
    QStringList m_added;
    QString m_currentFolder;
    std::vector<Reciter> m_reciters;
    int m_current = 0;
};

}  // namespace lumora
