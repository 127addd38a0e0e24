#include "app/quickversedialog.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace lumora {

namespace {
constexpr int kMaxDigits = 9;
}  // namespace

QuickVerseDialog::QuickVerseDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Move to Verse"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Verse No"), this));
    m_verseNoBox = new QLineEdit(this);
    m_verseNoBox->setObjectName(QStringLiteral("txtVerseNo"));
    m_verseNoBox->setMaxLength(kMaxDigits);
    m_verseNoBox->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this));
    m_verseNoBox->installEventFilter(this);
    connect(m_verseNoBox, &QLineEdit::textEdited, this, &QuickVerseDialog::onTextEdited);
    row->addWidget(m_verseNoBox);
    layout->addLayout(row);
    layout->addWidget(new QLabel(QStringLiteral("Type the Verse no and Press Enter Key. "), this));
    layout->addWidget(new QLabel(QStringLiteral("Press Esc to close"), this));
    setFixedSize(sizeHint());
}

void QuickVerseDialog::prepare(const QString& caption, bool rangeBegin, bool rangeEnd, int totalVerseNos,
                               int sura) {
    setWindowTitle(caption);
    m_rangeBegin = rangeBegin;
    m_rangeEnd = rangeEnd;
    m_totalVerseNos = totalVerseNos;
    m_sura = sura;
}

QuickVerseDialog::Outcome QuickVerseDialog::ask() {
    m_outcome = Outcome::Closed;
    m_verseNo = 0;
    exec();
    return m_outcome;
}

int QuickVerseDialog::verseCount(int totalVerseNos, int sura) {
    // Suras 1 and 9 have no opening invocation among their records.
    return sura == 1 || sura == 9 ? totalVerseNos : totalVerseNos - 1;
}

QString QuickVerseDialog::tooLargeMessage() const {
    return QStringLiteral("Only %1 verses in this sura").arg(verseCount());
}

void QuickVerseDialog::showEvent(QShowEvent* event) {
    m_verseNoBox->clear();
    m_verseNoBox->setFocus();
    QDialog::showEvent(event);
}

int QuickVerseDialog::typedNumber() const {
    if (m_verseNoBox->text().isEmpty())
        return 0;
    bool ok = false;
    const int number = m_verseNoBox->text().toInt(&ok);
    return ok ? number : -1;
}

void QuickVerseDialog::onTextEdited() {
    const int number = typedNumber();
    if (number >= 0 && number <= verseCount())
        return;
    m_outcome = Outcome::TooLarge;
    reject();
}

bool QuickVerseDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_verseNoBox && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            const int number = typedNumber();
            if (number >= 0 && number <= verseCount()) {
                m_verseNo = number;
                m_outcome = Outcome::Chosen;
                accept();
            }
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace lumora
