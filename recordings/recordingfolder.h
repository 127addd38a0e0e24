#pragma once
// RecordingFolder: what one reciter's folder holds, from a single listing of its files (no file is opened
// or examined one by one, so a collection of 6,236 verse files is taken in at once): per-sura recordings
// NNN.mp3, per-verse files SSSVVV.mp3 and the folder's own timing archive pos.dat. Names are matched
// without regard to letter case ("001.MP3" is sura 1), as collections copied from other systems often
// spell them; of two spellings of one name the lower-case one is taken. A scan is a snapshot; files added
// later are seen by the next one.
//
// Which recording a sura plays: its per-sura file when there is one, else its per-verse files when at least
// one of the sura's own verse files is present. A per-sura file is timed by the folder's own pos.dat when
// that holds the sura, else by the program folder's data/pos.dat when that does, else not at all; a
// per-verse collection is timed by the decoded lengths of its files.

#include <QHash>
#include <QString>
#include <QStringList>

#include "recordings/surarecording.h"
#include "recordings/timingarchive.h"

namespace lumora {

class RecordingFolder {
public:
    static const QString kOwnArchiveName;  // "pos.dat"

    // Lists `folder` once. programFolder: the program folder (no trailing "/") whose data/pos.dat times the
    // per-sura recordings that have no timings of their own; empty for none. A folder that cannot be
    // listed holds nothing; a timing archive that cannot be read times nothing and is named in problems().
    static RecordingFolder scan(const QString& folder, const QString& programFolder);

    QString folder() const { return m_folder; }
    bool exists() const { return m_exists; }
    // The damaged or unreadable timing archives met by the scan, one text per archive naming it.
    const QStringList& problems() const { return m_problems; }
    const TimingArchive& ownArchive() const { return m_own; }
    const TimingArchive& programArchive() const { return m_program; }

    // The sura's recording as the recitation plays it; kMissing outside 1..114.
    SuraRecording recording(int sura) const;
    // The path of the sura's NNN.mp3, empty when the folder has none.
    QString perSuraFile(int sura) const;
    // One path per record of the sura's verse table (empty where the file is missing), or an empty list
    // when the folder holds none of the sura's own verse files (SSS000.mp3 counts as one).
    QStringList perVerseRecords(int sura) const;
    // The path of a file of this name, matched without regard to case; empty when absent.
    QString file(const QString& name) const;

private:
    QString m_folder;
    bool m_exists = false;
    // Lower-case name -> the name as listed.
    QHash<QString, QString> m_files;
    TimingArchive m_own;
    TimingArchive m_program;
    QStringList m_problems;
};

}  // namespace lumora
