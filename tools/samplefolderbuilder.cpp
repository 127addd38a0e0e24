#include "tools/samplefolderbuilder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTemporaryDir>
#include <algorithm>

#include "codec/suracatalogue.h"
#include "codec/versetimingtable.h"
#include "tools/audiotools.h"
#include "tools/wordbywordbuilder.h"

namespace lumora::pack {

namespace {

Error buildError(const QString& what) {
    return Error{0, "SampleFolderBuilder", what.toStdString()};
}

Result<QByteArray> readInput(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return buildError(QStringLiteral("cannot read %1 (%2)").arg(path, file.errorString()));
    }
    return file.readAll();
}

// The value of key in section of a small INI text; empty when absent. Enough for Lumora's own templates.
QString iniValue(const QString& text, const QString& section, const QString& key) {
    QString current;
    for (const QString& rawLine : text.split(QChar(u'\n'))) {
        const QString line = rawLine.trimmed();
        if (line.startsWith(QChar(u'[')) && line.endsWith(QChar(u']'))) {
            current = line.mid(1, line.size() - 2).trimmed();
        } else if (current.compare(section, Qt::CaseInsensitive) == 0) {
            const qsizetype equals = line.indexOf(QChar(u'='));
            if (equals > 0 && line.left(equals).trimmed().compare(key, Qt::CaseInsensitive) == 0) {
                return line.mid(equals + 1).trimmed();
            }
        }
    }
    return {};
}

QString suraName(int sura) {
    return QString::fromStdString(SuraCatalogue::threeDigit(sura));
}

// The configuration beside the program: the one key it reads, left empty.
const char kConfigIni[] =
    "; Lumora's configuration. Only section Main is read.\n"
    "[Main]\n"
    "; The folder of the sura recordings 001.mp3 ... 114.mp3, ending with \"/\".\n"
    "; Empty: the mp3 folder beside the program.\n"
    "MP3Path=\n";

// The sample recordings are tones standing in for a reciter; the Reciter menu names them so.
const char kReciterIni[] =
    "[Reciter]\n"
    "Name=Sample tones\n";

// How far a decoded recording may differ from what was encoded: the share of the decoded signal's energy
// that the encoded samples, at the best gain, do not explain. lame at 56 kbps keeps these tones near
// 1e-8; being one sample early or late already leaves about 0.015 at 440 Hz.
constexpr double kMaxResidual = 0.005;

}  // namespace

const char* const SampleFolderBuilder::kManifestName = "sample-manifest.json";

const std::vector<int>& SampleFolderBuilder::recordedSuras() {
    static const std::vector<int> suras = {1, 67, 103, 108, 112, 113, 114};
    return suras;
}

const std::vector<SamplePackage>& SampleFolderBuilder::packages() {
    static const std::vector<SamplePackage> list = {
        {QStringLiteral("Arabic - Uthmani script"), QStringLiteral("quran.json"), QStringLiteral("text"),
         TextKind::Arabic, QStringLiteral("packages/arabic-uthmani.ini")},
        {QStringLiteral("English - Saheeh International"), QStringLiteral("quran_en.json"),
         QStringLiteral("translation"), TextKind::Translation, QStringLiteral("packages/english-saheeh.ini")},
        {QStringLiteral("Urdu - Maududi"), QStringLiteral("quran_ur.json"), QStringLiteral("translation"),
         TextKind::Translation, QStringLiteral("packages/urdu-maududi.ini")},
        {QStringLiteral("French - Hamidullah"), QStringLiteral("quran_fr.json"),
         QStringLiteral("translation"), TextKind::Translation,
         QStringLiteral("packages/french-hamidullah.ini")},
        {QStringLiteral("English - Transliteration"), QStringLiteral("quran_transliteration.json"),
         QStringLiteral("transliteration"), TextKind::Translation,
         QStringLiteral("packages/english-transliteration.ini")},
    };
    return list;
}

SampleFolderBuilder::SampleFolderBuilder(SampleOptions options) : m_options(std::move(options)) {}

QString SampleFolderBuilder::outPath(const QString& relative) const {
    return m_options.outFolder + QChar(u'/') + relative;
}

Result<void> SampleFolderBuilder::writeOutput(const QString& relative, const QByteArray& bytes) {
    const QString path = outPath(relative);
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        return buildError(QStringLiteral("cannot create the folder of %1").arg(path));
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        return buildError(QStringLiteral("cannot write %1 (%2)").arg(path, file.errorString()));
    }
    m_outputs.push_back(relative);
    return {};
}

Result<void> SampleFolderBuilder::build(std::ostream& log) {
    for (auto step : {&SampleFolderBuilder::buildTexts, &SampleFolderBuilder::buildWordByWord,
                      &SampleFolderBuilder::buildRecordings, &SampleFolderBuilder::buildHelpAndConfiguration,
                      &SampleFolderBuilder::verifyRecordings, &SampleFolderBuilder::writeManifest}) {
        const Result<void> done = (this->*step)(log);
        if (!done) {
            return done;
        }
    }
    return {};
}

Result<void> SampleFolderBuilder::buildTexts(std::ostream& log) {
    const std::vector<int> verseCounts = VerseTextSource::quranVerseCounts();
    for (const SamplePackage& textPackage : packages()) {
        Result<VerseTextSource> source = VerseTextSource::load(
            m_options.textsFolder + QChar(u'/') + textPackage.sourceFile, textPackage.field, verseCounts);
        if (!source) {
            return source.error();
        }
        const Result<QByteArray> config =
            readInput(m_options.inputsFolder + QChar(u'/') + textPackage.configTemplate);
        if (!config) {
            return config.error();
        }
        const QString relative = QStringLiteral("data/tdata/%1.dat").arg(textPackage.name);
        if (!QDir().mkpath(QFileInfo(outPath(relative)).absolutePath())) {
            return buildError(QStringLiteral("cannot create the folder of %1").arg(outPath(relative)));
        }
        const Result<void> written = PackageEntry::writeArchive(
            outPath(relative).toStdString(),
            TextPackageBuilder::entries(source.value(), textPackage.kind, config.value()), false);
        if (!written) {
            return written.error();
        }
        m_outputs.push_back(relative);
        if (textPackage.kind == TextKind::Arabic) {
            m_arabic = std::make_unique<VerseTextSource>(std::move(source).value());
            m_wordByWordFile = iniValue(QString::fromUtf8(config.value()), QStringLiteral("Main"),
                                        QStringLiteral("WordByWordDataFile"));
        }
        log << "text package " << relative.toStdString() << '\n';
    }
    if (!m_arabic) {
        return buildError(QStringLiteral("no Arabic text among the packages"));
    }
    const Result<QByteArray> notice = readInput(m_options.inputsFolder + QStringLiteral("/NOTICE"));
    if (!notice) {
        return notice.error();
    }
    return writeOutput(QStringLiteral("data/tdata/NOTICE"), notice.value());
}

Result<void> SampleFolderBuilder::buildWordByWord(std::ostream& log) {
    if (m_wordByWordFile.isEmpty()) {
        return buildError(QStringLiteral("the Arabic package's configuration names no WordByWordDataFile"));
    }
    std::map<int, QString> glosses;
    const QDir folder(m_options.inputsFolder + QStringLiteral("/wordbyword"));
    static const QRegularExpression suraFile(QStringLiteral("^(\\d{3})\\.txt$"));
    for (const QString& name : folder.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name)) {
        const QRegularExpressionMatch match = suraFile.match(name);
        if (!match.hasMatch()) {
            return buildError(
                QStringLiteral("%1: a word-by-word file is named NNN.txt").arg(folder.filePath(name)));
        }
        const Result<QByteArray> text = readInput(folder.filePath(name));
        if (!text) {
            return text.error();
        }
        glosses[match.captured(1).toInt()] = QString::fromUtf8(text.value());
    }
    const Result<std::vector<PackageEntry>> entries = WordByWordBuilder::entries(*m_arabic, glosses);
    if (!entries) {
        return buildError(QStringLiteral("word-by-word glosses: %1")
                              .arg(QString::fromStdString(entries.error().description)));
    }
    const QString relative = QStringLiteral("data/") + m_wordByWordFile;
    const Result<void> written =
        PackageEntry::writeArchive(outPath(relative).toStdString(), entries.value(), false);
    if (!written) {
        return written.error();
    }
    m_outputs.push_back(relative);
    log << "word-by-word archive " << relative.toStdString() << " (glosses for " << glosses.size()
        << " suras)\n";
    return {};
}

Result<void> SampleFolderBuilder::buildRecordings(std::ostream& log) {
    const AudioTools tools(m_options.lamePath, m_options.mpg123Path);
    QTemporaryDir work;
    if (!work.isValid()) {
        return buildError(QStringLiteral("cannot make a temporary folder (%1)").arg(work.errorString()));
    }
    if (!QDir().mkpath(outPath(QStringLiteral("mp3")))) {
        return buildError(QStringLiteral("cannot create %1").arg(outPath(QStringLiteral("mp3"))));
    }
    const QString formula = TextPackageBuilder::prepareVerse(m_arabic->verse(1, 1), TextKind::Arabic);
    for (int sura : recordedSuras()) {
        // Record 0 is the opening formula for every sura but 1 (whose verse 1 it is) and 9 (which has none).
        std::vector<int> letters;
        if (sura != 1 && sura != 9) {
            letters.push_back(ToneRecording::letterCount(formula));
        }
        for (const QString& verse : m_arabic->verses(sura)) {
            letters.push_back(ToneRecording::letterCount(verse));
        }
        if (static_cast<int>(letters.size()) != SuraCatalogue::verseNo(sura)) {
            return buildError(QStringLiteral("sura %1 has %2 records, the catalogue says %3")
                                  .arg(sura)
                                  .arg(letters.size())
                                  .arg(SuraCatalogue::verseNo(sura)));
        }
        ToneRecording recording = ToneRecording::generate(letters);
        const QString wavPath = work.filePath(suraName(sura) + QStringLiteral(".wav"));
        QFile wav(wavPath);
        const QByteArray wavBytes = recording.wav();
        if (!wav.open(QIODevice::WriteOnly) || wav.write(wavBytes) != wavBytes.size()) {
            return buildError(QStringLiteral("cannot write %1 (%2)").arg(wavPath, wav.errorString()));
        }
        wav.close();
        const QString relative = QStringLiteral("mp3/%1.mp3").arg(suraName(sura));
        const Result<void> encoded = tools.encodeMp3(wavPath, outPath(relative));
        if (!encoded) {
            return encoded.error();
        }
        m_outputs.push_back(relative);
        log << "recording " << relative.toStdString() << " (" << letters.size() << " records, "
            << recording.lengthMs() << " ms)\n";
        m_recordings.emplace(sura, std::move(recording));
    }

    // The folder's name ("mp3") would otherwise be the reciter's name in the Reciter menu.
    if (const Result<void> named = writeOutput(QStringLiteral("mp3/reciter.ini"), QByteArray(kReciterIni));
        !named) {
        return named.error();
    }

    // Only recorded suras get a timing entry: the program reads a missing entry as records of zeros.
    std::vector<PackageEntry> entries;
    for (const auto& [sura, recording] : m_recordings) {
        std::vector<VerseTiming> records;
        for (const RecordTiming& timing : recording.timings()) {
            records.push_back(VerseTiming{timing.startMs, timing.endMs});
        }
        entries.push_back(PackageEntry{VerseTimingTable::entryName(sura), VerseTimingTable::encode(records)});
    }
    const QString relative = QStringLiteral("data/pos.dat");
    const Result<void> written = PackageEntry::writeArchive(outPath(relative).toStdString(), entries, true);
    if (!written) {
        return written.error();
    }
    m_outputs.push_back(relative);
    log << "timing tables " << relative.toStdString() << '\n';
    return {};
}

Result<void> SampleFolderBuilder::buildHelpAndConfiguration(std::ostream& log) {
    std::vector<PackageEntry> pages;
    for (const char* name : {"about.htm", "keyboard.htm", "version.htm"}) {
        const Result<QByteArray> page =
            readInput(m_options.helpFolder + QChar(u'/') + QString::fromLatin1(name));
        if (!page) {
            return page.error();
        }
        pages.push_back(PackageEntry{name, std::vector<uint8_t>(page.value().begin(), page.value().end())});
    }
    const QString relative = QStringLiteral("data/main1.dat");
    const Result<void> written = PackageEntry::writeArchive(outPath(relative).toStdString(), pages, false);
    if (!written) {
        return written.error();
    }
    m_outputs.push_back(relative);
    log << "help pages " << relative.toStdString() << '\n';
    return writeOutput(QStringLiteral("config.ini"), QByteArray(kConfigIni));
}

Result<void> SampleFolderBuilder::verifyRecordings(std::ostream& log) {
    const AudioTools tools(m_options.lamePath, m_options.mpg123Path);
    const std::string posPath = outPath(QStringLiteral("data/pos.dat")).toStdString();
    for (const auto& [sura, recording] : m_recordings) {
        const QString name = suraName(sura);
        const int records = SuraCatalogue::verseNo(sura);
        Result<std::vector<uint8_t>> entry =
            PackageEntry::readEntry(posPath, VerseTimingTable::entryName(sura), true);
        if (!entry) {
            return buildError(
                QStringLiteral("pos.dat: %1").arg(QString::fromStdString(entry.error().description)));
        }
        const std::vector<VerseTiming> table = VerseTimingTable::parse(entry.value(), records);
        if (entry.value().size() != static_cast<size_t>(records) * 8 ||
            static_cast<int>(table.size()) != records) {
            return buildError(QStringLiteral("pos.dat: %1.pos holds %2 bytes, %3 records need %4")
                                  .arg(name)
                                  .arg(entry.value().size())
                                  .arg(records)
                                  .arg(records * 8));
        }

        const Result<std::vector<int16_t>> decoded =
            tools.decodeMp3(outPath(QStringLiteral("mp3/%1.mp3").arg(name)));
        if (!decoded) {
            return decoded.error();
        }
        const std::vector<int16_t>& heard = decoded.value();
        const std::vector<int16_t>& made = recording.samples();
        if (heard.size() != made.size()) {
            return buildError(
                QStringLiteral("%1.mp3 decodes to %2 samples, %3 were encoded: the encoder's delay "
                               "and padding were not removed, so every time would be off")
                    .arg(name)
                    .arg(heard.size())
                    .arg(made.size()));
        }
        // The residual after the best gain: the encoder may change the level a little, but a sample shift
        // leaves a residual of its own that no gain removes.
        double made2 = 0.0;
        double heard2 = 0.0;
        double cross = 0.0;
        for (size_t i = 0; i < made.size(); ++i) {
            made2 += static_cast<double>(made[i]) * made[i];
            heard2 += static_cast<double>(heard[i]) * heard[i];
            cross += static_cast<double>(made[i]) * heard[i];
        }
        const double residual = made2 > 0.0 && heard2 > 0.0 ? 1.0 - cross * cross / (made2 * heard2) : 1.0;
        if (residual > kMaxResidual) {
            return buildError(QStringLiteral("%1.mp3 does not decode to the recording that was encoded "
                                             "(residual %2): its samples are not aligned")
                                  .arg(name)
                                  .arg(residual));
        }
        const int64_t lengthMs = static_cast<int64_t>(heard.size()) * 1000 / ToneRecording::kSampleRateHz;
        for (int i = 0; i < records; ++i) {
            const VerseTiming& timing = table[static_cast<size_t>(i)];
            const bool ordered = timing.startMs < timing.endMs &&
                                 (i == 0 || timing.startMs >= table[static_cast<size_t>(i - 1)].endMs);
            if (!ordered || timing.startMs < 0 || timing.endMs > lengthMs) {
                return buildError(
                    QStringLiteral("%1.pos record %2 (%3 to %4 ms) is out of order or beyond the "
                                   "recording's %5 ms")
                        .arg(name)
                        .arg(i)
                        .arg(timing.startMs)
                        .arg(timing.endMs)
                        .arg(lengthMs));
            }
        }
        log << "checked " << name.toStdString() << ".mp3: " << heard.size() << " samples, " << records
            << " records, residual " << residual << '\n';
    }
    return {};
}

Result<void> SampleFolderBuilder::writeManifest(std::ostream& log) {
    const AudioTools tools(m_options.lamePath, m_options.mpg123Path);
    const Result<QString> lame = tools.lameVersion();
    const Result<QString> mpg123 = tools.mpg123Version();
    QJsonObject toolVersions;
    toolVersions.insert(QStringLiteral("lumora-pack"), QStringLiteral(LUMORA_VERSION));
    toolVersions.insert(QStringLiteral("lame"), lame ? lame.value() : QStringLiteral("unknown"));
    toolVersions.insert(QStringLiteral("mpg123"), mpg123 ? mpg123.value() : QStringLiteral("unknown"));
    toolVersions.insert(QStringLiteral("quran-json"), m_options.dataSetVersion);

    QJsonObject recordings;
    for (const auto& [sura, recording] : m_recordings) {
        QJsonArray records;
        for (const RecordTiming& timing : recording.timings()) {
            records.append(QJsonArray{timing.startMs, timing.endMs});
        }
        QJsonObject entry;
        entry.insert(QStringLiteral("file"), QStringLiteral("mp3/%1.mp3").arg(suraName(sura)));
        entry.insert(QStringLiteral("sampleRateHz"), ToneRecording::kSampleRateHz);
        entry.insert(QStringLiteral("samples"), static_cast<qint64>(recording.samples().size()));
        entry.insert(QStringLiteral("lengthMs"), recording.lengthMs());
        entry.insert(QStringLiteral("records"), records);
        recordings.insert(suraName(sura), entry);
    }

    QJsonObject hashes;
    for (const QString& relative : m_outputs) {
        const Result<QByteArray> bytes = readInput(outPath(relative));
        if (!bytes) {
            return bytes.error();
        }
        hashes.insert(
            relative,
            QString::fromLatin1(QCryptographicHash::hash(bytes.value(), QCryptographicHash::Sha256).toHex()));
    }

    QJsonObject manifest;
    manifest.insert(QStringLiteral("tools"), toolVersions);
    manifest.insert(QStringLiteral("recordings"), recordings);
    manifest.insert(QStringLiteral("sha256"), hashes);
    const Result<void> written = writeOutput(QString::fromLatin1(kManifestName),
                                             QJsonDocument(manifest).toJson(QJsonDocument::Indented));
    if (!written) {
        return written;
    }
    log << "manifest " << kManifestName << " (" << hashes.size() << " files)\n";
    return {};
}

}  // namespace lumora::pack
