#include "recordings/timingarchive.h"

#include <QFileInfo>

#include "codec/archivereader.h"
#include "codec/codecerrors.h"
#include "codec/versetimingtable.h"

namespace lumora {

Result<TimingArchive> TimingArchive::open(const QString& path) {
    TimingArchive archive;
    archive.m_path = path;
    const QFileInfo info(path);
    if (!info.isFile()) {
        if (!info.exists() && !info.isSymLink()) return archive;
        // Something is there by that name but it is no file: a link to nothing, a pipe (which would hold the
        // read up for ever), a folder. It times nothing, and is reported rather than passed over.
        return Error{kFileAccessErrorNumber, "TimingArchive",
                     path.toStdString() + ": the timing archive is not a file that can be read" +
                         (info.isSymLink() ? " (a link to nothing)" : "")};
    }
    archive.m_exists = true;
    Result<std::vector<ArchiveEntryInfo>> entries = ArchiveReader::list(path.toStdString());
    if (!entries) {
        Error error = entries.error();
        error.description = path.toStdString() + ": " + error.description;
        return error;
    }
    for (int sura = 1; sura <= SuraCatalogue::kSuraCount; ++sura) {
        const std::string name = VerseTimingTable::entryName(sura);
        for (const ArchiveEntryInfo& entry : entries.value()) {
            if (entry.name == name) {
                archive.m_suras.set(static_cast<size_t>(sura));
                break;
            }
        }
    }
    return archive;
}

bool TimingArchive::holds(int sura) const {
    return sura >= 1 && sura <= SuraCatalogue::kSuraCount && m_suras.test(static_cast<size_t>(sura));
}

}  // namespace lumora
