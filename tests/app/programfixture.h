#pragma once
// Runs the whole program in a test: the sample program folder ($LUMORA_PROGRAM_FOLDER), a settings folder
// of the test's own, the null sound output (manual: the test moves the audio clock; or real time) and a
// fake clock for the recitation's waits. Modal windows the program opens are answered by a ModalResponder,
// which records what each showed.

#include <gtest/gtest.h>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTemporaryDir>
#include <QTimer>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "app/program.h"
#include "audio/nulloutput.h"
#include "support/fakeclock.h"

namespace lumora::test {

// What a modal window showed when it came up.
struct ModalRecord {
    QString className;
    QString title;
    QString text;
    // Whether the main window was on top of all others while the modal window was open.
    bool mainWindowTopMost = false;
};

// Answers the modal windows that come up while the event loop runs: each takes the next queued answer,
// or is closed (Escape, Close, No) when none is queued.
class ModalResponder : public QObject {
    Q_OBJECT
public:
    explicit ModalResponder(std::function<bool()> mainWindowTopMost = {});

    void answer(QMessageBox::StandardButton button);
    void answerWith(std::function<void(QWidget*)> action);
    // The next popup menu that opens chooses its item of this caption (as shown, with its "&").
    void chooseMenuItem(const QString& caption);
    const std::vector<ModalRecord>& seen() const { return m_seen; }
    int count(const QString& className) const;
    void clear() { m_seen.clear(); }

private:
    void poll();

    std::function<bool()> m_mainWindowTopMost;
    std::deque<std::function<void(QWidget*)>> m_answers;
    std::deque<QString> m_menuChoices;
    std::vector<ModalRecord> m_seen;
    QPointer<QWidget> m_handling;
    QTimer m_timer;
};

class ProgramTest : public ::testing::Test {
public:
    // $LUMORA_PROGRAM_FOLDER: the sample program folder the build lays out.
    static QString sampleFolder();

protected:
    void SetUp() override;
    void TearDown() override;

    QString settingsFolder() const { return m_settingsDir.path(); }
    // $XDG_DATA_HOME while the test runs: the per-user recordings live under it, never the user's own.
    QString dataFolder() const { return m_dataDir.path(); }
    // The settings file of application "ZI4".
    QString settingsFile() const { return m_settingsDir.path() + QStringLiteral("/ZI4.ini"); }
    void store(const QString& section, const QString& key, const QString& value);
    QString stored(const QString& section, const QString& key,
                   const QString& fallback = QStringLiteral("<none>"));

    // The next program waits on the steady clock instead of the fake one.
    void useRealClock() { m_realClock = true; }
    // Builds a program on `programFolder` (the sample folder when empty); not started.
    Program& create(const QString& programFolder = QString(),
                    NullOutput::Mode mode = NullOutput::Mode::Manual);
    // Builds and starts; the test fails when start-up fails.
    Program& start(const QString& programFolder = QString(),
                   NullOutput::Mode mode = NullOutput::Mode::Manual);
    // Closes the window as the user would (shut-down runs) and drops the program.
    void close();
    // close() then start() on the same folder and settings.
    Program& restart();

    Program& program() { return *m_program; }
    NullOutput* output() const { return m_output; }
    FakeClock& clock() { return m_clock; }
    ModalResponder& modals() { return *m_modals; }

private:
    QTemporaryDir m_settingsDir;
    QTemporaryDir m_dataDir;
    QString m_programFolder;
    NullOutput::Mode m_mode = NullOutput::Mode::Manual;
    FakeClock m_clock;
    bool m_realClock = false;
    NullOutput* m_output = nullptr;
    std::unique_ptr<Program> m_program;
    std::unique_ptr<ModalResponder> m_modals;
};

}  // namespace lumora::test
