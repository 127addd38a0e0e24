// Lumora on the accessibility bus, as a screen reader meets it: the events the window sends when the
// verse, the range or the status changes, and the accessible tree read back over AT-SPI by a small client
// written here. The executable runs itself under a private session bus (dbus-run-session) and X server
// (xvfb-run), with Qt's accessibility bridge switched on; where either cannot start, the tests skip and
// say why.
#include <gtest/gtest.h>
#include <unistd.h>
#include <QAccessible>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QLabel>
#include <QTest>
#include <functional>
#include <vector>

#include "app/controlpanel.h"
#include "app/mainwindow.h"
#include "app/textpaneframe.h"
#include "controls/ownerdrawnbutton.h"
#include "controls/statusline.h"
#include "controls/textpane.h"
#include "controls/verseslider.h"
#include "programfixture.h"
#include "recitation/recitationcontroller.h"
#include "support/accessibilityrecorder.h"

namespace lumora::test {
namespace {

const QString kBusService = QStringLiteral("org.a11y.Bus");
const QString kAccessible = QStringLiteral("org.a11y.atspi.Accessible");
const QString kRootPath = QStringLiteral("/org/a11y/atspi/accessible/root");

// The accessibility bus starts on first use; Qt's bridge follows it and switches accessibility on.
// Empty when it came up, otherwise why not.
QString startAccessibilityBus() {
    if (qEnvironmentVariableIsSet("LUMORA_NO_ACCESSIBILITY_BUS"))
        return qEnvironmentVariable("LUMORA_NO_ACCESSIBILITY_BUS");
    QDBusConnection session = QDBusConnection::sessionBus();
    if (!session.isConnected()) return QStringLiteral("no session bus");
    const QDBusMessage reply = session.call(
        QDBusMessage::createMethodCall(kBusService, QStringLiteral("/org/a11y/bus"), kBusService,
                                       QStringLiteral("GetAddress")));
    if (reply.type() != QDBusMessage::ReplyMessage) return QStringLiteral("org.a11y.Bus: ") + reply.errorMessage();
    if (!QTest::qWaitFor([] { return QAccessible::isActive(); }, 10000))
        return QStringLiteral("Qt's accessibility bridge did not switch on");
    return {};
}

#define REQUIRE_ACCESSIBILITY_BUS()                                                         \
    do {                                                                                    \
        const QString why = startAccessibilityBus();                                        \
        if (!why.isEmpty()) GTEST_SKIP() << "accessibility bus unavailable: " << why.toStdString(); \
    } while (false)

using AccessibilityBusTest = ProgramTest;

TEST_F(AccessibilityBusTest, VerseRangeAndStatusChangesReachTheScreenReader) {
    REQUIRE_ACCESSIBILITY_BUS();
    Program& started = start();
    MainWindow& window = started.window();
    RecitationController& controller = *started.controller();
    AccessibilityRecorder recorder;

    ASSERT_TRUE(controller.selectSura(111).ok());
    StatusLine* line = window.statusLine();
    EXPECT_EQ(recorder.lastText(line, QAccessible::NameChanged), QStringLiteral("Sura 112, Al-Ikhlas, 4 verses"));

    // A verse change: each pane's text changes and says so; the current-verse slider tells its value.
    recorder.clear();
    ASSERT_TRUE(controller.currentVerseSlider().setValue(2).ok());
    TextPane* pane1 = window.paneFrame(1)->view();
    const int textEvents = recorder.count(pane1, QAccessible::TextUpdated) +
                           recorder.count(pane1, QAccessible::TextInserted);
    EXPECT_GE(textEvents, 1);
    EXPECT_EQ(recorder.lastText(window.panel()->slider(2), QAccessible::ValueChanged), QStringLiteral("2"));
    // Without "Announce Each Verse" the status line keeps quiet while the verses change.
    EXPECT_EQ(recorder.count(line, QAccessible::NameChanged), 0);

    // A pane toggle pressed tells its new state.
    OwnerDrawnButton* toggle = window.panel()->visibleButton(2);
    QTest::mouseClick(toggle, Qt::LeftButton);
    EXPECT_EQ(recorder.count(toggle, QAccessible::StateChanged), 1);

    // The end of a range is said even when it is said twice in a row.
    recorder.clear();
    line->announce(QStringLiteral("Range finished"));
    line->announce(QStringLiteral("Range finished"));
    EXPECT_EQ(recorder.count(line, QAccessible::NameChanged), 2);
}

// A small AT-SPI client on the accessibility bus. Every call waits for its answer while the event loop
// runs, because the application it asks is this very process.
class AtSpiClient {
public:
    bool connect() {
        const QDBusMessage reply = QDBusConnection::sessionBus().call(QDBusMessage::createMethodCall(
            kBusService, QStringLiteral("/org/a11y/bus"), kBusService, QStringLiteral("GetAddress")));
        if (reply.arguments().isEmpty()) return false;
        m_bus = std::make_unique<QDBusConnection>(
            QDBusConnection::connectToBus(reply.arguments().at(0).toString(), QStringLiteral("lumora-atspi-client")));
        return m_bus->isConnected();
    }

    struct Node {
        QString service;
        QString path;
    };

    QDBusMessage call(const Node& node, const QString& interface, const QString& method,
                      const QList<QVariant>& arguments = {}) {
        QDBusMessage message = QDBusMessage::createMethodCall(node.service, node.path, interface, method);
        message.setArguments(arguments);
        QDBusPendingCall pending = m_bus->asyncCall(message, 10000);
        (void)QTest::qWaitFor([&pending] { return pending.isFinished(); }, 15000);
        return pending.reply();
    }

    QVariant property(const Node& node, const QString& interface, const QString& name) {
        const QDBusMessage reply = call(node, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"),
                                        {interface, name});
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return {};
        return reply.arguments().at(0).value<QDBusVariant>().variant();
    }

    QString name(const Node& node) { return property(node, kAccessible, QStringLiteral("Name")).toString(); }

    QString roleName(const Node& node) {
        const QDBusMessage reply = call(node, kAccessible, QStringLiteral("GetRoleName"));
        return reply.arguments().isEmpty() ? QString() : reply.arguments().at(0).toString();
    }

    std::vector<Node> children(const Node& node) {
        std::vector<Node> found;
        const QDBusMessage reply = call(node, kAccessible, QStringLiteral("GetChildren"));
        if (reply.arguments().isEmpty()) return found;
        const QDBusArgument list = reply.arguments().at(0).value<QDBusArgument>();
        list.beginArray();
        while (!list.atEnd()) {
            QString service;
            QDBusObjectPath path;
            list.beginStructure();
            list >> service >> path;
            list.endStructure();
            found.push_back(Node{service, path.path()});
        }
        list.endArray();
        return found;
    }

    // This process's root on the bus: the connection whose root is named like the application.
    std::optional<Node> application(const QString& applicationName) {
        const QStringList names = m_bus->interface()->registeredServiceNames().value();
        for (const QString& service : names) {
            if (!service.startsWith(u':')) continue;
            const Node root{service, kRootPath};
            if (name(root) == applicationName && roleName(root) == QStringLiteral("application")) return root;
        }
        return std::nullopt;
    }

    // Depth first, every node under `root` with its name and role.
    void walk(const Node& root, const std::function<void(const Node&, const QString&, const QString&)>& visit,
              int depth = 0) {
        if (depth > 30) return;
        for (const Node& child : children(root)) {
            visit(child, name(child), roleName(child));
            walk(child, visit, depth + 1);
        }
    }

private:
    std::unique_ptr<QDBusConnection> m_bus;
};

TEST_F(AccessibilityBusTest, AScreenReaderReadsTheWindowOverAtSpi) {
    REQUIRE_ACCESSIBILITY_BUS();
    Program& started = start();
    MainWindow& window = started.window();
    RecitationController& controller = *started.controller();
    ASSERT_TRUE(controller.selectSura(111).ok());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    AtSpiClient client;
    ASSERT_TRUE(client.connect());
    std::optional<AtSpiClient::Node> app;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            app = client.application(QCoreApplication::applicationName());
            return app.has_value();
        },
        15000))
        << "the application did not appear on the accessibility bus";

    struct Seen {
        AtSpiClient::Node node;
        QString name;
        QString role;
    };
    std::vector<Seen> seen;
    client.walk(*app, [&seen](const AtSpiClient::Node& node, const QString& name, const QString& role) {
        seen.push_back({node, name, role});
    });
    const auto find = [&seen](const QString& name, const QString& role) -> const Seen* {
        for (const Seen& s : seen)
            if (s.name == name && s.role == role) return &s;
        return nullptr;
    };
    for (const char* slider : {"Range Begin", "Range End", "Current Verse", "Volume"})
        EXPECT_NE(find(QString::fromLatin1(slider), QStringLiteral("slider")), nullptr) << slider;
    for (const char* button : {"Play", "Pause", "Stop", "Previous Sura", "Next Sura", "Move range backward"})
        EXPECT_NE(find(QString::fromLatin1(button), QStringLiteral("push button")), nullptr) << button;

    // The range end's value, read as a screen reader reads it.
    const Seen* rangeEnd = find(QStringLiteral("Range End"), QStringLiteral("slider"));
    ASSERT_NE(rangeEnd, nullptr);
    EXPECT_EQ(client.property(rangeEnd->node, QStringLiteral("org.a11y.atspi.Value"), QStringLiteral("CurrentValue"))
                  .toDouble(),
              4.0);

    // The status line says the sura that was loaded.
    const Seen* status = nullptr;
    for (const Seen& s : seen)
        if (s.role == QStringLiteral("status bar")) status = &s;
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(status->name, QStringLiteral("Sura 112, Al-Ikhlas, 4 verses"));

    // The first pane (read-only text, which Qt presents as a label) is named by its caption without the
    // caption label's trailing blank; read through the text interface, it holds the verse it shows.
    const QString caption = window.paneFrame(1)->captionLabel()->text().trimmed();
    const Seen* pane = find(caption, QStringLiteral("label"));
    ASSERT_NE(pane, nullptr) << caption.toStdString();
    const QDBusMessage text = client.call(pane->node, QStringLiteral("org.a11y.atspi.Text"), QStringLiteral("GetText"),
                                          {0, -1});
    ASSERT_FALSE(text.arguments().isEmpty()) << text.errorMessage().toStdString();
    EXPECT_EQ(text.arguments().at(0).toString(), window.paneFrame(1)->view()->toPlainText());

    // Play pressed through its action starts the recitation.
    const Seen* play = find(QStringLiteral("Play"), QStringLiteral("push button"));
    ASSERT_NE(play, nullptr);
    const QDBusMessage pressed = client.call(play->node, QStringLiteral("org.a11y.atspi.Action"),
                                             QStringLiteral("DoAction"), {0});
    EXPECT_EQ(pressed.type(), QDBusMessage::ReplyMessage) << pressed.errorMessage().toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&] { return controller.tickEnabled(); }, 5000));
}

}  // namespace
}  // namespace lumora::test

int main(int argc, char** argv) {
    // Runs itself again under a private session bus and X server, once; Qt's bridge is told to be on.
    if (!qEnvironmentVariableIsSet("LUMORA_UNDER_ACCESSIBILITY_BUS")) {
        qputenv("LUMORA_UNDER_ACCESSIBILITY_BUS", "1");
        qputenv("QT_QPA_PLATFORM", "xcb");
        qputenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
        std::vector<char*> command = {const_cast<char*>("dbus-run-session"), const_cast<char*>("--"),
                                      const_cast<char*>("xvfb-run"), const_cast<char*>("-a"),
                                      const_cast<char*>("-s"), const_cast<char*>("-screen 0 1280x1024x24")};
        for (int i = 0; i < argc; ++i) command.push_back(argv[i]);
        command.push_back(nullptr);
        execvp(command[0], command.data());
        // No session bus to be had: the tests that need it skip, the others run offscreen.
        qputenv("LUMORA_NO_ACCESSIBILITY_BUS", "dbus-run-session could not run");
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
