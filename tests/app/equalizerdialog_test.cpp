// The equalizer dialog: the preset box, the preset chosen on opening, gains heard while sliders move,
// saving and deleting the user's presets, and the settings stored on closing.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QMenu>
#include <QTemporaryDir>

#include "app/equalizerdialog.h"
#include "app/mainwindow.h"
#include "audio/nulloutput.h"
#include "audio/player.h"
#include "controls/ownerdrawnbutton.h"
#include "controls/verseslider.h"
#include "programfixture.h"
#include "recitation/recitationcontroller.h"
#include "settings/settingsstore.h"
#include "support/testrecordings.h"

namespace lumora {
namespace {

const QString kApp = QStringLiteral("ZI4");
const QString kEq = QStringLiteral("EQ");

class EqualizerDialogTest : public ::testing::Test {
protected:
    std::unique_ptr<EqualizerDialog> open() {
        EqualizerDialog::PlayerHooks hooks;
        hooks.enableEqualiser = [this](bool enable) {
            enables.push_back(enable);
            if (enable) {
                player.enableEqualizer();
                player.setEqualizerValue(shared.gainsDb);
            } else {
                player.disableEqualizer();
            }
        };
        hooks.setEqualizerValue = [this] {
            applied.push_back(shared.gainsDb);
            player.setEqualizerValue(shared.gainsDb);
        };
        auto dialog = std::make_unique<EqualizerDialog>(store, kApp, shared, hooks);
        dialog->setPresetNameAsker([this] { return nextName; });
        return dialog;
    }
    QStringList items(const EqualizerDialog& dialog) const {
        QStringList list;
        for (int i = 0; i < dialog.presetBox()->count(); ++i)
            list << dialog.presetBox()->itemText(i);
        return list;
    }
    std::array<int, 10> sliders(const EqualizerDialog& dialog) const {
        std::array<int, 10> values{};
        for (int band = 0; band < 10; ++band)
            values[static_cast<size_t>(band)] = dialog.bandSlider(band)->model()->value();
        return values;
    }
    QString usr() const { return store.get(kApp, kEq, QStringLiteral("Usr"), QString()); }
    void setAllGains(float gainDb) { shared.gainsDb.fill(gainDb); }

    QTemporaryDir dir;
    SettingsStore store{dir.path()};
    EqualizerSettings shared;
    Player player{std::make_unique<NullOutput>(NullOutput::Mode::Manual)};
    std::vector<bool> enables;
    std::vector<std::array<float, 10>> applied;
    std::optional<QString> nextName;
};

TEST_F(EqualizerDialogTest, DefaultsListTheBuiltInPresetsAndSelectPreset4) {
    auto dialog = open();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Equalizer"));
    QStringList expected{QStringLiteral("(Select preset)")};
    for (int i = 1; i <= 13; ++i)
        expected << QStringLiteral("Preset %1").arg(i);
    EXPECT_EQ(items(*dialog), expected);
    EXPECT_EQ(dialog->presetBox()->currentText(), QStringLiteral("Preset 4"));
    EXPECT_TRUE(dialog->deleteButton()->isHidden());
    EXPECT_TRUE(dialog->enabledBox()->isChecked());
    EXPECT_EQ(sliders(*dialog), (std::array<int, 10>{-8, 10, 10, 6, 2, -4, -8, -10, -11, -11}));
    for (int band = 0; band < 10; ++band) {
        EXPECT_EQ(dialog->bandSlider(band)->model()->min(), -15);
        EXPECT_EQ(dialog->bandSlider(band)->model()->max(), 15);
    }
    // Opening applies nothing to the player.
    EXPECT_TRUE(applied.empty());
    EXPECT_TRUE(enables.empty());
}

TEST_F(EqualizerDialogTest, OpeningMatchesGainsExactlyAndHoldsStrayOnesToTheSliders) {
    setAllGains(0);
    EXPECT_EQ(open()->presetBox()->currentText(), QStringLiteral("Preset 13"));

    // Gains of no preset: nothing selected. 1|... must not pick a preset starting 11|...
    shared.gainsDb = {1, 0, 0, 0, 0, 0, 7, 7, 7, 10};
    EXPECT_EQ(open()->presetBox()->currentIndex(), 0);

    // Hand-edited gains outside the sliders' range are held to it; fractions go to the nearest whole.
    shared.gainsDb = {40, -40, 2.6f, 0, 0, 0, 0, 0, 0, 0};
    shared.enabled = false;
    auto dialog = open();
    EXPECT_EQ(sliders(*dialog), (std::array<int, 10>{15, -15, 3, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_FALSE(dialog->enabledBox()->isChecked());
}

TEST_F(EqualizerDialogTest, ChoosingAPresetMovesTheSlidersAndAppliesEachChange) {
    auto dialog = open();
    // Preset 4 to Preset 7: every band changes.
    dialog->presetBox()->setCurrentIndex(7);
    const std::array<int, 10> preset7{7, 7, 0, 0, 0, 0, 0, 0, 7, 7};
    EXPECT_EQ(sliders(*dialog), preset7);
    EXPECT_EQ(applied.size(), 10u);
    for (int band = 0; band < 10; ++band)
        EXPECT_EQ(shared.gainsDb[static_cast<size_t>(band)], static_cast<float>(preset7[static_cast<size_t>(band)]));
    EXPECT_EQ(player.equalizerEnabled(), false);  // the flag is the check box's business

    // Preset 13 from Preset 7: only the four non-zero bands change.
    applied.clear();
    dialog->presetBox()->setCurrentIndex(13);
    EXPECT_EQ(applied.size(), 4u);
    EXPECT_TRUE(dialog->deleteButton()->isHidden());

    // A slider moved by the user applies at once.
    applied.clear();
    (void)dialog->bandSlider(9)->model()->setValue(-15);
    ASSERT_EQ(applied.size(), 1u);
    EXPECT_EQ(applied[0][9], -15.0f);
}

TEST_F(EqualizerDialogTest, SavedPresetsAreListedAfterTheBuiltInOnesAndDeletedByName) {
    setAllGains(0);
    auto dialog = open();
    nextName = QStringLiteral("Speech");
    dialog->savePreset();
    EXPECT_EQ(usr(), QStringLiteral("Speech|0|0|0|0|0|0|0|0|0|0#"));
    EXPECT_EQ(items(*dialog).last(), QStringLiteral("Speech"));
    EXPECT_EQ(dialog->presetBox()->currentIndex(), 0);

    // Blank or cancelled names save nothing; separators are taken out of a name.
    nextName = QStringLiteral("   ");
    dialog->savePreset();
    nextName = std::nullopt;
    dialog->savePreset();
    EXPECT_EQ(usr(), QStringLiteral("Speech|0|0|0|0|0|0|0|0|0|0#"));
    (void)dialog->bandSlider(0)->model()->setValue(5);
    nextName = QStringLiteral("Lo|ud#");
    dialog->savePreset();
    nextName = QStringLiteral("Speech");
    dialog->savePreset();
    EXPECT_EQ(usr(), QStringLiteral("Speech|0|0|0|0|0|0|0|0|0|0#Loud|5|0|0|0|0|0|0|0|0|0#"
                                    "Speech|5|0|0|0|0|0|0|0|0|0#"));
    EXPECT_EQ(items(*dialog).mid(14), (QStringList{"Speech", "Loud", "Speech"}));

    // A user preset shows Delete, and its gains; deleting takes every preset of the name, unasked.
    dialog->presetBox()->setCurrentIndex(14);
    EXPECT_FALSE(dialog->deleteButton()->isHidden());
    EXPECT_EQ(sliders(*dialog)[0], 0);
    dialog->presetBox()->setCurrentIndex(3);
    EXPECT_TRUE(dialog->deleteButton()->isHidden());
    dialog->presetBox()->setCurrentIndex(16);
    dialog->deletePreset();
    EXPECT_EQ(usr(), QStringLiteral("Loud|5|0|0|0|0|0|0|0|0|0#"));
    EXPECT_EQ(items(*dialog).mid(14), QStringList{"Loud"});
    EXPECT_TRUE(dialog->deleteButton()->isHidden());
}

TEST_F(EqualizerDialogTest, MarkedUserPresetsAndDamagedListsAreShownSafely) {
    // A user name with the built-in marker counts as built-in; empty and short records do no harm, and
    // each item still gives its own record's gains.
    ASSERT_TRUE(store.save(kApp, kEq, QStringLiteral("Usr"),
                           QStringLiteral("~*(Mine|1|1|1|1|1|1|1|1|1|1##Short|3#Two|2|2|2|2|2|2|2|2|2|2#"))
                    .ok());
    auto dialog = open();
    EXPECT_EQ(items(*dialog).mid(14), (QStringList{"Mine", "Short", "Two"}));
    dialog->presetBox()->setCurrentIndex(14);
    EXPECT_TRUE(dialog->deleteButton()->isHidden());
    EXPECT_EQ(sliders(*dialog)[0], 1);
    dialog->presetBox()->setCurrentIndex(15);  // not ten gains: the sliders stay
    EXPECT_EQ(sliders(*dialog)[0], 1);
    dialog->presetBox()->setCurrentIndex(16);
    EXPECT_EQ(sliders(*dialog), (std::array<int, 10>{2, 2, 2, 2, 2, 2, 2, 2, 2, 2}));
    EXPECT_FALSE(dialog->deleteButton()->isHidden());
}

TEST_F(EqualizerDialogTest, RandomUserListsNeverBreakTheDialog) {
    // Seeded random preset lists made of the format's own characters: each opens, every item can be
    // chosen and deleted, and the gains stay on the sliders' scale.
    const QString alphabet = QStringLiteral("|#~*(-.0123456789 aZ");
    uint32_t state = 12345;
    const auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    };
    for (int round = 0; round < 60; ++round) {
        QString list;
        const int length = static_cast<int>(next() % 120);
        for (int i = 0; i < length; ++i)
            list += alphabet.at(static_cast<int>(next() % static_cast<uint32_t>(alphabet.size())));
        ASSERT_TRUE(store.save(kApp, kEq, QStringLiteral("Usr"), list).ok());
        auto dialog = open();
        ASSERT_GE(dialog->presetBox()->count(), 14);
        for (int item = dialog->presetBox()->count() - 1; item >= 0; --item) {
            if (item >= dialog->presetBox()->count())
                continue;
            dialog->presetBox()->setCurrentIndex(item);
            for (int value : sliders(*dialog)) {
                EXPECT_GE(value, -15);
                EXPECT_LE(value, 15);
            }
            if (!dialog->deleteButton()->isHidden())
                dialog->deletePreset();
        }
        EXPECT_GE(dialog->presetBox()->count(), 14);
    }
}

TEST_F(EqualizerDialogTest, TheSwitchActsAtOnceAndClosingStoresTheSettings) {
    player.enableEqualizer();
    auto dialog = open();
    dialog->enabledBox()->setChecked(false);
    EXPECT_EQ(enables, std::vector<bool>{false});
    EXPECT_FALSE(player.equalizerEnabled());
    EXPECT_FALSE(shared.enabled);
    (void)dialog->bandSlider(2)->model()->setValue(-3);
    // Nothing stored before the close.
    EXPECT_EQ(store.get(kApp, kEq, QStringLiteral("EQEnabled"), QStringLiteral("none")), QStringLiteral("none"));
    dialog->closeButton()->click();
    EXPECT_EQ(store.get(kApp, kEq, QStringLiteral("EQEnabled"), QString()), QStringLiteral("False"));
    const QStringList expected{"-8", "10", "-3", "6", "2", "-4", "-8", "-10", "-11", "-11"};
    for (int band = 0; band < 10; ++band)
        EXPECT_EQ(store.get(kApp, kEq, QStringLiteral("Val%1").arg(band), QString()), expected.at(band));

    // The window's own close stores too, and turning on again applies the gains.
    auto again = open();
    again->enabledBox()->setChecked(true);
    EXPECT_TRUE(player.equalizerEnabled());
    again->show();
    again->close();
    EXPECT_EQ(store.get(kApp, kEq, QStringLiteral("EQEnabled"), QString()), QStringLiteral("True"));
}

// The Recitation menu's two items in the running program.
using EqualizerWindowTest = test::ProgramTest;

QAction* recitationItem(MainWindow& window, const QString& caption) {
    for (QAction* action : window.topMenus()[1]->actions()) {
        if (action->text() == caption)
            return action;
    }
    return nullptr;
}

TEST_F(EqualizerWindowTest, TheMenuOpensTheDialogBelowATopMostWindowAndItActsOnThePlayer) {
    Program& started = start();
    MainWindow& window = started.window();
    QAction* item = recitationItem(window, QStringLiteral("&Equalizer..."));
    ASSERT_NE(item, nullptr);
    window.setAlwaysOnTop(true);
    ASSERT_TRUE(started.player()->equalizerEnabled());

    modals().answerWith([](QWidget* widget) {
        auto* dialog = qobject_cast<EqualizerDialog*>(widget);
        ASSERT_NE(dialog, nullptr);
        dialog->presetBox()->setCurrentIndex(13);
        dialog->enabledBox()->setChecked(false);
        emit dialog->closeButton()->click();
    });
    item->trigger();
    ASSERT_EQ(modals().count(QStringLiteral("lumora::EqualizerDialog")), 1);
    EXPECT_EQ(modals().seen().back().title, QStringLiteral("Equalizer"));
    EXPECT_FALSE(modals().seen().back().mainWindowTopMost);
    EXPECT_TRUE(window.isTopMost());
    EXPECT_FALSE(started.player()->equalizerEnabled());
    EXPECT_FALSE(started.equalizer().enabled);
    EXPECT_EQ(started.equalizer().gainsDb, (std::array<float, 10>{}));
    EXPECT_EQ(stored(QStringLiteral("EQ"), QStringLiteral("EQEnabled")), QStringLiteral("False"));
    EXPECT_EQ(stored(QStringLiteral("EQ"), QStringLiteral("Val0")), QStringLiteral("0"));
}

TEST_F(EqualizerWindowTest, SaveRangeProposesTheNameAndWritesTheChosenFile) {
    Program& started = start();
    MainWindow& window = started.window();
    RecitationController& controller = *started.controller();
    QAction* item = recitationItem(window, QStringLiteral("&Save Range to MP3"));
    ASSERT_NE(item, nullptr);
    if (controller.mediaFile().isEmpty() || !QFileInfo::exists(controller.mediaFile()) ||
        controller.verseTable().size() < 3)
        GTEST_SKIP() << "the loaded sample sura has no recording";
    ASSERT_TRUE(controller.rangeEnd().setValue(2).ok());
    ASSERT_TRUE(controller.rangeBegin().setValue(1).ok());

    QTemporaryDir target;
    const QString chosen = target.path() + QStringLiteral("/range");
    QString proposed;
    modals().answerWith([&](QWidget* widget) {
        auto* dialog = qobject_cast<QFileDialog*>(widget);
        ASSERT_NE(dialog, nullptr);
        proposed = QFileInfo(dialog->selectedFiles().value(0)).fileName();
        EXPECT_EQ(dialog->nameFilters(), QStringList{QStringLiteral("MP3 file (*.MP3)")});
        dialog->selectFile(chosen);
        static_cast<QDialog*>(dialog)->accept();
    });
    item->trigger();
    EXPECT_EQ(proposed, controller.suraNumberText() + QStringLiteral("-001-002.MP3"));
    const std::vector<uint8_t> saved = test::readFileBytes((chosen + QStringLiteral(".mp3")).toStdString());
    ASSERT_GT(saved.size(), 128u);
    EXPECT_EQ(std::string(saved.end() - 128, saved.end() - 125), "TAG");
    EXPECT_FALSE(controller.tickEnabled());

    // Range End before Range Begin: the message, no dialog.
    ASSERT_TRUE(controller.rangeBegin().setValue(2).ok());
    ASSERT_TRUE(controller.rangeEnd().setValue(1).ok());
    modals().clear();
    item->trigger();
    ASSERT_EQ(modals().seen().size(), 1u);
    EXPECT_EQ(modals().seen().back().title, QStringLiteral("Incorrect Range"));
    EXPECT_EQ(modals().seen().back().text, QStringLiteral("Range Begin should be less than or equal to Range End"));
}

}  // namespace
}  // namespace lumora
