#include "text/arabictext.h"

#include "codec/suracatalogue.h"
#include "text/installedtexts.h"
#include "text/versetextassignment.h"

namespace lumora {

QString ArabicText::packageName(const QString& appFolder) {
    for (const QString& name : InstalledTexts::scan(appFolder)) {
        if (name.startsWith(QStringLiteral("Arabic"), Qt::CaseInsensitive)) return name;
    }
    return {};
}

Result<QStringList> ArabicText::recordTexts(const QString& appFolder, int sura) {
    const QString name = packageName(appFolder);
    if (name.isEmpty()) {
        return Error{53, "ArabicText", (appFolder + QStringLiteral("/data/tdata: no Arabic text is installed")).toStdString()};
    }
    const int records = SuraCatalogue::verseNo(sura);
    VerseTextAssignment texts(appFolder);
    if (Result<void> chosen = texts.pane(1).setTransName(name); !chosen) return chosen.error();
    if (Result<void> loaded = texts.loadSuraTexts(sura, records); !loaded) return loaded.error();
    QStringList result;
    for (int record = 0; record < records; ++record) result.append(texts.paneText(record, 1));
    return result;
}

}  // namespace lumora
