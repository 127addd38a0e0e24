// Lumora on the session bus, as a desktop meets it: a D-Bus client of its own (a second connection, as a
// sound applet or media keys daemon would be) reads the media player interfaces, calls their methods and
// listens for PropertiesChanged; a second start of the real executable hands its verse over to the running
// Lumora. The executable runs itself under a private session bus (dbus-run-session), so it never touches
// the desktop's own.
#include <gtest/gtest.h>
#include <unistd.h>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QProcess>
#include <QTest>
#include <vector>

#include "app/mainwindow.h"
#include "audio/player.h"
#include "desktop/mprisservice.h"
#include "desktop/singleinstance.h"
#include "programfixture.h"
#include "recitation/recitationcontroller.h"

namespace lumora::test {
namespace {

const QString kRoot = MprisService::kRootInterface;
const QString kPlayer = MprisService::kPlayerInterface;

// What PropertiesChanged said, one entry per signal.
class ChangeListener : public QObject {
    Q_OBJECT
public:
    struct Change {
        QString interface;
        QVariantMap changed;
    };
    std::vector<Change> changes;

    // The latest value a signal gave the property, or an invalid QVariant.
    QVariant last(const QString& property) const {
        for (auto it = changes.rbegin(); it != changes.rend(); ++it) {
            if (it->changed.contains(property))
                return it->changed.value(property);
        }
        return {};
    }

public slots:
    void onChanged(const QString& interface, const QVariantMap& changed, const QStringList&) {
        changes.push_back({interface, changed});
    }
};

class DesktopBusTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        if (IsSkipped())
            return;
        m_client = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("test-client"));
        if (!m_client.isConnected())
            GTEST_SKIP() << "no session bus (run the test executable itself: it starts dbus-run-session)";
        ASSERT_TRUE(m_client.connect(MprisService::kServiceName, MprisService::kObjectPath,
                                     QStringLiteral("org.freedesktop.DBus.Properties"),
                                     QStringLiteral("PropertiesChanged"), &m_listener,
                                     SLOT(onChanged(QString, QVariantMap, QStringList))));
    }
    void TearDown() override {
        ProgramTest::TearDown();
        QDBusConnection::disconnectFromBus(QStringLiteral("test-client"));
    }

    Program& startOnBus() {
        useDesktopBus();
        Program& started = start();
        EXPECT_NE(started.mpris(), nullptr);
        return started;
    }

    // The client's calls are answered by this very thread's event loop, which runs while they wait.
    QDBusMessage send(const QDBusMessage& message) {
        QDBusPendingCall pending = m_client.asyncCall(message);
        EXPECT_TRUE(QTest::qWaitFor([&] { return pending.isFinished(); }, 10000)) << message.member().toStdString();
        const QDBusMessage reply = pending.reply();
        EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
        return reply;
    }
    QDBusMessage call(const QString& interface, const QString& method, const QVariantList& arguments = {}) {
        QDBusMessage message =
            QDBusMessage::createMethodCall(MprisService::kServiceName, MprisService::kObjectPath, interface, method);
        message.setArguments(arguments);
        return send(message);
    }
    QVariant get(const QString& interface, const QString& property) {
        const QDBusMessage reply = call(QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"),
                                        {interface, property});
        return reply.arguments().isEmpty() ? QVariant() : reply.arguments().first().value<QDBusVariant>().variant();
    }
    void set(const QString& interface, const QString& property, const QVariant& value) {
        call(QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Set"),
             {interface, property, QVariant::fromValue(QDBusVariant(value))});
    }
    QVariantMap metadata() { return qdbus_cast<QVariantMap>(get(kPlayer, QStringLiteral("Metadata"))); }
    QString status() { return get(kPlayer, QStringLiteral("PlaybackStatus")).toString(); }
    // Waits until a PropertiesChanged signal has given the property this value.
    bool announced(const QString& property, const QVariant& value) {
        return QTest::qWaitFor([&] { return m_listener.last(property) == value; }, 10000);
    }

    QDBusConnection m_client{QStringLiteral("none")};
    ChangeListener m_listener;
};

TEST_F(DesktopBusTest, EveryPropertyReadsWhatTheWindowShows) {
    Program& started = startOnBus();
    RecitationController& controller = *started.controller();
    ASSERT_TRUE(controller.followVerseReference(QStringLiteral("113:2-4")));
    controller.stop();

    EXPECT_EQ(get(kRoot, QStringLiteral("Identity")).toString(), QStringLiteral("Lumora"));
    EXPECT_EQ(get(kRoot, QStringLiteral("DesktopEntry")).toString(), QStringLiteral("lumora"));
    EXPECT_TRUE(get(kRoot, QStringLiteral("CanQuit")).toBool());
    EXPECT_TRUE(get(kRoot, QStringLiteral("CanRaise")).toBool());
    EXPECT_FALSE(get(kRoot, QStringLiteral("HasTrackList")).toBool());
    EXPECT_EQ(get(kRoot, QStringLiteral("SupportedUriSchemes")).toStringList(), QStringList{QStringLiteral("quran")});
    EXPECT_TRUE(get(kRoot, QStringLiteral("SupportedMimeTypes")).toStringList().isEmpty());

    EXPECT_EQ(status(), QStringLiteral("Stopped"));
    const QVariantMap track = metadata();
    EXPECT_EQ(track.value(QStringLiteral("mpris:trackid")).value<QDBusObjectPath>().path(),
              QStringLiteral("/io/github/lumora/Lumora/verse/113_2"));
    EXPECT_EQ(track.value(QStringLiteral("xesam:title")).toString(), QStringLiteral("AL-FALAQ \u2014 verse 2"));
    EXPECT_EQ(track.value(QStringLiteral("xesam:album")).toString(), QStringLiteral("AL-FALAQ"));
    // The sample folder's reciter.ini names its recordings.
    EXPECT_EQ(track.value(QStringLiteral("xesam:artist")).toStringList(), QStringList{QStringLiteral("Sample tones")});
    const VerseTiming timing = controller.verseTable().at(2);
    EXPECT_EQ(track.value(QStringLiteral("mpris:length")).toLongLong(), qlonglong(timing.endMs - timing.startMs) * 1000);
    EXPECT_DOUBLE_EQ(get(kPlayer, QStringLiteral("Volume")).toDouble(), 0.5);
    EXPECT_EQ(get(kPlayer, QStringLiteral("Position")).toLongLong(), 0);
    EXPECT_DOUBLE_EQ(get(kPlayer, QStringLiteral("Rate")).toDouble(), 1.0);
    EXPECT_DOUBLE_EQ(get(kPlayer, QStringLiteral("MinimumRate")).toDouble(), 1.0);
    EXPECT_DOUBLE_EQ(get(kPlayer, QStringLiteral("MaximumRate")).toDouble(), 1.0);
    for (const char* name : {"CanGoNext", "CanGoPrevious", "CanPlay", "CanPause", "CanControl"})
        EXPECT_TRUE(get(kPlayer, QString::fromLatin1(name)).toBool()) << name;
    EXPECT_FALSE(get(kPlayer, QStringLiteral("CanSeek")).toBool());
}

TEST_F(DesktopBusTest, TransportMethodsDriveThePlayerAndAreAnnounced) {
    Program& started = startOnBus();
    RecitationController& controller = *started.controller();
    ASSERT_TRUE(controller.followVerseReference(QStringLiteral("67:1-3")));
    controller.stop();

    call(kPlayer, QStringLiteral("Play"));
    EXPECT_TRUE(controller.tickEnabled());
    EXPECT_TRUE(started.player()->isPlaying());
    EXPECT_TRUE(announced(QStringLiteral("PlaybackStatus"), QStringLiteral("Playing")));

    call(kPlayer, QStringLiteral("Pause"));
    EXPECT_TRUE(controller.isPaused());
    EXPECT_TRUE(announced(QStringLiteral("PlaybackStatus"), QStringLiteral("Paused")));
    // Pausing what is paused changes nothing.
    call(kPlayer, QStringLiteral("Pause"));
    EXPECT_TRUE(controller.isPaused());

    call(kPlayer, QStringLiteral("PlayPause"));
    EXPECT_FALSE(controller.isPaused());
    EXPECT_TRUE(announced(QStringLiteral("PlaybackStatus"), QStringLiteral("Playing")));

    call(kPlayer, QStringLiteral("Stop"));
    EXPECT_FALSE(controller.tickEnabled());
    EXPECT_FALSE(started.player()->isPlaying());
    EXPECT_EQ(status(), QStringLiteral("Stopped"));
    EXPECT_TRUE(announced(QStringLiteral("PlaybackStatus"), QStringLiteral("Stopped")));

    // A paused recitation that is stopped starts afresh on Play.
    call(kPlayer, QStringLiteral("PlayPause"));
    call(kPlayer, QStringLiteral("Pause"));
    call(kPlayer, QStringLiteral("Stop"));
    EXPECT_FALSE(controller.isPaused());
    call(kPlayer, QStringLiteral("Play"));
    EXPECT_TRUE(started.player()->isPlaying());
    EXPECT_EQ(status(), QStringLiteral("Playing"));
}

TEST_F(DesktopBusTest, NextAndPreviousMoveTheRangeOrTheVerseAsTheKeysDo) {
    Program& started = startOnBus();
    RecitationController& controller = *started.controller();
    ASSERT_TRUE(controller.followVerseReference(QStringLiteral("67:1-3")));

    // Range mode: M and N.
    call(kPlayer, QStringLiteral("Next"));
    EXPECT_EQ(controller.rangeBegin().value(), 4);
    EXPECT_EQ(controller.rangeEnd().value(), 6);
    call(kPlayer, QStringLiteral("Next"));
    EXPECT_EQ(controller.rangeBegin().value(), 7);
    call(kPlayer, QStringLiteral("Previous"));
    EXPECT_EQ(controller.rangeBegin().value(), 4);
    EXPECT_EQ(controller.rangeEnd().value(), 6);

    // Verse mode: C and Z, within the range.
    QTest::keyClick(&started.window(), Qt::Key_V, Qt::AltModifier);
    ASSERT_TRUE(controller.isKeyboard());
    const int32_t verse = controller.currentVerse();
    call(kPlayer, QStringLiteral("Next"));
    EXPECT_EQ(controller.currentVerse(), verse + 1);
    // The verse change goes out as new metadata.
    const QString title = QStringLiteral("AL-MULK \u2014 verse %1").arg(verse + 1);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return qdbus_cast<QVariantMap>(m_listener.last(QStringLiteral("Metadata")))
                       .value(QStringLiteral("xesam:title")) == title;
        },
        10000));
    call(kPlayer, QStringLiteral("Previous"));
    EXPECT_EQ(controller.currentVerse(), verse);
}

TEST_F(DesktopBusTest, VolumeIsTheSlidersBothWays) {
    Program& started = startOnBus();
    RecitationController& controller = *started.controller();

    set(kPlayer, QStringLiteral("Volume"), 0.25);
    EXPECT_EQ(controller.volume().curPosition(), 250);
    EXPECT_EQ(started.player()->masterVolume(), Player::masterVolumeFor(250));
    EXPECT_TRUE(announced(QStringLiteral("Volume"), 0.25));

    // The keypad's plus moves the slider; the desktop hears of it.
    QTest::keyClick(&started.window(), Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(controller.volume().curPosition(), 350);
    EXPECT_DOUBLE_EQ(get(kPlayer, QStringLiteral("Volume")).toDouble(), 0.35);
    EXPECT_TRUE(announced(QStringLiteral("Volume"), 0.35));

    // Values outside 0..1 are held to it.
    set(kPlayer, QStringLiteral("Volume"), 7.0);
    EXPECT_EQ(controller.volume().curPosition(), 1000);
    set(kPlayer, QStringLiteral("Volume"), -1.0);
    EXPECT_EQ(controller.volume().curPosition(), 0);
}

TEST_F(DesktopBusTest, RaiseOpenUriAndQuitReachTheWindow) {
    Program& started = startOnBus();
    RecitationController& controller = *started.controller();

    started.window().showMinimized();
    call(kRoot, QStringLiteral("Raise"));
    EXPECT_FALSE(started.window().isMinimized());

    call(kPlayer, QStringLiteral("OpenUri"), {QStringLiteral("quran://112/2-3")});
    EXPECT_EQ(controller.sura(), 112);
    EXPECT_EQ(controller.rangeBegin().value(), 2);
    EXPECT_EQ(controller.rangeEnd().value(), 3);
    // A link to no verse changes nothing.
    call(kPlayer, QStringLiteral("OpenUri"), {QStringLiteral("quran://112/9")});
    EXPECT_EQ(controller.rangeBegin().value(), 2);

    call(kRoot, QStringLiteral("Quit"));
    EXPECT_TRUE(started.isShutDown());
    EXPECT_FALSE(started.window().isVisible());
}

TEST_F(DesktopBusTest, WithoutABusNothingIsRegisteredAndNothingIsSaid) {
    Program& started = start();
    EXPECT_EQ(started.mpris(), nullptr);
    MprisService service(*started.controller(), *started.player(), {});
    EXPECT_FALSE(service.registerOn(QDBusConnection(QStringLiteral("no-such-bus"))));
    EXPECT_EQ(modals().count(QStringLiteral("QMessageBox")), 0);
}

// The second start is the real executable, the running Lumora this test's program.
TEST_F(DesktopBusTest, ASecondStartHandsItsVerseToTheRunningLumora) {
    const QString executable = qEnvironmentVariable("LUMORA_PROGRAM_FOLDER") + QStringLiteral("/lumora");
    if (!QFileInfo(executable).isExecutable())
        GTEST_SKIP() << "lumora is not built";
    SingleInstance instance;
    ASSERT_EQ(instance.claimOrHandOver({}), SingleInstance::Outcome::First);
    Program& running = startOnBus();
    QObject::connect(&instance, &SingleInstance::openRequested, &running, &Program::openReferences);
    running.window().showMinimized();

    QTemporaryDir home;
    QProcess second;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
    // What the second start does is checked here, not what the libraries it loads keep until exit.
    environment.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
    second.setProcessEnvironment(environment);
    second.start(executable, {QStringLiteral("113:2-4")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return second.state() == QProcess::NotRunning; }, 60000))
        << "the second start did not end";
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().toStdString();
    EXPECT_EQ(running.controller()->sura(), 113);
    EXPECT_EQ(running.controller()->rangeBegin().value(), 2);
    EXPECT_EQ(running.controller()->rangeEnd().value(), 4);
    EXPECT_FALSE(running.window().isMinimized());
    // The second start wrote nothing of its own.
    EXPECT_TRUE(QDir(home.path()).isEmpty());

    // A name from the sura list, in Arabic-Indic digits, and a reference to no verse: the window comes up
    // and stays where it is.
    second.start(executable, {QStringLiteral("al-falaq \u0665")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return second.state() == QProcess::NotRunning; }, 60000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(running.controller()->rangeBegin().value(), 5);
    second.start(executable, {QStringLiteral("113:99")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return second.state() == QProcess::NotRunning; }, 60000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(running.controller()->sura(), 113);
    EXPECT_EQ(running.controller()->rangeBegin().value(), 5);
}

}  // namespace
}  // namespace lumora::test

int main(int argc, char** argv) {
    // Runs itself again under a private session bus, once.
    if (!qEnvironmentVariableIsSet("LUMORA_UNDER_DBUS")) {
        qputenv("LUMORA_UNDER_DBUS", "1");
        std::vector<char*> command = {const_cast<char*>("dbus-run-session"), const_cast<char*>("--")};
        for (int i = 0; i < argc; ++i) command.push_back(argv[i]);
        command.push_back(nullptr);
        execvp(command[0], command.data());
        // No dbus-run-session: the tests skip themselves without a bus.
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

#include "desktopbus_test.moc"
