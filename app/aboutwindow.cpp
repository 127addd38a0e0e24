#include "app/aboutwindow.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QStringDecoder>
#include <QTabWidget>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "codec/archivereader.h"
#include "settings/settingsstore.h"

namespace lumora {

namespace {

const QString kApplication = QStringLiteral("ZI4");

// The Windows-1252 characters of 0x80..0x9F; the rest of the code page is Latin-1.
constexpr char16_t kWindows1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                           0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                           0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                           0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString fromWindows1252(const QByteArray& bytes) {
    QString text;
    text.reserve(bytes.size());
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        text.append(byte >= 0x80 && byte < 0xA0 ? QChar(kWindows1252High[byte - 0x80]) : QChar(byte));
    }
    return text;
}

}  // namespace

const QString AboutWindow::kSection = QStringLiteral("About");
const QString AboutWindow::kKey = QStringLiteral("Show3");

AboutWindow::AboutWindow(const QString& helpArchivePath, SettingsStore& store, Page page, QWidget* parent)
    : QDialog(parent), m_store(store) {
    setWindowTitle(QStringLiteral("About Lumora"));
    setModal(true);
    resize(640, 520);

    m_tabs = new QTabWidget(this);
    const QString titles[3] = {QStringLiteral("About"), QStringLiteral("Keyboard shortcuts"),
                               QStringLiteral("Version history")};
    for (int i = 0; i < 3; ++i) {
        auto* view = new QTextBrowser(m_tabs);
        view->setOpenExternalLinks(true);
        view->setHtml(loadPage(helpArchivePath, static_cast<Page>(i)));
        m_views[i] = view;
        m_tabs->addTab(view, titles[i]);
    }
    m_tabs->setCurrentIndex(static_cast<int>(page));

    m_dontShow = new QCheckBox(QStringLiteral("&Don't show this screen on startup"), this);
    m_dontShow->setChecked(!showAtStartup(store));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("&Close"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_dontShow);
    bottom->addStretch();
    bottom->addWidget(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addLayout(bottom);
}

QString AboutWindow::entryName(Page page) {
    switch (page) {
        case KeyboardPage:
            return QStringLiteral("keyboard.htm");
        case VersionPage:
            return QStringLiteral("version.htm");
        case AboutPage:
            break;
    }
    return QStringLiteral("about.htm");
}

QString AboutWindow::decodePage(const QByteArray& bytes) {
    if (auto encoding = QStringConverter::encodingForData(bytes)) {
        QStringDecoder decoder(*encoding);
        return decoder.decode(bytes);
    }
    QStringDecoder utf8(QStringConverter::Utf8);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return fromWindows1252(bytes);
}

bool AboutWindow::showAtStartup(const SettingsStore& store) {
    return store.get(kApplication, kSection, kKey, QStringLiteral("1")) == QLatin1String("1");
}

AboutWindow::Page AboutWindow::currentPage() const {
    return static_cast<Page>(m_tabs->currentIndex());
}

QTextBrowser* AboutWindow::pageView(Page page) const {
    return m_views[static_cast<int>(page)];
}

QString AboutWindow::loadPage(const QString& archivePath, Page page) const {
    const std::string entry = entryName(page).toStdString();
    auto extracted = ArchiveReader::extractFile(archivePath.toStdString(), entry);
    if (!extracted) {
        return QStringLiteral("<p>This page could not be read.</p><p>%1</p>")
            .arg(QString::fromStdString(ArchiveReader::failureMessage(extracted.error())).toHtmlEscaped());
    }
    if (!extracted.value().found) {
        return QStringLiteral("<p>This page is not installed (%1 in %2).</p>")
            .arg(entryName(page).toHtmlEscaped(), archivePath.toHtmlEscaped());
    }
    const auto& bytes = extracted.value().bytes;
    return decodePage(
        QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())));
}

void AboutWindow::done(int result) {
    // The choice is kept whichever way the window closes; a store that cannot be written keeps the old
    // choice, which is no reason to hold the window open.
    (void)m_store.save(kApplication, kSection, kKey,
                       m_dontShow->isChecked() ? QStringLiteral("0") : QStringLiteral("1"));
    QDialog::done(result);
}

}  // namespace lumora
