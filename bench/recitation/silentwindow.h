#pragma once
// The window of a benchmark run: it shows nothing, answers no to every question and prints failures.

#include <cstdio>

#include "recitation/recitationwindow.h"

namespace lumora::bench {

class SilentWindow : public RecitationWindow {
public:
    bool askYesNo(const QString&, const QString&) override { return false; }
    void openDownloadPage() override {}
    void showFailure(const Error& error) override {
        std::fprintf(stderr, "failure: %s\n", error.description.c_str());
    }
    void showVerseDialog(const QString&, bool, bool, int) override {}
    void showRangeModeSetup() override {}
    void showQuickSuraSelect() override {}
    void showAbout() override {}
    bool layoutSwitchInProgress() const override { return false; }
    QString currentLayout() const override { return QStringLiteral("1"); }
    void switchLayout(const QString&) override {}
    void togglePane(int) override {}
    bool menusVisible() const override { return true; }
    void setMenusVisible(bool) override {}
    void showMode(RecitationMode) override {}
    void setPlayToolTip(const QString&) override {}
    void setRulerVerses(int) override {}
};

}  // namespace lumora::bench
