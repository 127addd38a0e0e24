#include "app/windowdialogs.h"

#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "app/aboutwindow.h"
#include "app/appicon.h"
#include "app/equalizerdialog.h"
#include "app/mainwindow.h"
#include "app/quicksuradialog.h"
#include "app/quickversedialog.h"
#include "app/rangemodesetupdialog.h"
#include "audio/player.h"
#include "recitation/rangesaver.h"
#include "recitation/recitationcontroller.h"
#include "text/versetextassignment.h"

namespace lumora {

void WindowDialogs::message(const QString& title, const QString& text, bool critical) {
    m_window.adjustTopMost(false);
    QMessageBox box(critical ? QMessageBox::Critical : QMessageBox::Information, title, text, QMessageBox::Ok,
                    m_window.isVisible() ? &m_window : nullptr);
    box.exec();
    m_window.adjustTopMost(true);
}

bool WindowDialogs::askYesNo(const QString& title, const QString& text) {
    m_window.adjustTopMost(false);
    QMessageBox question(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, &m_window);
    const bool yes = question.exec() == QMessageBox::Yes;
    m_window.adjustTopMost(true);
    return yes;
}

void WindowDialogs::verse(const QString& caption, bool rangeBegin, bool rangeEnd, int totalVerseNos) {
    RecitationController* controller = m_window.controller();
    if (!controller)
        return;
    // One instance, hidden between uses.
    auto* dialog = m_window.findChild<QuickVerseDialog*>(QString(), Qt::FindDirectChildrenOnly);
    if (!dialog)
        dialog = new QuickVerseDialog(&m_window);
    dialog->prepare(caption, rangeBegin, rangeEnd, totalVerseNos, controller->sura());
    m_window.adjustTopMost(false);
    const QuickVerseDialog::Outcome outcome = dialog->ask();
    if (outcome == QuickVerseDialog::Outcome::TooLarge) {
        QMessageBox box(QMessageBox::NoIcon, QString(), dialog->tooLargeMessage(), QMessageBox::Ok, &m_window);
        box.exec();
    }
    m_window.adjustTopMost(true);
    if (outcome == QuickVerseDialog::Outcome::Chosen)
        controller->callSetText(dialog->verseNo(), rangeBegin, rangeEnd);
}

void WindowDialogs::rangeModeSetup() {
    RecitationController* controller = m_window.controller();
    if (!controller)
        return;
    m_window.adjustTopMost(false);
    RangeModeSetupDialog dialog(controller->rangeSettings(), &m_window);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    m_window.adjustTopMost(true);
    if (!accepted)
        return;
    if (Result<void> stored = controller->applyRangeSetup(m_window.settings(), dialog.entry()); !stored)
        m_window.showFailure(stored.error());
}

void WindowDialogs::quickSura() {
    RecitationController* controller = m_window.controller();
    if (!controller)
        return;
    auto* dialog = m_window.findChild<QuickSuraDialog*>(QString(), Qt::FindDirectChildrenOnly);
    if (!dialog)
        dialog = new QuickSuraDialog(&m_window);
    m_window.adjustTopMost(false);
    const int sura = dialog->ask();
    if (dialog->tooLarge()) {
        QMessageBox box(QMessageBox::NoIcon, QString(), QuickSuraDialog::kTooLargeMessage, QMessageBox::Ok, &m_window);
        box.exec();
    }
    if (sura != 0) {
        if (Result<void> selected = controller->selectSura(sura - 1); !selected)
            m_window.showFailure(selected.error());
        // V goes on to the verse dialog of the sura just loaded.
        if (dialog->verseRequested() && controller->sura() == sura)
            verse(QStringLiteral("Move to verse"), false, false, controller->verseNo(sura));
    }
    m_window.adjustTopMost(true);
}

void WindowDialogs::equalizer() {
    Player* player = m_window.m_player;
    EqualizerSettings* settings = m_window.m_equalizer;
    if (!player || !settings)
        return;
    EqualizerDialog::PlayerHooks hooks;
    hooks.enableEqualiser = [player, settings](bool enable) {
        if (enable) {
            player->enableEqualizer();
            player->setEqualizerValue(settings->gainsDb);
        } else {
            player->disableEqualizer();
        }
    };
    hooks.setEqualizerValue = [player, settings] { player->setEqualizerValue(settings->gainsDb); };
    m_window.adjustTopMost(false);
    EqualizerDialog dialog(m_window.settings(), QStringLiteral("ZI4"), *settings, std::move(hooks), &m_window);
    dialog.exec();
    m_window.adjustTopMost(true);
}

void WindowDialogs::saveRangeToMp3() {
    RecitationController* controller = m_window.controller();
    if (!controller)
        return;
    RangeSaver::Range range;
    range.mediaFile = controller->mediaFile();
    range.suraNumberText = controller->suraNumberText();
    range.suraText = controller->suraList().itemText(controller->suraList().currentIndex());
    range.sura9 = controller->sura() == 9;
    range.rangeBegin = controller->rangeBegin().value();
    range.rangeEnd = controller->rangeEnd().value();
    range.verseTable = controller->verseTable();
    range.recording = controller->joinedRecording();

    MainWindow& window = m_window;
    RangeSaver::Callbacks callbacks;
    callbacks.showInformation = [&window](const QString& title, const QString& text) {
        // Untitled messages carry the program's title.
        window.showMessage(title.isEmpty() ? MainWindow::kTitle : title, text, false);
    };
    callbacks.chooseFile = [&window](const QString& proposedName) -> std::optional<QString> {
        QString folder = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
        if (folder.isEmpty() || !QFileInfo(folder).isDir())
            folder = QDir::homePath();
        window.adjustTopMost(false);
        QFileDialog dialog(&window);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        // Replacing is asked about once the ".mp3" ending is in place.
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        dialog.setNameFilter(QStringLiteral("MP3 file (*.MP3)"));
        dialog.setDirectory(folder);
        dialog.selectFile(proposedName);
        const bool chosen = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
        window.adjustTopMost(true);
        if (!chosen)
            return std::nullopt;
        return dialog.selectedFiles().constFirst();
    };
    callbacks.askYesNo = [&window](const QString& title, const QString& text) {
        window.adjustTopMost(false);
        QMessageBox question(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, &window);
        question.setDefaultButton(QMessageBox::No);
        const bool yes = question.exec() == QMessageBox::Yes;
        window.adjustTopMost(true);
        return yes;
    };
    callbacks.stopRecitation = [controller] { controller->stop(); };
    (void)RangeSaver::save(range, callbacks);
}

void WindowDialogs::about(int page) {
    m_window.adjustTopMost(false);
    AboutWindow about(m_window.appFolder() + QStringLiteral("/data/main1.dat"), m_window.settings(),
                      static_cast<AboutWindow::Page>(page), m_window.isVisible() ? &m_window : nullptr);
    about.setWindowIcon(AppIcon::icon());
    about.exec();
    m_window.adjustTopMost(true);
}

void WindowDialogs::textInfo(int pane) {
    m_window.adjustTopMost(false);
    QDialog info(&m_window);
    info.setWindowTitle(QStringLiteral("LM Text Info"));
    info.resize(520, 420);
    auto* view = new QTextBrowser(&info);
    view->setOpenExternalLinks(true);
    const QString page = m_window.m_texts->pane(pane).additionalInfo();
    if (page != QLatin1String("about:blank"))
        view->setHtml(page);
    auto* close = new QPushButton(QStringLiteral("&Close"), &info);
    QObject::connect(close, &QPushButton::clicked, &info, &QDialog::accept);
    auto* layout = new QVBoxLayout(&info);
    layout->addWidget(view);
    layout->addWidget(close, 0, Qt::AlignRight);
    info.exec();
    m_window.adjustTopMost(true);
}

}  // namespace lumora
