#pragma once
// "Quick Sura Select": the user types a sura number and presses Enter to load it, or V to load it and go
// on to the verse dialog. Only digits can be typed; Esc closes without effect. The window keeps one
// instance and shows it again each time; the box is emptied whenever the dialog is shown.

#include <QDialog>

class QLineEdit;

namespace lumora {

class QuickSuraDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kSuraCount = 114;

    explicit QuickSuraDialog(QWidget* parent = nullptr);

    // Shows the dialog modally. The chosen sura 1..114, or 0 when the user closed it with Esc.
    int ask();
    // Whether the last choice was made with V (the verse dialog follows).
    bool verseRequested() const { return m_verseRequested; }
    // Whether the dialog closed because the typed number passed the last sura.
    bool tooLarge() const { return m_tooLarge; }
    // What the window says after such a close.
    static const QString kTooLargeMessage;
    QLineEdit* suraNoBox() const { return m_suraNo; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Enter or V: accepts a number within 1..114; anything else leaves the dialog open.
    void choose(bool verseRequested);

    QLineEdit* m_suraNo = nullptr;
    int m_chosenSura = 0;
    bool m_verseRequested = false;
    bool m_tooLarge = false;
};

}  // namespace lumora
