#pragma once
// "Find a Verse": a search box over every installed text and the verses that match, each shown as
// "sura:verse — text" with the match highlighted (the first 200, with the count of all). Enter or a
// double-click on a verse closes the dialog and hands its sura and verse to the window. The first search
// builds the index off the window's thread, with a progress bar and Cancel; keys typed meanwhile are
// searched when it is ready. Up, Down, Page Up and Page Down move through the verses while the search box
// keeps the focus; Esc closes. The window keeps one instance and shows it without blocking itself.

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QProgressBar;
class QPushButton;

namespace lumora {

class IndexLoader;

class FindDialog : public QDialog {
    Q_OBJECT
public:
    // The row roles: the sura and verse of a row, and where its highlight lies in its display text.
    static constexpr int kSuraRole = Qt::UserRole + 1;
    static constexpr int kVerseRole = Qt::UserRole + 2;
    static constexpr int kMatchStartRole = Qt::UserRole + 3;
    static constexpr int kMatchLengthRole = Qt::UserRole + 4;
    // Results shown at most.
    static constexpr int kShownResults = 200;

    explicit FindDialog(IndexLoader& loader, QWidget* parent = nullptr);

    // Shows the dialog with the focus in the search box (its text selected) and starts the index build
    // when there is no current index.
    void showFind();

    QLineEdit* searchBox() const { return m_searchBox; }
    QComboBox* textChoice() const { return m_textChoice; }
    QListWidget* results() const { return m_results; }
    QLabel* status() const { return m_status; }
    QProgressBar* progressBar() const { return m_progress; }
    QPushButton* cancelBuildButton() const { return m_cancelBuild; }
    QPushButton* goButton() const { return m_go; }
    IndexLoader& loader() const { return m_loader; }

    // The row text of a verse: "sura:verse — " and the verse, or the part of a long verse around the
    // match with "…" where it was cut; matchStart is moved into that text.
    static QString rowText(int sura, int verse, QStringView verseText, int& matchStart, int matchLength);

signals:
    void verseChosen(int sura, int verse);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void search();
    void onIndexReady();
    void onIndexFailed(const QString& message, bool cancelled);
    void onProgress(int done, int total);
    void showBuilding(bool building);
    void fillTextChoice();
    void choose();

    IndexLoader& m_loader;
    QLineEdit* m_searchBox = nullptr;
    QComboBox* m_textChoice = nullptr;
    QListWidget* m_results = nullptr;
    QLabel* m_status = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_cancelBuild = nullptr;
    QPushButton* m_go = nullptr;
    // The index the text choice was filled from, so a rebuilt index refills it.
    const void* m_choiceIndex = nullptr;
};

}  // namespace lumora
