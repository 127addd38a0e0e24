#include "recitation/timingcheck.h"

#include <QStringList>

#include "codec/suracatalogue.h"

namespace lumora {

QString TimingCheck::recordName(int sura, int32_t record) {
    if (sura == 1 || sura == 9)
        return QStringLiteral("%1:%2").arg(sura).arg(record + 1);
    if (record == 0)
        return QStringLiteral("the opening formula of sura %1").arg(sura);
    return QStringLiteral("%1:%2").arg(sura).arg(record);
}

QString TimingCheck::clockText(int64_t ms) {
    const bool negative = ms < 0;
    const int64_t a = negative ? -ms : ms;
    const int64_t hours = a / 3600000;
    const int64_t minutes = a / 60000 % 60;
    const int64_t seconds = a / 1000 % 60;
    const int64_t millis = a % 1000;
    QString text = hours > 0 ? QStringLiteral("%1:%2:%3.%4")
                                   .arg(hours)
                                   .arg(minutes, 2, 10, QLatin1Char('0'))
                                   .arg(seconds, 2, 10, QLatin1Char('0'))
                                   .arg(millis, 3, 10, QLatin1Char('0'))
                             : QStringLiteral("%1:%2.%3")
                                   .arg(minutes)
                                   .arg(seconds, 2, 10, QLatin1Char('0'))
                                   .arg(millis, 3, 10, QLatin1Char('0'));
    return negative ? QLatin1Char('-') + text : text;
}

QString TimingCheck::suraName(int sura) {
    const QString name =
        QString::fromStdString(SuraCatalogue::listText(sura)).section(QStringLiteral(". "), 1);
    return QStringLiteral("%1 (%2)").arg(sura).arg(name.trimmed());
}

QString TimingCheck::drift(int sura, const std::vector<VerseTiming>& table, int32_t recordingLengthMs) {
    if (table.empty())
        return {};
    QStringList problems;
    // The first record out of order is named; the others follow from it more often than not.
    for (size_t k = 0; k < table.size(); ++k) {
        const auto record = static_cast<int32_t>(k);
        if (table[k].endMs < table[k].startMs) {
            problems << QStringLiteral("%1 ends (%2) before it starts (%3)")
                            .arg(recordName(sura, record), clockText(table[k].endMs),
                                 clockText(table[k].startMs));
            break;
        }
        if (k > 0 && table[k].startMs < table[k - 1].startMs) {
            problems << QStringLiteral("%1 starts (%2) before %3 (%4)")
                            .arg(recordName(sura, record), clockText(table[k].startMs),
                                 recordName(sura, record - 1), clockText(table[k - 1].startMs));
            break;
        }
    }
    const int32_t lastEnd = table.back().endMs;
    if (int64_t{lastEnd} > int64_t{recordingLengthMs} + kEndToleranceMs) {
        problems << QStringLiteral("%1 ends at %2, past the end of the recording at %3")
                        .arg(recordName(sura, static_cast<int32_t>(table.size()) - 1), clockText(lastEnd),
                             clockText(recordingLengthMs));
    }
    if (problems.isEmpty())
        return {};
    return QStringLiteral(
               "The verse timings of sura %1 do not fit its recording: %2. They were probably made "
               "for another recording; recitation goes on with them as they are.")
        .arg(suraName(sura), problems.join(QStringLiteral("; ")));
}

}  // namespace lumora
