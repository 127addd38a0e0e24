#include "app/windowcommands.h"

#include "app/aboutwindow.h"
#include "app/commandtable.h"
#include "app/mainwindow.h"
#include "recitation/recitationcontroller.h"

namespace lumora {

namespace {

using Command = CommandTable::Command;

Command item(const QString& menu, int number, const QString& caption, std::function<void()> handler) {
    Command command;
    command.menu = menu;
    command.number = number;
    command.caption = caption;
    command.handler = std::move(handler);
    return command;
}

void addGoTo(CommandTable& table, MainWindow& window) {
    const QString menu = QStringLiteral("Go to");
    table.add(item(menu, WindowCommands::kGoToSura, QStringLiteral("&Sura..."),
                   [&window] { window.showQuickSuraSelect(); }));
    table.add(item(menu, WindowCommands::kGoToVerse, QStringLiteral("&Verse..."), [&window] {
        if (window.controller())
            window.controller()->openVerseDialog(RecitationController::VerseDialogPurpose::MoveToVerse);
    }));
    table.add(item(menu, WindowCommands::kNextSura, QStringLiteral("&Next Sura"), [&window] {
        if (window.controller())
            window.controller()->nextSura();
    }));
    table.add(item(menu, WindowCommands::kPreviousSura, QStringLiteral("&Previous Sura"), [&window] {
        if (window.controller())
            window.controller()->previousSura();
    }));
}

void addRecitation(CommandTable& table, MainWindow& window) {
    const QString menu = QStringLiteral("Recitation");
    table.add(item(menu, WindowCommands::kRecite, QStringLiteral("&Recite"), [&window] {
        if (window.controller())
            window.controller()->startRecitation();
    }));
    table.add(item(menu, WindowCommands::kPause, QStringLiteral("&Pause"), [&window] {
        if (window.controller())
            window.controller()->pauseOrContinue();
    }));
    table.add(item(menu, WindowCommands::kStop, QStringLiteral("&Stop"), [&window] {
        if (window.controller())
            window.controller()->stop();
    }));
    table.addSeparator(menu);
    table.addSubmenu(menu, QStringLiteral("&Volume"));
    const QString volumeCaptions[6] = {QStringLiteral("&Mute"), QStringLiteral("&20%"),
                                       QStringLiteral("&40%"),  QStringLiteral("&60%"),
                                       QStringLiteral("&80%"),  QStringLiteral("&100%")};
    for (int i = 0; i < 6; ++i) {
        table.add(item(QStringLiteral("Recitation/Volume"), WindowCommands::kVolumeMute + i, volumeCaptions[i],
                       [&window, i] {
                           if (window.controller())
                               window.controller()->setVolumeMenuItem(i);
                       }));
    }
    table.addSeparator(menu);
    table.add(item(menu, WindowCommands::kEqualizer, QStringLiteral("&Equalizer..."),
                   [&window] { window.showEqualizer(); }));
    table.add(item(menu, WindowCommands::kSaveRange, QStringLiteral("&Save Range to MP3"),
                   [&window] { window.saveRangeToMp3(); }));
}

void addTexts(CommandTable& table, MainWindow& window) {
    for (int pane = 1; pane <= 4; ++pane) {
        // The item flips its own check mark; the toggle button follows it, then acts as clicked.
        Command text = item(QStringLiteral("Texts"), WindowCommands::kText1 + pane - 1,
                            QStringLiteral("Text%1").arg(pane), [&window, pane] { window.textsMenuClicked(pane); });
        text.checkable = true;
        table.add(std::move(text))->setChecked(true);
    }
}

void addLayouts(CommandTable& table, MainWindow& window) {
    const QString menu = QStringLiteral("Layouts");
    for (int layout = 1; layout <= 5; ++layout) {
        Command choose = item(menu, WindowCommands::kLayout1 + layout - 1, QStringLiteral("Layout &%1").arg(layout),
                              [&window, layout] { window.switchLayout(QString::number(layout)); });
        choose.checked = [&window, layout] { return window.currentLayout() == QString::number(layout); };
        table.add(std::move(choose));
    }
    table.addSeparator(menu);
    table.add(item(menu, WindowCommands::kResetLayouts, QStringLiteral("&Reset All Layouts"),
                   [&window] { window.resetAllLayouts(); }));
    table.addSeparator(menu);
    table.add(item(menu, WindowCommands::kLayoutHelp, QStringLiteral("&Layout Help ..."),
                   [&window] { window.showLayoutHelp(); }));
}

void addOptions(CommandTable& table, MainWindow& window) {
    const QString menu = QStringLiteral("Options");
    Command onTop = item(menu, WindowCommands::kAlwaysOnTop, QStringLiteral("Always On &Top"),
                         [&window] { window.setAlwaysOnTop(!window.alwaysOnTop()); });
    onTop.checked = [&window] { return window.alwaysOnTop(); };
    table.add(std::move(onTop));
    Command panel = item(menu, WindowCommands::kShowPanel, QStringLiteral("Show &Panel"),
                         [&window] { window.setShowPanel(!window.showPanel()); });
    panel.checked = [&window] { return window.showPanel(); };
    table.add(std::move(panel));
    table.add(item(menu, WindowCommands::kToggleMenuDisplay, QStringLiteral("Toggle &Menu Display"), [&window] {
        window.showMessage(QStringLiteral("Hiding and showing menu"),
                           QStringLiteral("To hide menu press F8. To make it appear again press F8"), false);
    }));
    Command closedState = item(menu, WindowCommands::kLoadClosedState, QStringLiteral("&Load last closed state on open"),
                               [&window] { window.toggleLoadClosedState(); });
    closedState.checked = [&window] { return window.loadClosedState(); };
    table.add(std::move(closedState));
    table.addSeparator(menu);
    table.add(item(menu, WindowCommands::kRangeModeSetup, QStringLiteral("&Range Mode Setup"),
                   [&window] { window.showRangeModeSetup(); }));
}

void addHelp(CommandTable& table, MainWindow& window) {
    const QString menu = QStringLiteral("Help");
    // The help pages are installed with the program, in the About window.
    table.add(item(menu, WindowCommands::kViewHelp, QStringLiteral("View &Help"),
                   [&window] { window.showAboutWindow(AboutWindow::AboutPage); }));
    table.addSeparator(menu);
    Command onscreen = item(menu, WindowCommands::kOnscreenHelp, QStringLiteral("&On Screen Help"),
                            [&window] { window.toggleOnscreenHelp(); });
    onscreen.checked = [&window] { return window.onscreenHelp(); };
    table.add(std::move(onscreen));
    table.add(item(menu, WindowCommands::kKeyboardShortcuts, QStringLiteral("&Keyboard Shortcuts"),
                   [&window] { window.showAboutWindow(AboutWindow::KeyboardPage); }));
    table.add(item(menu, WindowCommands::kAbout, QStringLiteral("&About..."),
                   [&window] { window.showAboutWindow(AboutWindow::AboutPage); }));
}

// The window menu: the same commands as the menu bar's where it has them, and the panes by the names of
// the texts they show.
void addWindowMenu(CommandTable& table, MainWindow& window) {
    const QString menu = WindowCommands::kWindowMenu;
    table.addPopup(menu);
    const auto same = [&table, &menu](int number, const QString& caption, int original) {
        Command command;
        command.menu = menu;
        command.number = number;
        command.caption = caption;
        command.sameAs = original;
        table.add(std::move(command));
    };
    same(WindowCommands::kMenuAbout, QStringLiteral("A&bout"), WindowCommands::kAbout);
    table.addSeparator(menu);
    const std::pair<int, int> panes[] = {{WindowCommands::kMenuArabic, 1},
                                         {WindowCommands::kMenuPane2, 2},
                                         {WindowCommands::kMenuPane3, 3},
                                         {WindowCommands::kMenuPane4, 4}};
    for (const auto& [number, pane] : panes) {
        Command toggle = item(menu, number, QStringLiteral("&Arabic"), [&window, pane = pane] { window.togglePane(pane); });
        toggle.checked = [&window, pane = pane] { return window.isPaneVisible(pane); };
        if (pane > 1)
            toggle.captionSource = [&window, pane = pane] { return window.paneTextName(pane); };
        table.add(std::move(toggle));
    }
    table.addSeparator(menu);
    same(WindowCommands::kMenuRangeModeSettings, QStringLiteral("&Range Mode Settings    Ctrl+R"),
         WindowCommands::kRangeModeSetup);
    same(WindowCommands::kMenuOnscreenHelp, QStringLiteral("&Onscreen Help"), WindowCommands::kOnscreenHelp);
    table.addSeparator(menu);
    table.add(item(menu, WindowCommands::kMenuMinimize, QStringLiteral("&Minimize"),
                   [&window] { window.showMinimized(); }));
    // Rolls the window up to its menu bar and down again; a window maximized, minimized or without its
    // menu bar has nothing to roll up to.
    Command shade = item(menu, WindowCommands::kMenuWindowShade, QStringLiteral("&WindowShade Mode"),
                         [&window] { window.setRolledUp(!window.isRolledUp()); });
    shade.checked = [&window] { return window.isRolledUp(); };
    shade.enabled = [&window] {
        return window.isRolledUp() ||
               (window.menusVisible() && (window.windowState() & ~Qt::WindowActive) == Qt::WindowNoState);
    };
    table.add(std::move(shade));
    same(WindowCommands::kMenuAlwaysOnTop, QStringLiteral("&Always on Top"), WindowCommands::kAlwaysOnTop);
    table.addSeparator(menu);
    table.add(item(menu, WindowCommands::kMenuClose, QStringLiteral("&Close"), [&window] { window.close(); }));
}

}  // namespace

void WindowCommands::addTo(CommandTable& table, MainWindow& window) {
    for (const char* caption : {"&Go to", "&Recitation", "&Texts", "&Layouts", "&Options", "&Help"})
        table.addMenu(QString::fromLatin1(caption));
    addGoTo(table, window);
    addRecitation(table, window);
    addTexts(table, window);
    addLayouts(table, window);
    addOptions(table, window);
    addHelp(table, window);
    addWindowMenu(table, window);
}

}  // namespace lumora
