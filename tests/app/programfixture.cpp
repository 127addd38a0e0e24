#include "programfixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QTest>

#include "app/mainwindow.h"
#include "settings/settingsstore.h"

namespace lumora::test {

ModalResponder::ModalResponder(std::function<bool()> mainWindowTopMost)
    : m_mainWindowTopMost(std::move(mainWindowTopMost)) {
    // Runs only inside the event loops the program enters: a modal window's own among them.
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, &ModalResponder::poll);
    m_timer.start();
}

void ModalResponder::answer(QMessageBox::StandardButton button) {
    m_answers.push_back([button](QWidget* widget) {
        if (auto* box = qobject_cast<QMessageBox*>(widget)) {
            if (QAbstractButton* chosen = box->button(button)) {
                chosen->click();
                return;
            }
        }
        if (auto* dialog = qobject_cast<QDialog*>(widget))
            dialog->reject();
    });
}

void ModalResponder::answerWith(std::function<void(QWidget*)> action) {
    m_answers.push_back(std::move(action));
}

int ModalResponder::count(const QString& className) const {
    int found = 0;
    for (const ModalRecord& record : m_seen) found += record.className == className ? 1 : 0;
    return found;
}

void ModalResponder::chooseMenuItem(const QString& caption) {
    m_menuChoices.push_back(caption);
}

void ModalResponder::poll() {
    if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        menu && !m_menuChoices.empty()) {
        const QString caption = m_menuChoices.front();
        m_menuChoices.pop_front();
        for (QAction* action : menu->actions()) {
            if (action->text() == caption) {
                menu->setActiveAction(action);
                QTest::keyClick(menu, Qt::Key_Return);
                return;
            }
        }
        menu->close();
        return;
    }
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible() || modal == m_handling)
        return;
    m_handling = modal;
    ModalRecord record;
    record.className = QString::fromLatin1(modal->metaObject()->className());
    record.title = modal->windowTitle();
    if (auto* box = qobject_cast<QMessageBox*>(modal))
        record.text = box->text();
    record.mainWindowTopMost = m_mainWindowTopMost ? m_mainWindowTopMost() : false;
    m_seen.push_back(record);
    if (!m_answers.empty()) {
        auto action = std::move(m_answers.front());
        m_answers.pop_front();
        action(modal);
    } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        QAbstractButton* close = box->button(QMessageBox::No);
        if (!close)
            close = box->button(QMessageBox::Ok);
        if (close) {
            close->click();
        } else {
            box->reject();
        }
    } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
        dialog->reject();
    } else {
        modal->close();
    }
}

void ProgramTest::SetUp() {
    ASSERT_TRUE(m_settingsDir.isValid());
    ASSERT_TRUE(m_dataDir.isValid());
    qputenv("XDG_DATA_HOME", m_dataDir.path().toUtf8());
    if (!QFileInfo::exists(sampleFolder() + QStringLiteral("/data/pos.dat"))) {
        GTEST_SKIP() << "the sample program folder is not built: " << sampleFolder().toStdString();
    }
}

void ProgramTest::TearDown() {
    if (m_program)
        close();
}

QString ProgramTest::sampleFolder() {
    return qEnvironmentVariable("LUMORA_PROGRAM_FOLDER");
}

void ProgramTest::store(const QString& section, const QString& key, const QString& value) {
    SettingsStore settings(m_settingsDir.path());
    ASSERT_TRUE(settings.save(QStringLiteral("ZI4"), section, key, value).ok());
}

QString ProgramTest::stored(const QString& section, const QString& key, const QString& fallback) {
    return SettingsStore(m_settingsDir.path()).get(QStringLiteral("ZI4"), section, key, fallback);
}

Program& ProgramTest::create(const QString& programFolder, NullOutput::Mode mode) {
    m_programFolder = programFolder.isEmpty() ? sampleFolder() : programFolder;
    m_mode = mode;
    Program::Options options;
    options.programFolder = m_programFolder;
    options.settingsFolder = m_settingsDir.path();
    options.clock = m_realClock ? nullptr : &m_clock;
    options.outputFactory = [this, mode](std::string&) {
        auto output = std::make_unique<NullOutput>(mode);
        m_output = output.get();
        return output;
    };
    m_program = std::make_unique<Program>(options);
    Program* created = m_program.get();
    m_modals = std::make_unique<ModalResponder>([created] { return created->window().isTopMost(); });
    return *m_program;
}

Program& ProgramTest::start(const QString& programFolder, NullOutput::Mode mode) {
    Program& started = create(programFolder, mode);
    auto result = started.startUp();
    EXPECT_TRUE(result.ok()) << result.error().description << " at step " << result.error().step;
    return started;
}

void ProgramTest::close() {
    if (!m_program)
        return;
    m_program->window().close();
    m_program.reset();
    m_modals.reset();
    m_output = nullptr;
}

Program& ProgramTest::restart() {
    const QString folder = m_programFolder;
    const NullOutput::Mode mode = m_mode;
    close();
    return start(folder, mode);
}

}  // namespace lumora::test
