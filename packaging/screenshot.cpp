// lumora-screenshot PROGRAM_FOLDER OUTDIR: starts the real window on a program folder, with settings of its
// own and no sound, and saves pictures of it for the software centre's page (OUTDIR/main-window.png,
// OUTDIR/range.png). Run on a display (make package runs it under Xvfb).
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

#include "app/mainwindow.h"
#include "app/program.h"
#include "audio/nulloutput.h"
#include "recitation/recitationcontroller.h"
#include "settings/settingsstore.h"

namespace {

bool save(QWidget& window, const QString& path) {
    QTest::qWait(200);
    if (!window.grab().save(path)) {
        std::fprintf(stderr, "lumora-screenshot: cannot write %s\n", path.toLocal8Bit().constData());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 3) {
        std::fputs("usage: lumora-screenshot PROGRAM_FOLDER OUTDIR\n", stderr);
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[2]);
    QTemporaryDir settings;
    if (!settings.isValid() || !QDir().mkpath(out))
        return 1;
    {
        // The About window of a first start stays closed.
        lumora::SettingsStore store(settings.path());
        (void)store.save(lumora::Program::kApplication, QStringLiteral("About"), QStringLiteral("Show3"),
                         QStringLiteral("0"));
    }
    lumora::Program::Options options;
    options.programFolder = QString::fromLocal8Bit(argv[1]);
    options.settingsFolder = settings.path();
    options.outputFactory = [](std::string&) {
        return std::make_unique<lumora::NullOutput>(lumora::NullOutput::Mode::RealTime);
    };
    lumora::Program program(options);
    if (!program.startUp()) {
        std::fputs("lumora-screenshot: Lumora did not start\n", stderr);
        return 1;
    }
    QWidget& window = program.window();
    window.resize(1000, 700);
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    lumora::RecitationController& controller = *program.controller();
    (void)controller.followVerseReference(QStringLiteral("1:1-7"));
    controller.stop();
    bool saved = save(window, out + QStringLiteral("/main-window.png"));
    (void)controller.followVerseReference(QStringLiteral("112:1-4"));
    controller.stop();
    saved = save(window, out + QStringLiteral("/range.png")) && saved;
    window.close();
    return saved ? 0 : 1;
}
