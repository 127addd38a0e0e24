#pragma once
// SampleFolderBuilder: lays out the sample program folder around the executable, from the data set's
// texts and Lumora's own inputs:
//   data/tdata/<text name>.dat   one text package per text, and NOTICE beside them
//   data/<word-by-word file>     the project's word meanings, named by the Arabic package's configuration
//   data/pos.dat                 the timing tables (stored), one NNN.pos entry per sura
//   data/main1.dat               about.htm, keyboard.htm, version.htm
//   mp3/NNN.mp3                  placeholder tone recordings for a handful of suras
//   config.ini                   the program's configuration, with an empty MP3Path
//   sample-manifest.json         tool versions, the timings of every recording, sha256 of every output
// Then it checks what it wrote: the timing tables read back through the archive reader, and every
// recording decoded by an independent decoder fits its table sample for sample. The same inputs give
// the same bytes: nothing depends on the time, the build folder or the order of a directory listing.

#include <QString>
#include <map>
#include <memory>
#include <ostream>
#include <vector>

#include "codec/result.h"
#include "tools/textpackagebuilder.h"
#include "tools/tonerecording.h"

namespace lumora::pack {

// One text package of the sample folder and where its text comes from.
struct SamplePackage {
    QString name;        // the package's file name without ".dat", as the program lists it
    QString sourceFile;  // the data set's JSON file
    QString field;       // the verse field that holds this text
    TextKind kind;
    QString configTemplate;  // below the inputs folder: the package's config.ini
};

struct SampleOptions {
    QString textsFolder;   // the data set's JSON files
    QString inputsFolder;  // Lumora's own inputs: packages/, wordbyword/, NOTICE
    QString helpFolder;    // the help pages about.htm, keyboard.htm, version.htm
    QString outFolder;     // the program folder to fill
    QString lamePath = QStringLiteral("lame");
    QString mpg123Path = QStringLiteral("mpg123");
    QString dataSetVersion;  // recorded in the manifest
};

class SampleFolderBuilder {
public:
    // The suras that get a placeholder recording: the short suras people learn first, and sura 67 as a
    // longer one.
    static const std::vector<int>& recordedSuras();
    static const std::vector<SamplePackage>& packages();
    static const char* const kManifestName;

    explicit SampleFolderBuilder(SampleOptions options);

    // Builds and checks the whole folder; one progress line per step goes to log.
    Result<void> build(std::ostream& log);

private:
    Result<void> buildTexts(std::ostream& log);
    Result<void> buildWordByWord(std::ostream& log);
    Result<void> buildRecordings(std::ostream& log);
    Result<void> buildHelpAndConfiguration(std::ostream& log);
    Result<void> verifyRecordings(std::ostream& log);
    Result<void> writeManifest(std::ostream& log);

    QString outPath(const QString& relative) const;
    Result<void> writeOutput(const QString& relative, const QByteArray& bytes);

    SampleOptions m_options;
    std::unique_ptr<VerseTextSource> m_arabic;
    QString m_wordByWordFile;
    std::map<int, ToneRecording> m_recordings;
    std::vector<QString> m_outputs;  // relative paths of every file written, for the manifest
};

}  // namespace lumora::pack
