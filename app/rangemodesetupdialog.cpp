#include "app/rangemodesetupdialog.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

#include "settings/settingtext.h"

namespace lumora {

const QString RangeModeSetupDialog::kTitle = QStringLiteral("Range mode settings");
const QString RangeModeSetupDialog::kHelpTitle = QStringLiteral("Range mode settings - Help");
const QString RangeModeSetupDialog::kTimesMessage = QStringLiteral("please enter a number greater than 0 ");
const QString RangeModeSetupDialog::kNumberMessage = QStringLiteral("please enter a number");

const std::array<QString, 4>& RangeModeSetupDialog::helpTexts() {
    static const QString kBreak = QStringLiteral("\r\n");
    static const std::array<QString, 4> kTexts = {
        QStringLiteral("This option determines how many times a range will be recited.") + kBreak +
            QStringLiteral("Range is the verses between the sliders 'Range Begin' and 'Range End'. You can select "
                           "a range by adjusting these sliders. On opening a sura, complete sura is selected as "
                           "the range") +
            kBreak + kBreak +
            QStringLiteral("Unlimited Times : If this option is selected then the selected range will be recited "
                           "continuously. If only part of a sura is selected then you can advance to next range "
                           "by pressing letter 'm'. You can advance to previous or next sura by pressing PageUp "
                           "or PageDown key") +
            kBreak + QStringLiteral("No of times : The selected range will be recited specified no of times.") +
            kBreak + kBreak +
            QStringLiteral("Tip : If you want to recite the same verse multiple no of times then drag the 'Range "
                           "Begin' and 'Range End' to the same verse."),
        QStringLiteral("If this option is checked then after completing the specified no of times in the above "
                       "option, next range is selected and recited. No of verses in the new range will be same "
                       "as current range."),
        QStringLiteral("No of seconds to be paused after completing a range."),
        QStringLiteral("This option determine what to do after current sura is completed. This will have no "
                       "effect if unlimited times option is selected above. "),
    };
    return kTexts;
}

RangeModeSetupDialog::RangeModeSetupDialog(const RangeSettings& settings, QWidget* parent) : QDialog(parent) {
    setWindowTitle(kTitle);
    m_message = [this](QMessageBox::Icon icon, const QString& title, const QString& text) {
        QMessageBox box(icon, title, text, QMessageBox::Ok, this);
        box.exec();
    };

    auto makeBox = [this](const QString& name) {
        auto* box = new QLineEdit(this);
        box->setObjectName(name);
        box->setMaximumWidth(fontMetrics().horizontalAdvance(QLatin1Char('0')) * 8);
        box->installEventFilter(this);
        return box;
    };
    auto makeHelp = [this](int index) {
        auto* button = new QPushButton(QStringLiteral("?"), this);
        button->setToolTip(QStringLiteral("Help"));
        button->setAutoDefault(false);
        button->setFixedWidth(button->sizeHint().height());
        connect(button, &QPushButton::clicked, this, [this, index] { showHelp(index); });
        m_help.at(static_cast<size_t>(index)) = button;
        return button;
    };

    m_unlimited = new QRadioButton(QStringLiteral("Unlimited times"), this);
    m_timesOption = new QRadioButton(this);
    auto* timesGroup = new QButtonGroup(this);
    timesGroup->addButton(m_unlimited);
    timesGroup->addButton(m_timesOption);
    m_times = makeBox(QStringLiteral("txtTimes"));
    m_pause = makeBox(QStringLiteral("txtPause"));
    m_pauseBetweenVerses = makeBox(QStringLiteral("txtPauseBetweenVerses"));
    m_nextRange = new QCheckBox(QStringLiteral("Recite next Range after current Range"), this);

    auto* grid = new QGridLayout;
    grid->addWidget(m_unlimited, 0, 0, 1, 4);
    grid->addWidget(makeHelp(0), 0, 4);
    auto* timesRow = new QHBoxLayout;
    timesRow->addWidget(m_timesOption);
    timesRow->addWidget(new QLabel(QStringLiteral("Recite range "), this));
    grid->addLayout(timesRow, 1, 0);
    grid->addWidget(m_times, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("time(s)"), this), 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Pause "), this), 2, 0, Qt::AlignRight);
    grid->addWidget(m_pause, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("second(s) after Range"), this), 2, 2);
    grid->addWidget(makeHelp(2), 2, 4);
    grid->addWidget(new QLabel(QStringLiteral("Pause "), this), 3, 0, Qt::AlignRight);
    grid->addWidget(m_pauseBetweenVerses, 3, 1);
    grid->addWidget(new QLabel(QStringLiteral("second(s) between verses"), this), 3, 2);
    grid->addWidget(m_nextRange, 4, 0, 1, 4);
    grid->addWidget(makeHelp(1), 4, 4);
    grid->setColumnStretch(3, 1);

    auto* frame = new QGroupBox(QStringLiteral("After Current Sura"), this);
    auto* frameLayout = new QGridLayout(frame);
    const char* const afterCaptions[] = {"Recite Next Sura", "Recite same sura again", "Stop Recitation"};
    for (int i = 0; i < 3; ++i) {
        auto* option = new QRadioButton(QString::fromLatin1(afterCaptions[i]), frame);
        m_afterSura.at(static_cast<size_t>(i)) = option;
        frameLayout->addWidget(option, i, 0);
    }
    frameLayout->addWidget(makeHelp(3), 0, 1);
    frameLayout->setColumnStretch(0, 1);

    m_ok = new QPushButton(QStringLiteral("&OK"), this);
    m_ok->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    m_cancel->setAutoDefault(false);
    connect(m_ok, &QPushButton::clicked, this, &RangeModeSetupDialog::onOk);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(frame);
    layout->addLayout(buttons);

    // Load from the settings in use.
    if (settings.noofTimes != 0) {
        m_timesOption->setChecked(true);
        m_times->setText(QString::number(settings.noofTimes));
    } else {
        m_unlimited->setChecked(true);
        m_times->setText(QStringLiteral("1"));
    }
    m_pause->setText(QString::number(settings.pause));
    m_pauseBetweenVerses->setText(QString::number(settings.pauseBetweenVerses));
    m_nextRange->setChecked(settings.nextRange);
    // The first true one wins, as at the end of a range; none selected when all three are false.
    const std::array<bool, 3> after = {settings.nextSura, settings.restartSura, settings.stopRecitation};
    for (size_t i = 0; i < after.size(); ++i) {
        if (after.at(i)) {
            m_afterSura.at(i)->setChecked(true);
            break;
        }
    }
    setFixedSize(sizeHint());
}

RangeSetupEntry RangeModeSetupDialog::entry() const {
    RangeSetupEntry result;
    result.unlimited = m_unlimited->isChecked();
    result.timesText = m_times->text();
    result.pauseText = m_pause->text();
    result.pauseBetweenVersesText = m_pauseBetweenVerses->text();
    result.nextRange = m_nextRange->isChecked();
    result.afterSura = -1;
    for (int i = 0; i < 3; ++i) {
        if (m_afterSura.at(static_cast<size_t>(i))->isChecked())
            result.afterSura = i;
    }
    return result;
}

bool RangeModeSetupDialog::validate(QLineEdit* box) {
    const std::optional<int32_t> value = SettingText::toRoundedInteger(box->text());
    // A count that rounds to 0 would silently mean "without end": it is refused like 0 itself.
    const bool acceptable = box == m_times ? value.has_value() && *value != 0 : value.has_value();
    if (acceptable)
        return true;
    m_validating = true;
    m_message(QMessageBox::NoIcon, QString(), box == m_times ? kTimesMessage : kNumberMessage);
    box->setFocus(Qt::OtherFocusReason);
    box->selectAll();
    m_validating = false;
    return false;
}

bool RangeModeSetupDialog::eventFilter(QObject* watched, QEvent* event) {
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (box && (box == m_times || box == m_pause || box == m_pauseBetweenVerses)) {
        if (event->type() == QEvent::FocusIn) {
            // Deferred: a mouse press that brings the focus would otherwise place the cursor over it.
            QTimer::singleShot(0, box, &QLineEdit::selectAll);
        } else if (event->type() == QEvent::FocusOut && !m_validating) {
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            QWidget* next = QApplication::focusWidget();
            // Leaving the dialog (another window, a popup) and Cancel do not ask for a number; nor does a
            // mouse press on OK, whose click checks every box itself (asking here too would ask twice).
            const bool pressOnOk = next == m_ok && reason == Qt::MouseFocusReason;
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && next != m_cancel &&
                !pressOnOk && next && next->window() == this)
                validate(box);
        }
    }
    return QDialog::eventFilter(watched, event);
}

void RangeModeSetupDialog::onOk() {
    for (QLineEdit* box : {m_times, m_pause, m_pauseBetweenVerses}) {
        if (!validate(box))
            return;
    }
    accept();
}

void RangeModeSetupDialog::showHelp(int index) {
    m_message(QMessageBox::Information, kHelpTitle, helpTexts().at(static_cast<size_t>(index)));
}

}  // namespace lumora
