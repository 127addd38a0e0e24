#include "app/program.h"

#include <QApplication>
#include <QClipboard>
#include <QDBusConnection>
#include <QDir>
#include <QGuiApplication>
#include <utility>

#include "app/aboutwindow.h"
#include "app/appicon.h"
#include "app/clipboardlink.h"
#include "app/controlpanel.h"
#include "app/layoutstore.h"
#include "app/mainwindow.h"
#include "app/panetextsink.h"
#include "app/programfolder.h"
#include "app/recitermenu.h"
#include "app/speedcommands.h"
#include "app/versetimings.h"
#include "app/windowkeyfilter.h"
#include "audio/player.h"
#include "audio/soundoutputfactory.h"
#include "desktop/mprisservice.h"
#include "recitation/clock.h"
#include "recitation/keyhandler.h"
#include "recitation/recitationcontroller.h"
#include "recordings/reciterlist.h"
#include "recordings/recordingfolder.h"
#include "recordings/suramark.h"
#include "settings/inifile.h"
#include "settings/settingtext.h"
#include "text/versetextassignment.h"

namespace lumora {

namespace {

const QString kMain = QStringLiteral("Main");

// The error a stored text raises when it is not of the type it is read as.
Error typeMismatch() {
    return Error{13, "Lumora", "Type mismatch"};
}

Result<int32_t> readInteger(const QString& text) {
    if (auto value = SettingText::toRoundedInteger(text))
        return *value;
    return typeMismatch();
}

Result<bool> readBoolean(const QString& text) {
    if (auto value = SettingText::toBoolean(text))
        return *value;
    return typeMismatch();
}

// Alt with R, V (the modes) or A, P, Y, S (the pane toggles) belongs to the window's handler rather than
// to the menu bar's access keys, once a sura is loaded and the handler acts on them.
bool isWindowAltKey(int keyCode, int shift) {
    if ((shift & KeyHandler::kAltMask) == 0)
        return false;
    switch (keyCode) {
        case 'R':
        case 'V':
        case 'A':
        case 'P':
        case 'Y':
        case 'S':
            return true;
        default:
            return false;
    }
}

}  // namespace

const QString Program::kApplication = QStringLiteral("ZI4");

Program::Program(Options options)
    : m_options(std::move(options)),
      m_settings(m_options.settingsFolder.isEmpty() ? SettingsStore::defaultFolder()
                                                    : m_options.settingsFolder) {
    if (m_options.clock) {
        m_clock = m_options.clock;
    } else {
        m_ownClock = std::make_unique<SteadyClock>();
        m_clock = m_ownClock.get();
    }
    m_appFolder = ProgramFolder::locate(m_options.programFolder, QCoreApplication::applicationDirPath());

    m_window = std::make_unique<MainWindow>(m_settings, m_appFolder);
    m_window->setCloseHandler([this] { shutDown(); });
    m_clipboard = std::make_unique<ClipboardLink>(QGuiApplication::clipboard());
}

Program::~Program() {
    m_mpris.reset();
    if (qApp && m_keyFilter)
        qApp->removeEventFilter(m_keyFilter.get());
    m_keyFilter.reset();
    // The window goes before the objects it shows (which then write their pages nowhere); the controller
    // before the player it drives.
    if (m_texts) {
        for (int pane = 1; pane <= VerseTextAssignment::kPaneCount; ++pane)
            m_texts->pane(pane).setPageView(nullptr);
    }
    m_verseTimings.reset();
    m_window.reset();
    m_keys.reset();
    m_controller.reset();
    m_textSink.reset();
    m_texts.reset();
    m_player.reset();
}

bool Program::clipboardReady() const {
    return m_clipboard->isReady();
}

Result<void> Program::startUp() {
    auto done = runSteps();
    if (!done)
        return done;
    m_started = true;
    startDesktopBus();
    if (!m_pendingReferences.isEmpty()) {
        const QStringList pending = std::exchange(m_pendingReferences, {});
        openReferences(pending);
    }
    return {};
}

Result<void> Program::runSteps() {
    for (int number = 10; number <= 270; number += 10) {
        m_step = number;
        if (number == 240) {
            // Steps 240 to 270 restore the last sura, range and verse, when the user wants them.
            if (!m_window->loadClosedState())
                return {};
            auto restored = restoreClosedState();
            if (!restored) {
                Error error = restored.error();
                if (error.step == 0)
                    error.step = m_step;
                return error;
            }
            return {};
        }
        auto done = runStep(number);
        if (!done) {
            Error error = done.error();
            error.step = number;
            return error;
        }
    }
    return {};
}

Result<void> Program::runStep(int number) {
    MainWindow& window = *m_window;
    switch (number) {
        case 10:  // the program folder; archive entries are read into memory, so no extraction folder
            return {};
        case 20: {
            std::string outputMessage;
            std::unique_ptr<SoundOutput> output = m_options.outputFactory
                                                      ? m_options.outputFactory(outputMessage)
                                                      : createSystemOutput(outputMessage);
            m_player = std::make_unique<Player>(std::move(output));
            window.setAudio(m_player.get(), &m_equalizer);
            SpeedCommands::addTo(window.commands(), window, m_equalizer);
            for (const std::string& message : {outputMessage, m_player->initMessage()}) {
                if (!message.empty())
                    window.showMessage(MainWindow::kTitle, QString::fromStdString(message), true);
            }
            return {};
        }
        case 30:
            window.clearPanes();
            return {};
        case 40: {
            m_texts = std::make_unique<VerseTextAssignment>(m_appFolder);
            m_textSink = std::make_unique<PaneTextSink>(*m_texts);
            m_controller = std::make_unique<RecitationController>(*m_player, *m_clock, window, *m_textSink);
            m_controller->setFolders(m_appFolder, m_appFolder + QStringLiteral("/mp3/"));
            m_keys = std::make_unique<KeyHandler>(*m_controller, window);
            window.attach(*m_controller, *m_texts, *m_keys, *m_clipboard);
            m_verseTimings = std::make_unique<VerseTimings>(window, *m_player, *m_controller, m_appFolder);
            m_verseTimings->addCommands(window.commands());
            m_keyFilter = std::make_unique<WindowKeyFilter>(
                &window, [this](int code, int shift) { m_keys->formKeyDown(code, shift); },
                [this](int code, int shift) {
                    return isWindowAltKey(code, shift) && m_controller->sura() != 0;
                });
            qApp->installEventFilter(m_keyFilter.get());
            return {};
        }
        case 50: {
            // A stored name that is not one of the five layouts gives layout 1.
            const QString layout = LayoutStore(m_settings).currentLayout();
            window.setCurrentLayout(layout);
            auto loaded = window.loadLayout(layout);
            if (!loaded)
                return loaded.error();
            QCoreApplication::processEvents();
            return {};
        }
        case 60: {
            const IniFile config = IniFile::load(m_appFolder + QStringLiteral("/config.ini"));
            m_mp3Folder = config.value(kMain, QStringLiteral("MP3Path"), QString());
            if (m_mp3Folder.isEmpty()) {
                m_mp3Folder = m_settings.get(kApplication, kMain, QStringLiteral("MP3Folder"),
                                             m_appFolder + QStringLiteral("/mp3/"));
            }
            // Every recording's path is the folder and a file name run together.
            if (!m_mp3Folder.endsWith(QLatin1Char('/')))
                m_mp3Folder += QLatin1Char('/');
            // The audio folder is the first reciter; the stored choice may name another.
            m_reciters = std::make_unique<ReciterList>(m_settings, kApplication, m_mp3Folder);
            useCurrentReciter();
            m_reciterMenu = std::make_unique<ReciterMenu>(*m_reciters, window,
                                                          [this](int index) { return switchReciter(index); });
            m_reciterMenu->addTo(window.commands());
            return {};
        }
        case 70: {
            auto on = readBoolean(m_settings.get(kApplication, QStringLiteral("LoadClosedState"),
                                                 QStringLiteral("Value"), QStringLiteral("True")));
            if (!on)
                return on.error();
            window.setLoadClosedState(on.value());
            return {};
        }
        case 80:
            window.applyShowPanel();
            return {};
        case 90:
            window.applyColourTheme();
            return {};
        case 100:
            m_controller->fillVerseNo();
            return {};
        case 110:
            return m_controller->readRangeSettings(m_settings);
        case 120: {
            const QString eq = QStringLiteral("EQ");
            auto enabled = readBoolean(
                m_settings.get(kApplication, eq, QStringLiteral("EQEnabled"), QStringLiteral("True")));
            if (!enabled)
                return enabled.error();
            m_equalizer.enabled = enabled.value();
            const EqualizerSettings defaults;
            for (size_t band = 0; band < m_equalizer.gainsDb.size(); ++band) {
                const QString text = m_settings.get(kApplication, eq, QStringLiteral("Val%1").arg(band),
                                                    SettingText::fromReal(defaults.gainsDb[band]));
                const auto gain = SettingText::toReal(text);
                if (!gain)
                    return typeMismatch();
                m_equalizer.gainsDb[band] = static_cast<float>(*gain);
            }
            return {};
        }
        case 130: {
            auto on = readBoolean(m_settings.get(kApplication, QStringLiteral("OnscreenHelp"),
                                                 QStringLiteral("Enabled"), QStringLiteral("True")));
            if (!on)
                return on.error();
            window.setOnscreenHelp(on.value());
            return {};
        }
        case 140: {
            const QString stored = m_settings.get(kApplication, QStringLiteral("Vol"), QStringLiteral("Pos"),
                                                  QStringLiteral("NO"));
            int32_t volume = VolumeModel::kDefault;
            if (stored != QLatin1String("NO")) {
                auto value = readInteger(stored);
                if (!value)
                    return value.error();
                volume = value.value();
            }
            m_controller->volume().setCurPosition(volume);
            m_controller->applyVolume();
            // The speed is newer than the other settings: an unreadable value is the normal speed, not a
            // start-up failure. Every change is kept at once.
            m_controller->speed().setHundredths(SpeedModel::fromStoredText(
                m_settings.get(kApplication, kMain, QStringLiteral("PlaybackSpeed"), QStringLiteral("1.00"))));
            window.panel()->showSpeed(m_controller->speed().hundredths());
            connect(&m_controller->speed(), &SpeedModel::changed, this, [this](int32_t hundredths) {
                m_window->panel()->showSpeed(hundredths);
                (void)m_settings.save(kApplication, kMain, QStringLiteral("PlaybackSpeed"),
                                      SpeedModel::storedText(hundredths));
            });
            return {};
        }
        case 150:  // the on-screen help was switched on with its flag (step 130)
            return {};
        case 160:
            markSuras();
            return {};
        case 170:
            connect(m_clipboard.get(), &ClipboardLink::textCopied, this, &Program::followClipboardText,
                    Qt::UniqueConnection);
            return {};
        case 180:
            window.show();
            return {};
        case 190:
            if (m_equalizer.enabled) {
                m_player->enableEqualizer();
                m_player->setEqualizerValue(m_equalizer.gainsDb);
            }
            return {};
        case 200:
            window.setWindowIcon(AppIcon::icon());
            return {};
        case 210:
            if (AboutWindow::showAtStartup(m_settings))
                window.showAboutWindow(AboutWindow::AboutPage);
            return {};
        case 220:
            m_clipboard->setReady(true);
            return {};
        case 230:
            return {};
        default:
            return {};
    }
}

Result<void> Program::restoreClosedState() {
    RecitationController& controller = *m_controller;
    m_step = 240;
    auto index =
        readInteger(m_settings.get(kApplication, kMain, QStringLiteral("Sura"), QStringLiteral("0")));
    if (!index)
        return index.error();
    if (auto selected = controller.selectSura(index.value()); !selected)
        return selected.error();

    m_step = 250;
    const QString keys[3] = {QStringLiteral("RB"), QStringLiteral("RE"), QStringLiteral("CurPos")};
    for (int slider = 0; slider < 3; ++slider) {
        VerseSliderModel& model = controller.slider(slider);
        const int32_t fallback = slider == 1 ? model.max() : model.min();
        auto value =
            readInteger(m_settings.get(kApplication, kMain, keys[slider], QString::number(fallback)));
        if (!value)
            return value.error();
        if (auto set = model.setValue(value.value()); !set)
            return set.error();
    }

    m_step = 260;
    auto verse =
        readInteger(m_settings.get(kApplication, kMain, QStringLiteral("CurVerse"), QStringLiteral("0")));
    if (!verse)
        return verse.error();
    controller.setCurrentVerse(verse.value());

    m_step = 270;
    // The panes may already show the restored verse (the sura load showed record 0); showing it again
    // would only repeat the same four pages.
    if (controller.suraList().currentIndex() != -1 && m_texts->shownSlot() != controller.currentVerse()) {
        controller.setText();
    }
    return {};
}

QString Program::startUpFailureText(const Error& error) {
    return QString::fromStdString(error.description) + QStringLiteral("\r\n\r\n") +
           QStringLiteral("Error starting Lumora - Error number  - ") + QString::number(error.step) +
           QStringLiteral(
               ", try reinstalling Lumora.. if problem persist, contact support at Orvanta with error "
               "number mentioned above");
}

void Program::failStartUp(const Error& error) {
    m_failed = true;
    m_clipboard->setReady(false);
    // The old settings stay at hand for the user and support; then the next start begins from defaults.
    (void)m_settings.backupApplication(kApplication);
    (void)m_settings.deleteApplication(kApplication);
    m_window->showMessage(MainWindow::kTitle, startUpFailureText(error), false);
    m_window->hide();
}

void Program::shutDown() {
    if (m_shutDown || m_failed || !m_controller)
        return;
    m_shutDown = true;
    RecitationController& controller = *m_controller;
    m_window->stopTicking();
    m_player->closeAll();
    const auto save = [this](const QString& section, const QString& key, const QString& value) {
        (void)m_settings.save(kApplication, section, key, value);
    };
    save(QStringLiteral("Vol"), QStringLiteral("Pos"), QString::number(controller.volume().curPosition()));
    save(kMain, QStringLiteral("Sura"), QString::number(controller.suraList().currentIndex()));
    save(kMain, QStringLiteral("RB"), QString::number(controller.rangeBegin().value()));
    save(kMain, QStringLiteral("RE"), QString::number(controller.rangeEnd().value()));
    save(kMain, QStringLiteral("CurPos"), QString::number(controller.currentVerseSlider().value()));
    save(kMain, QStringLiteral("CurVerse"), QString::number(controller.currentVerse()));
    (void)m_window->saveLayout(m_window->currentLayout());
    disconnect(m_clipboard.get(), &ClipboardLink::textCopied, this, &Program::followClipboardText);
    m_clipboard->setReady(false);
}

void Program::useCurrentReciter() {
    const QString folder = m_reciters->current().folder;
    m_controller->setFolders(m_appFolder, folder + QLatin1Char('/'));
    // Each load lists the folder afresh, so recordings copied in while Lumora runs are found.
    m_controller->setRecordingLookup([folder, appFolder = m_appFolder](int sura) {
        return RecordingFolder::scan(folder, appFolder).recording(sura);
    });
}

void Program::markSuras() {
    if (!m_reciters || !m_controller)
        return;
    // One listing of the folder serves all 114 suras.
    const RecordingFolder folder = RecordingFolder::scan(m_reciters->current().folder, m_appFolder);
    m_controller->suraList().setMarks([&folder](int sura) { return SuraMark::of(folder.recording(sura)); });
}

Result<void> Program::switchReciter(int index) {
    if (!m_reciters || !m_controller)
        return Error{ReciterList::kErrorNoSuchReciter, "Reciters", "Lumora has not started yet."};
    const Result<void> chosen = m_reciters->setCurrent(index);
    // A choice that could not be stored is still made for this run; the caller reports it.
    if (!chosen && m_reciters->currentIndex() != index)
        return chosen;
    useCurrentReciter();
    m_controller->reloadSura();
    markSuras();
    return chosen;
}

void Program::startDesktopBus() {
    if (!m_options.desktopBus)
        return;
    MprisService::Hooks hooks;
    hooks.raise = [this] { raiseWindow(); };
    hooks.quit = [this] { m_window->close(); };
    hooks.reciter = [this] { return reciterName(); };
    m_mpris = std::make_unique<MprisService>(*m_controller, *m_player, std::move(hooks));
    if (!m_mpris->registerOn(QDBusConnection::sessionBus()))
        m_mpris.reset();
}

QString Program::reciterName() const {
    if (!m_reciters)
        return QString();
    const Reciter& reciter = m_reciters->current();
    // The program folder's own mp3/ names no one unless its reciter.ini does.
    if (reciter.origin == Reciter::Origin::kProgramFolder && reciter.name == QDir(reciter.folder).dirName())
        return QString();
    return reciter.name;
}

void Program::raiseWindow() {
    if (m_window->isMinimized())
        m_window->showNormal();
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

void Program::openReferences(const QStringList& references) {
    if (!m_started) {
        m_pendingReferences += references;
        return;
    }
    if (m_shutDown || m_failed || !m_controller)
        return;
    raiseWindow();
    for (const QString& reference : references) {
        if (m_controller->followVerseReference(reference))
            return;
    }
}

void Program::followClipboardText(const QString& text) {
    if (!m_controller || !m_clipboard->isReady())
        return;
    (void)m_controller->followVerseReference(text);
}

}  // namespace lumora
