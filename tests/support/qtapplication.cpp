// Widget tests need one QApplication for the whole run; GoogleTest's own main() makes none.
// Linked as an object file, so its environment registers itself in every GUI test executable.
#include <gtest/gtest.h>
#include <QApplication>
#include <memory>

namespace {

// The offscreen platform cannot raise windows or pass size hints on; nothing here needs either, and the
// noise would bury real warnings.
QtMessageHandler g_previousHandler = nullptr;

void quietPlatformWarnings(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QStringLiteral("This plugin does not support")))
        return;
    if (g_previousHandler != nullptr)
        g_previousHandler(type, context, message);
}

class QtApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "lumora_tests";
        static char* argv[] = {name, nullptr};
        g_previousHandler = qInstallMessageHandler(quietPlatformWarnings);
        m_application = std::make_unique<QApplication>(argc, argv);
        QApplication::setQuitOnLastWindowClosed(false);
    }
    void TearDown() override { m_application.reset(); }

private:
    std::unique_ptr<QApplication> m_application;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

}  // namespace
