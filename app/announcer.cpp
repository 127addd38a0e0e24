#include "app/announcer.h"

#include <QTimer>

#include "controls/accessibleverseslider.h"
#include "controls/statusline.h"
#include "recitation/recitationcontroller.h"

namespace lumora {

namespace {

// "2. AL-BAQARAH" becomes "Al-Baqarah": the list's capitals would be spelt out letter by letter by some
// screen readers.
QString suraName(QString listText) {
    listText.remove(SuraList::kAudioMissingSuffix);
    QString name = listText.trimmed();
    const qsizetype dot = name.indexOf(QStringLiteral(". "));
    if (dot >= 0) name = name.mid(dot + 2).trimmed();
    name = name.toLower();
    bool wordStart = true;
    for (QChar& c : name) {
        if (wordStart && c.isLetter()) c = c.toUpper();
        wordStart = c == u' ' || c == u'-' || c == u'\'';
    }
    return name;
}

}  // namespace

Announcer::Announcer(RecitationController& controller, StatusLine& line, QObject* parent)
    : QObject(parent), m_controller(controller), m_line(line) {
    connect(&controller, &RecitationController::suraLoaded, this, [this] {
        // The sura's message covers the range it set.
        m_rangePending = false;
        const int sura = m_controller.sura();
        const uint8_t number = static_cast<uint8_t>(sura);
        m_line.announce(suraMessage(sura, m_controller.suraList().itemText(m_controller.suraList().currentIndex()),
                                    AccessibleVerseSlider::verseCount(m_controller.rangeEnd().max(), number)));
    });
    connect(&controller, &RecitationController::modeChanged, this,
            [this](RecitationMode mode) { m_line.announce(modeMessage(mode)); });
    connect(&controller, &RecitationController::rangeRepeating, this,
            [this](int left) { m_line.announce(repeatMessage(left)); });
    connect(&controller, &RecitationController::rangeFinished, this,
            [this] { m_line.announce(rangeFinishedMessage()); });
    connect(&controller.rangeBegin(), &VerseSliderModel::changed, this, &Announcer::announceRangeSoon);
    connect(&controller.rangeEnd(), &VerseSliderModel::changed, this, &Announcer::announceRangeSoon);
    connect(&controller.currentVerseSlider(), &VerseSliderModel::changed, this, &Announcer::announceVerse);
}

QString Announcer::suraMessage(int sura, const QString& listText, int64_t verses) {
    QString message = QStringLiteral("Sura %1, %2, %3 verses").arg(sura).arg(suraName(listText)).arg(verses);
    if (listText.contains(SuraList::kAudioMissingSuffix)) message += QStringLiteral(", audio missing");
    return message;
}

QString Announcer::rangeMessage(int32_t first, int32_t last, uint8_t sura) {
    if (first == last) return QStringLiteral("Range: %1").arg(AccessibleVerseSlider::verseName(first, sura));
    return QStringLiteral("Range: %1 to %2")
        .arg(AccessibleVerseSlider::verseName(first, sura), AccessibleVerseSlider::verseName(last, sura));
}

QString Announcer::modeMessage(RecitationMode mode) {
    return mode == RecitationMode::Verse ? QStringLiteral("Verse mode") : QStringLiteral("Range mode");
}

QString Announcer::repeatMessage(int recitationsLeft) {
    if (recitationsLeft <= 0) return QStringLiteral("Range repeats");
    if (recitationsLeft == 1) return QStringLiteral("Range repeats, 1 recitation left");
    return QStringLiteral("Range repeats, %1 recitations left").arg(recitationsLeft);
}

QString Announcer::rangeFinishedMessage() { return QStringLiteral("Range finished"); }

void Announcer::announceRangeSoon() {
    if (m_controller.loadingSura() || m_controller.sura() == 0 || m_rangePending) return;
    // Moving a range moves both markers: one message once the action is done.
    m_rangePending = true;
    QTimer::singleShot(0, this, &Announcer::announceRange);
}

void Announcer::announceRange() {
    if (!m_rangePending) return;
    m_rangePending = false;
    m_line.announce(rangeMessage(m_controller.rangeBegin().value(), m_controller.rangeEnd().value(),
                                 static_cast<uint8_t>(m_controller.sura())));
}

void Announcer::announceVerse() {
    if (!m_eachVerse || m_controller.loadingSura() || m_controller.sura() == 0) return;
    const int32_t slot = m_controller.currentVerseSlider().value();
    const uint8_t sura = static_cast<uint8_t>(m_controller.sura());
    QString name = AccessibleVerseSlider::verseName(slot, sura);
    name[0] = name[0].toUpper();
    const QString text = m_verseText ? m_verseText(slot).simplified() : QString();
    m_line.announce(text.isEmpty() ? name : name + QStringLiteral(": ") + text);
}

}  // namespace lumora
