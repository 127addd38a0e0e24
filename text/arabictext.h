#pragma once
// ArabicText: the Arabic text of every record of a sura, from the installed Arabic text package, for work
// that weighs verses by the length of their text (automatic timing). Record 0 is the opening formula in
// every sura but 9 (in sura 1 the package's formula for sura 1), then one line per verse.

#include <QString>
#include <QStringList>

#include "codec/result.h"

namespace lumora {

class ArabicText {
public:
    // The installed package whose name begins with "Arabic" (the first in the listing), or an empty text.
    static QString packageName(const QString& appFolder);
    // SuraCatalogue::verseNo(sura) texts; an error when there is no Arabic package or it lacks the sura.
    static Result<QStringList> recordTexts(const QString& appFolder, int sura);
};

}  // namespace lumora
