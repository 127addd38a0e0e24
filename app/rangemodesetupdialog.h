#pragma once
// "Range mode settings": how many times a range is recited, the pauses after a range and between verses,
// whether the next range follows, and what comes after the sura's last range. The dialog is loaded from
// the settings in use and hands back the texts as typed; the window stores them on OK. A box whose text
// is not a number keeps the focus when the user leaves it (Cancel excepted), and OK checks all three.

#include <QDialog>
#include <QMessageBox>
#include <array>
#include <functional>

#include "recitation/rangesettings.h"

class QAbstractButton;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace lumora {

class RangeModeSetupDialog : public QDialog {
    Q_OBJECT
public:
    static const QString kTitle;      // "Range mode settings"
    static const QString kHelpTitle;  // "Range mode settings - Help"
    static const QString kTimesMessage;
    static const QString kNumberMessage;
    // The texts of the four help buttons, in the order of the buttons.
    static const std::array<QString, 4>& helpTexts();

    // Shows a message box: icon, title, text. Replaceable so that tests need no nested event loop.
    using MessageHook = std::function<void(QMessageBox::Icon, const QString&, const QString&)>;

    explicit RangeModeSetupDialog(const RangeSettings& settings, QWidget* parent = nullptr);

    // The entries as the user left them.
    RangeSetupEntry entry() const;
    void setMessageHook(MessageHook hook) { m_message = std::move(hook); }

    QRadioButton* unlimitedOption() const { return m_unlimited; }
    QRadioButton* timesOption() const { return m_timesOption; }
    QLineEdit* timesBox() const { return m_times; }
    QLineEdit* pauseBox() const { return m_pause; }
    QLineEdit* pauseBetweenVersesBox() const { return m_pauseBetweenVerses; }
    QCheckBox* nextRangeBox() const { return m_nextRange; }
    QRadioButton* afterSuraOption(int index) const { return m_afterSura.at(static_cast<size_t>(index)); }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }
    QPushButton* helpButton(int index) const { return m_help.at(static_cast<size_t>(index)); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Shows the box's message and gives it the focus back when its text is not acceptable.
    bool validate(QLineEdit* box);
    void onOk();
    void showHelp(int index);

    QRadioButton* m_unlimited = nullptr;
    QRadioButton* m_timesOption = nullptr;
    QLineEdit* m_times = nullptr;
    QLineEdit* m_pause = nullptr;
    QLineEdit* m_pauseBetweenVerses = nullptr;
    QCheckBox* m_nextRange = nullptr;
    std::array<QRadioButton*, 3> m_afterSura{};
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    std::array<QPushButton*, 4> m_help{};
    MessageHook m_message;
    bool m_validating = false;
};

}  // namespace lumora
