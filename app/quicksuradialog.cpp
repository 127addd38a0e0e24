#include "app/quicksuradialog.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace lumora {

namespace {
// Nine digits hold any number the box can be given without overflowing an int.
constexpr int kMaxDigits = 9;
}  // namespace

const QString QuickSuraDialog::kTooLargeMessage = QStringLiteral("Only 114 suras in the Quran");

QuickSuraDialog::QuickSuraDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Quick Sura Select"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Sura No"), this));
    m_suraNo = new QLineEdit(this);
    m_suraNo->setObjectName(QStringLiteral("txtSuraNo"));
    m_suraNo->setMaxLength(kMaxDigits);
    // Digits only, also for pasted text; V is taken as a command before it reaches the box.
    m_suraNo->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this));
    m_suraNo->installEventFilter(this);
    // A number past the last sura can name none: the dialog closes as soon as it is typed.
    connect(m_suraNo, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (text.toInt() > kSuraCount) {
            m_tooLarge = true;
            reject();
        }
    });
    row->addWidget(m_suraNo);
    layout->addLayout(row);
    layout->addWidget(new QLabel(QStringLiteral("Type the Sura no and Press Enter Key. "), this));
    layout->addWidget(new QLabel(QStringLiteral("Press Esc to close"), this));
    setFixedSize(sizeHint());
}

int QuickSuraDialog::ask() {
    m_chosenSura = 0;
    m_verseRequested = false;
    m_tooLarge = false;
    exec();
    return m_chosenSura;
}

void QuickSuraDialog::showEvent(QShowEvent* event) {
    m_suraNo->clear();
    m_suraNo->setFocus();
    QDialog::showEvent(event);
}

bool QuickSuraDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_suraNo && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
            case Qt::Key_Return:
            case Qt::Key_Enter:
                choose(false);
                return true;
            case Qt::Key_V:
                if ((key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) == 0) {
                    choose(true);
                    return true;
                }
                break;
            default:
                break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void QuickSuraDialog::choose(bool verseRequested) {
    // The box holds digits only; an empty box counts as 0.
    const int number = m_suraNo->text().toInt();
    if (number < 1 || number > kSuraCount)
        return;
    m_chosenSura = number;
    m_verseRequested = verseRequested;
    accept();
}

}  // namespace lumora
