#pragma once
// The About window: Lumora's about, keyboard shortcuts and version pages, read from the help archive
// (data/main1.dat), and the start-up choice "&Don't show this screen on startup", kept in the settings as
// "About"/"Show3" ("0": do not open at start-up, "1": open).

#include <QDialog>
#include <QString>

class QCheckBox;
class QTabWidget;
class QTextBrowser;

namespace lumora {

class SettingsStore;

class AboutWindow : public QDialog {
    Q_OBJECT
public:
    enum Page { AboutPage = 0, KeyboardPage = 1, VersionPage = 2 };

    static const QString kSection;  // "About"
    static const QString kKey;      // "Show3"

    AboutWindow(const QString& helpArchivePath, SettingsStore& store, Page page, QWidget* parent = nullptr);

    // The entry names of the pages in the help archive.
    static QString entryName(Page page);
    // A page's text: UTF-16 or UTF-8 when the bytes say so, otherwise Windows-1252.
    static QString decodePage(const QByteArray& bytes);
    // Whether start-up opens the window, from the stored "Show3" (absent: yes).
    static bool showAtStartup(const SettingsStore& store);

    Page currentPage() const;
    QCheckBox* dontShowBox() const { return m_dontShow; }
    QTextBrowser* pageView(Page page) const;

    void done(int result) override;

private:
    QString loadPage(const QString& archivePath, Page page) const;

    SettingsStore& m_store;
    QTabWidget* m_tabs = nullptr;
    QTextBrowser* m_views[3] = {};
    QCheckBox* m_dontShow = nullptr;
};

}  // namespace lumora
