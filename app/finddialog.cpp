#include "app/finddialog.h"

#include <QAbstractTextDocumentLayout>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTextDocument>
#include <QVBoxLayout>
#include <algorithm>

#include "search/indexloader.h"

namespace lumora {

namespace {

// A long verse shows this many characters around its match, so the row stays one line in a wide dialog.
constexpr int kSnippetLength = 140;
constexpr int kSnippetLead = 40;
const QString kEllipsis = QStringLiteral("\u2026");
const QString kMatchBackground = QStringLiteral("#FFE27A");

// Draws a row's text with its match on a yellow ground; the rest as the view would.
class ResultDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        const QString text = item.text;
        item.text.clear();
        item.widget->style()->drawControl(QStyle::CE_ItemViewItem, &item, painter, item.widget);

        QTextDocument document;
        document.setDefaultFont(item.font);
        document.setDocumentMargin(2);
        document.setHtml(html(text, index));
        const QRect area = item.widget->style()->subElementRect(QStyle::SE_ItemViewItemText, &item, item.widget);
        painter->save();
        painter->translate(area.topLeft());
        painter->setClipRect(area.translated(-area.topLeft()));
        QAbstractTextDocumentLayout::PaintContext context;
        const bool selected = (item.state & QStyle::State_Selected) != 0;
        context.palette.setColor(QPalette::Text, item.palette.color(selected ? QPalette::HighlightedText
                                                                             : QPalette::Text));
        document.documentLayout()->draw(painter, context);
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(size.height() + 4);
        return size;
    }

private:
    static QString html(const QString& text, const QModelIndex& index) {
        const int start = index.data(FindDialog::kMatchStartRole).toInt();
        const int length = index.data(FindDialog::kMatchLengthRole).toInt();
        if (start < 0 || length <= 0 || start + length > text.size()) return text.toHtmlEscaped();
        return text.left(start).toHtmlEscaped() + QStringLiteral("<span style=\"background-color:") +
               kMatchBackground + QStringLiteral("; color:#000000;\">") + text.mid(start, length).toHtmlEscaped() +
               QStringLiteral("</span>") + text.mid(start + length).toHtmlEscaped();
    }
};

bool movesThroughResults(int key) {
    return key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp || key == Qt::Key_PageDown;
}

}  // namespace

FindDialog::FindDialog(IndexLoader& loader, QWidget* parent) : QDialog(parent), m_loader(loader) {
    setWindowTitle(QStringLiteral("Find a Verse"));
    setObjectName(QStringLiteral("frmFind"));
    resize(720, 440);

    auto* layout = new QVBoxLayout(this);
    auto* fields = new QGridLayout;
    auto* findLabel = new QLabel(QStringLiteral("&Find:"), this);
    m_searchBox = new QLineEdit(this);
    m_searchBox->setObjectName(QStringLiteral("txtFind"));
    m_searchBox->setPlaceholderText(QStringLiteral("Words of a verse, in Arabic or in a translation"));
    m_searchBox->setClearButtonEnabled(true);
    findLabel->setBuddy(m_searchBox);
    auto* inLabel = new QLabel(QStringLiteral("&In:"), this);
    m_textChoice = new QComboBox(this);
    m_textChoice->setObjectName(QStringLiteral("cmbFindIn"));
    m_textChoice->addItem(QStringLiteral("All texts"), -1);
    inLabel->setBuddy(m_textChoice);
    fields->addWidget(findLabel, 0, 0);
    fields->addWidget(m_searchBox, 0, 1);
    fields->addWidget(inLabel, 1, 0);
    fields->addWidget(m_textChoice, 1, 1);
    layout->addLayout(fields);

    m_results = new QListWidget(this);
    m_results->setObjectName(QStringLiteral("lstFound"));
    m_results->setItemDelegate(new ResultDelegate(m_results));
    m_results->setUniformItemSizes(true);
    m_results->setTextElideMode(Qt::ElideNone);
    layout->addWidget(m_results, 1);

    auto* progressRow = new QHBoxLayout;
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("prgIndex"));
    m_progress->setFormat(QStringLiteral("Reading the installed texts: %p%"));
    m_cancelBuild = new QPushButton(QStringLiteral("&Cancel"), this);
    m_cancelBuild->setObjectName(QStringLiteral("cmdCancelIndex"));
    m_cancelBuild->setAutoDefault(false);
    progressRow->addWidget(m_progress, 1);
    progressRow->addWidget(m_cancelBuild);
    layout->addLayout(progressRow);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("lblFindStatus"));
    m_status->setWordWrap(true);
    layout->addWidget(m_status);

    auto* buttons = new QDialogButtonBox(this);
    m_go = buttons->addButton(QStringLiteral("&Go to Verse"), QDialogButtonBox::AcceptRole);
    m_go->setObjectName(QStringLiteral("cmdGoToVerse"));
    m_go->setDefault(true);
    QPushButton* close = buttons->addButton(QDialogButtonBox::Close);
    close->setAutoDefault(false);
    layout->addWidget(buttons);

    m_searchBox->installEventFilter(this);
    connect(m_searchBox, &QLineEdit::textChanged, this, &FindDialog::search);
    connect(m_textChoice, &QComboBox::currentIndexChanged, this, &FindDialog::search);
    connect(m_results, &QListWidget::itemDoubleClicked, this, &FindDialog::choose);
    connect(m_results, &QListWidget::currentRowChanged, this, [this](int row) { m_go->setEnabled(row >= 0); });
    connect(m_go, &QPushButton::clicked, this, &FindDialog::choose);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_cancelBuild, &QPushButton::clicked, &m_loader, &IndexLoader::cancel);
    connect(&m_loader, &IndexLoader::ready, this, &FindDialog::onIndexReady);
    connect(&m_loader, &IndexLoader::failed, this, &FindDialog::onIndexFailed);
    connect(&m_loader, &IndexLoader::progress, this, &FindDialog::onProgress);

    m_go->setEnabled(false);
    showBuilding(false);
}

void FindDialog::showFind() {
    show();
    raise();
    activateWindow();
    m_searchBox->setFocus(Qt::ShortcutFocusReason);
    m_searchBox->selectAll();
    if (m_loader.ensure()) {
        fillTextChoice();
        search();
    } else {
        showBuilding(m_loader.building());
    }
}

void FindDialog::showBuilding(bool building) {
    m_progress->setVisible(building);
    m_cancelBuild->setVisible(building);
    if (building) {
        m_progress->setRange(0, 0);
        m_status->setText(QStringLiteral("Preparing the search: the installed texts are read once."));
    }
}

void FindDialog::onProgress(int done, int total) {
    m_progress->setRange(0, total);
    m_progress->setValue(done);
}

void FindDialog::onIndexReady() {
    showBuilding(false);
    fillTextChoice();
    search();
}

void FindDialog::onIndexFailed(const QString& message, bool cancelled) {
    showBuilding(false);
    m_results->clear();
    m_status->setText(cancelled ? QStringLiteral("The search was cancelled. Type again to search.")
                                : QStringLiteral("The texts could not be read for searching: %1").arg(message));
}

void FindDialog::fillTextChoice() {
    const VerseIndex* index = m_loader.index();
    if (index == nullptr || index == m_choiceIndex) return;
    m_choiceIndex = index;
    const QSignalBlocker blocker(m_textChoice);
    const QString chosen = m_textChoice->currentIndex() > 0 ? m_textChoice->currentText() : QString();
    while (m_textChoice->count() > 1) m_textChoice->removeItem(1);
    for (size_t t = 0; t < index->texts().size(); ++t) {
        m_textChoice->addItem(index->texts()[t].caption, static_cast<int>(t));
    }
    m_textChoice->setCurrentIndex(std::max(0, m_textChoice->findText(chosen)));
}

void FindDialog::search() {
    if (!isVisible()) return;
    if (!m_loader.ensure()) {
        // Typed while the index is built (or after a cancelled build): searched when it is ready.
        showBuilding(m_loader.building());
        return;
    }
    fillTextChoice();
    const VerseIndex& index = *m_loader.index();
    m_results->clear();
    const QString query = m_searchBox->text();
    const VerseIndex::Results found = index.search(query, kShownResults, m_textChoice->currentData().toInt());

    const QLocale locale;
    QString status;
    if (found.emptyQuery) {
        status = query.trimmed().isEmpty()
                     ? QStringLiteral("Type words of a verse, in Arabic or in a translation.")
                     : QStringLiteral("Type letters: vowel marks and signs alone are not searched.");
    } else if (found.total == 0) {
        status = QStringLiteral("No verse found.");
    } else if (found.total == 1) {
        status = QStringLiteral("1 verse found.");
    } else if (found.total <= kShownResults) {
        status = QStringLiteral("%1 verses found.").arg(found.total);
    } else {
        status = QStringLiteral("%1 verses found; the first %2 are shown.")
                     .arg(locale.toString(static_cast<qlonglong>(found.total)))
                     .arg(kShownResults);
    }
    if (!index.unreadable().isEmpty()) {
        status += QStringLiteral(" Not searched, as they could not be read: %1.").arg(index.unreadable().join(u"; "));
    }
    m_status->setText(status);

    for (const VerseIndex::Hit& hit : found.hits) {
        int matchStart = hit.matchStart;
        const QString text = rowText(hit.sura, hit.verse, index.verseText(hit), matchStart, hit.matchLength);
        auto* item = new QListWidgetItem(text, m_results);
        item->setData(kSuraRole, hit.sura);
        item->setData(kVerseRole, hit.verse);
        item->setData(kMatchStartRole, matchStart);
        item->setData(kMatchLengthRole, hit.matchLength);
        item->setToolTip(index.texts()[static_cast<size_t>(hit.text)].caption);
    }
    if (m_results->count() > 0) m_results->setCurrentRow(0);
    m_go->setEnabled(m_results->count() > 0);
}

QString FindDialog::rowText(int sura, int verse, QStringView verseText, int& matchStart, int matchLength) {
    const QString prefix = QStringLiteral("%1:%2 \u2014 ").arg(sura).arg(verse);
    qsizetype from = 0;
    qsizetype to = verseText.size();
    if (verseText.size() > kSnippetLength) {
        from = std::max<qsizetype>(0, matchStart - kSnippetLead);
        // Cut at a blank when one is near, so no word is shown in part.
        if (from > 0) {
            const qsizetype blank = verseText.lastIndexOf(u' ', from);
            if (blank >= 0 && from - blank < kSnippetLead / 2) from = blank + 1;
        }
        to = std::max<qsizetype>(from + kSnippetLength, matchStart + matchLength);
        if (to < verseText.size()) {
            const qsizetype blank = verseText.indexOf(u' ', to);
            if (blank >= 0 && blank - to < kSnippetLead / 2) to = blank;
        }
        to = std::min(to, verseText.size());
    }
    QString row = prefix;
    if (from > 0) row += kEllipsis;
    matchStart = static_cast<int>(matchStart - from + row.size());
    row += verseText.mid(from, to - from);
    if (to < verseText.size()) row += kEllipsis;
    return row;
}

void FindDialog::choose() {
    QListWidgetItem* item = m_results->currentItem();
    if (item == nullptr || !isVisible()) return;
    const int sura = item->data(kSuraRole).toInt();
    const int verse = item->data(kVerseRole).toInt();
    hide();
    emit verseChosen(sura, verse);
}

bool FindDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_searchBox && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (movesThroughResults(key->key()) && m_results->count() > 0) {
            QKeyEvent forwarded(QEvent::KeyPress, key->key(), key->modifiers(), key->text());
            QCoreApplication::sendEvent(m_results, &forwarded);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace lumora
