#pragma once
// The verse number dialog ("Move to Verse", "Set Range Begin", "Set Range End"): the user types a verse
// number and presses Enter; the opener then moves the current verse or a range marker there. Only digits
// can be typed; Esc closes without effect. A number larger than the sura's verse count closes the dialog
// while it is typed, and the opener tells the user how many verses the sura has. The window keeps one
// instance; every opener sets the caption, both flags and the sura's record count before showing it.

#include <QDialog>

class QLineEdit;

namespace lumora {

class QuickVerseDialog : public QDialog {
    Q_OBJECT
public:
    enum class Outcome { Closed, Chosen, TooLarge };

    explicit QuickVerseDialog(QWidget* parent = nullptr);

    // totalVerseNos: the sura's record count (its verses plus the opening invocation, except in suras 1
    // and 9, which have none); sura: 1..114.
    void prepare(const QString& caption, bool rangeBegin, bool rangeEnd, int totalVerseNos, int sura);
    // Shows the dialog modally and says how it ended; verseNo() holds the chosen verse.
    Outcome ask();

    int verseNo() const { return m_verseNo; }
    bool rangeBegin() const { return m_rangeBegin; }
    bool rangeEnd() const { return m_rangeEnd; }
    int totalVerseNos() const { return m_totalVerseNos; }
    // The sura's verses without the opening invocation: the largest number the dialog takes.
    int verseCount() const { return verseCount(m_totalVerseNos, m_sura); }
    static int verseCount(int totalVerseNos, int sura);
    // "Only K verses in this sura".
    QString tooLargeMessage() const;
    QLineEdit* verseNoBox() const { return m_verseNoBox; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // The box's number; an empty box is 0, a number too long for an int is -1.
    int typedNumber() const;
    void onTextEdited();

    QLineEdit* m_verseNoBox = nullptr;
    bool m_rangeBegin = false;
    bool m_rangeEnd = false;
    int m_totalVerseNos = 0;
    int m_sura = 0;
    int m_verseNo = 0;
    Outcome m_outcome = Outcome::Closed;
};

}  // namespace lumora
