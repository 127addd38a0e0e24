#pragma once
// SuraRecording: what a reciter's folder holds for one sura and where that sura's verse timings come from.
// The recordings layer fills it; the recitation controller loads the sura from it.
//
// A per-verse collection names its files SSSVVV.mp3 (002255.mp3 is 2:255). Its records follow the verse
// table: record 0 of every sura but 1 and 9 is the opening formula (SSS000.mp3 when present, else
// 001001.mp3), record k is verse k; in suras 1 and 9 record k is verse k + 1.

#include <QString>
#include <QStringList>

namespace lumora {

struct SuraRecording {
    enum class Kind { kMissing, kPerSura, kPerVerse };
    // kFromFiles: a per-verse collection, timed by the decoded lengths of its files.
    enum class TimingSource { kNone, kOwnArchive, kProgramFolder, kFromFiles };

    int sura = 0;
    Kind kind = Kind::kMissing;
    // kPerSura: the path of the sura's NNN.mp3.
    QString file;
    // kPerVerse: one path per record; an empty path is a record whose file is missing.
    QStringList recordFiles;
    TimingSource timingSource = TimingSource::kNone;
    // kOwnArchive, kProgramFolder: the pos.dat holding the sura's NNN.pos entry.
    QString timingArchive;

    bool incomplete() const {
        if (kind != Kind::kPerVerse) return false;
        for (const QString& path : recordFiles)
            if (path.isEmpty()) return true;
        return false;
    }
};

}  // namespace lumora
