#include "recordings/recordingfolder.h"

#include <QDirIterator>
#include <QFileInfo>

#include "codec/suracatalogue.h"

namespace lumora {

const QString RecordingFolder::kOwnArchiveName = QStringLiteral("pos.dat");

namespace {

QString threeDigit(int number) { return QString::fromStdString(SuraCatalogue::threeDigit(number)); }

QString mp3Name(const QString& stem) { return stem + QStringLiteral(".mp3"); }

// The verse number record k of a sura stands for: the opening formula (0) for record 0 of every sura but
// 1 and 9, whose records start at verse 1.
int verseOfRecord(int sura, int record) { return sura == 1 || sura == 9 ? record + 1 : record; }

}  // namespace

RecordingFolder RecordingFolder::scan(const QString& folder, const QString& programFolder) {
    RecordingFolder result;
    result.m_folder = folder;
    while (result.m_folder.size() > 1 && result.m_folder.endsWith(QLatin1Char('/'))) result.m_folder.chop(1);
    const QFileInfo info(result.m_folder);
    result.m_exists = info.isDir();
    if (result.m_exists) {
        // Unsorted, and the file type comes with the directory entry itself: no file is stat'ed. System
        // takes in a dangling link too, so that a file that is there but cannot be read is reported, not
        // silently missing.
        QDirIterator it(result.m_folder, QDir::Files | QDir::System | QDir::NoDotAndDotDot);
        while (it.hasNext()) {
            it.next();
            const QString name = it.fileName();
            const QString key = name.toLower();
            // Of two spellings of one name (pos.dat and POS.DAT) the lower-case one is taken, whatever order
            // the listing gives them in; it is the one the timing tools write.
            if (name == key || !result.m_files.contains(key)) result.m_files.insert(key, name);
        }
    }
    const QString own = result.file(kOwnArchiveName);
    if (!own.isEmpty()) {
        Result<TimingArchive> archive = TimingArchive::open(own);
        if (archive)
            result.m_own = archive.value();
        else
            result.m_problems.append(QString::fromStdString(archive.error().description));
    }
    if (!programFolder.isEmpty()) {
        Result<TimingArchive> archive = TimingArchive::open(programFolder + QStringLiteral("/data/pos.dat"));
        if (archive)
            result.m_program = archive.value();
        else
            result.m_problems.append(QString::fromStdString(archive.error().description));
    }
    return result;
}

QString RecordingFolder::file(const QString& name) const {
    const auto found = m_files.constFind(name.toLower());
    return found == m_files.constEnd() ? QString() : m_folder + QLatin1Char('/') + found.value();
}

QString RecordingFolder::perSuraFile(int sura) const {
    if (sura < 1 || sura > SuraCatalogue::kSuraCount) return {};
    return file(mp3Name(threeDigit(sura)));
}

QStringList RecordingFolder::perVerseRecords(int sura) const {
    const int count = SuraCatalogue::verseNo(sura);
    if (count == 0) return {};
    const QString prefix = threeDigit(sura);
    QStringList records;
    records.reserve(count);
    bool ownFile = false;
    for (int record = 0; record < count; ++record) {
        const int verse = verseOfRecord(sura, record);
        QString path = file(mp3Name(prefix + threeDigit(verse)));
        if (!path.isEmpty()) ownFile = true;
        // Collections ship the opening formula once, as the first verse of sura 1.
        if (verse == 0 && path.isEmpty()) path = file(QStringLiteral("001001.mp3"));
        records.append(path);
    }
    if (!ownFile) return {};
    return records;
}

SuraRecording RecordingFolder::recording(int sura) const {
    SuraRecording recording;
    recording.sura = sura;
    if (const QString path = perSuraFile(sura); !path.isEmpty()) {
        recording.kind = SuraRecording::Kind::kPerSura;
        recording.file = path;
        if (m_own.holds(sura)) {
            recording.timingSource = SuraRecording::TimingSource::kOwnArchive;
            recording.timingArchive = m_own.path();
        } else if (m_program.holds(sura)) {
            recording.timingSource = SuraRecording::TimingSource::kProgramFolder;
            recording.timingArchive = m_program.path();
        }
        return recording;
    }
    QStringList records = perVerseRecords(sura);
    if (!records.isEmpty()) {
        recording.kind = SuraRecording::Kind::kPerVerse;
        recording.recordFiles = std::move(records);
        recording.timingSource = SuraRecording::TimingSource::kFromFiles;
    }
    return recording;
}

}  // namespace lumora
