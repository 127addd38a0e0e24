#pragma once
// Puts into words where the recitation stands and hands each message to the status line, which is how a
// screen reader hears of it: a sura loaded, the range chosen (once per action, however many markers it
// moved), the mode, the recitations of the range still to come, the range's end, and, when the user asks
// for it ("Announce each verse"), every verse as it becomes current. Changes made while a sura loads are
// left to the sura's own message.

#include <QObject>
#include <QString>
#include <functional>

#include "recitation/recitationmode.h"

namespace lumora {

class RecitationController;
class StatusLine;

class Announcer : public QObject {
    Q_OBJECT
public:
    // The text shown for a slot in the first shown pane, for the verse announcements.
    using VerseText = std::function<QString(int slot)>;

    Announcer(RecitationController& controller, StatusLine& line, QObject* parent = nullptr);

    bool announceEachVerse() const { return m_eachVerse; }
    void setAnnounceEachVerse(bool on) { m_eachVerse = on; }
    void setVerseText(VerseText verseText) { m_verseText = std::move(verseText); }

    // The messages, in words.
    static QString suraMessage(int sura, const QString& listText, int64_t verses);
    static QString rangeMessage(int32_t first, int32_t last, uint8_t sura);
    static QString modeMessage(RecitationMode mode);
    static QString repeatMessage(int recitationsLeft);
    static QString rangeFinishedMessage();

private:
    void announceRangeSoon();
    void announceRange();
    void announceVerse();

    RecitationController& m_controller;
    StatusLine& m_line;
    VerseText m_verseText;
    bool m_eachVerse = false;
    bool m_rangePending = false;
};

}  // namespace lumora
