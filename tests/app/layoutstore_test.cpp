#include "app/layoutstore.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cmath>
#include <random>

namespace lumora {
namespace {

// A 1920 x 1080 screen at 96 dpi.
const QSizeF kScreen(28800, 16200);

class LayoutStoreTest : public ::testing::Test {
protected:
    QTemporaryDir m_dir;
    SettingsStore m_store{m_dir.path()};
    LayoutStore m_layouts{m_store};

    LayoutState loaded(const QString& layout) const
    {
        Result<LayoutState> state = m_layouts.load(layout, kScreen);
        EXPECT_TRUE(state) << state.error().description;
        return state ? state.value() : LayoutState();
    }

    static LayoutState customState()
    {
        LayoutState state = LayoutStore::defaults();
        state.alwaysOnTop = true;
        state.showPanel = false;
        state.panes[1].visible = false;
        state.panes[2].backColour = 255;
        state.panes[2].foreColour = 65280;
        state.panes[2].fontSize = 12.5;
        state.panes[3].transName = "Name with = | # ; and  blanks ";
        state.windowPosition = QRectF(150, 300, 12000.5, 9000);
        for (size_t i = 0; i < state.panes.size(); ++i) {
            state.panes[i].position = QRectF(1, 1 + 2000.0 * double(i), 11000, 1900 + double(i));
        }
        return state;
    }
};

TEST_F(LayoutStoreTest, AFreshLayoutHasTheDefaults)
{
    const LayoutState state = loaded("3");
    EXPECT_FALSE(state.savedBefore);
    EXPECT_FALSE(state.alwaysOnTop);
    EXPECT_TRUE(state.showPanel);
    EXPECT_EQ(state.windowState, LayoutState::kNormal);
    EXPECT_EQ(state.windowPosition, QRectF(0, 0, 25920, 14580));
    const char* names[] = {"Arabic - Uthmani script", "English - Oskarine", "English - Brantwell",
                           "English - Brantwell Commentary"};
    for (size_t i = 0; i < 4; ++i) {
        const PaneLayout& pane = state.panes[i];
        EXPECT_TRUE(pane.visible);
        EXPECT_EQ(pane.backColour, 14937827u);
        EXPECT_EQ(pane.foreColour, 0u);
        EXPECT_EQ(pane.fontSize, i == 0 ? 33 : 17);
        EXPECT_EQ(pane.transName, names[i]);
        EXPECT_FALSE(pane.transNameStored);
        EXPECT_FALSE(pane.position);
    }
}

TEST_F(LayoutStoreTest, ASavedLayoutLoadsAsItWasLeftAndOthersStayApart)
{
    ASSERT_TRUE(m_layouts.save("2", customState()));
    LayoutState first = LayoutStore::defaults();
    first.windowPosition = QRectF(0, 0, 20000, 10000);
    ASSERT_TRUE(m_layouts.save("1", first));

    const LayoutState state = loaded("2");
    const LayoutState expected = customState();
    EXPECT_TRUE(state.savedBefore);
    EXPECT_TRUE(state.alwaysOnTop);
    EXPECT_FALSE(state.showPanel);
    EXPECT_EQ(state.windowState, LayoutState::kNormal);
    EXPECT_EQ(state.windowPosition, expected.windowPosition);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(state.panes[i].visible, expected.panes[i].visible);
        EXPECT_EQ(state.panes[i].backColour, expected.panes[i].backColour);
        EXPECT_EQ(state.panes[i].foreColour, expected.panes[i].foreColour);
        EXPECT_EQ(state.panes[i].fontSize, expected.panes[i].fontSize);
        EXPECT_EQ(state.panes[i].transName, expected.panes[i].transName);
        EXPECT_TRUE(state.panes[i].transNameStored);
        EXPECT_EQ(state.panes[i].position, expected.panes[i].position);
    }
    EXPECT_EQ(loaded("1").windowPosition, QRectF(0, 0, 20000, 10000));
    EXPECT_TRUE(loaded("1").panes[1].visible);
    EXPECT_EQ(m_store.get("ZI4", "Layout2", "Position", ""), "150|300|9000|12000.5");
    EXPECT_EQ(m_store.get("ZI4", "Layout2", "3Size", ""), "12.5");
    EXPECT_EQ(m_store.get("ZI4", "Layout2", "chkVisible2", ""), "False");
}

TEST_F(LayoutStoreTest, MaximizedAndMinimizedWindows)
{
    // Maximized: the maximized geometry is stored, and the load leaves the position to the window manager.
    LayoutState state = customState();
    state.windowState = LayoutState::kMaximized;
    state.windowPosition = QRectF(0, 0, 28800, 15600);
    ASSERT_TRUE(m_layouts.save("1", state));
    EXPECT_EQ(m_store.get("ZI4", "Layout1", "WindowState", ""), "2");
    EXPECT_EQ(m_store.get("ZI4", "Layout1", "Position", ""), "0|0|15600|28800");
    LayoutState back = loaded("1");
    EXPECT_EQ(back.windowState, LayoutState::kMaximized);
    EXPECT_FALSE(back.windowPosition);
    EXPECT_TRUE(back.savedBefore);
    EXPECT_EQ(back.panes[0].position, state.panes[0].position);

    // Minimized later: stored as normal, the earlier position stays.
    state.windowState = LayoutState::kMinimized;
    state.windowPosition = QRectF(-32000, -32000, 2000, 3000);
    ASSERT_TRUE(m_layouts.save("1", state));
    back = loaded("1");
    EXPECT_EQ(back.windowState, LayoutState::kNormal);
    EXPECT_EQ(back.windowPosition, QRectF(0, 0, 28800, 15600));

    // Minimized at its first save: no position, so the layout counts as never saved.
    ASSERT_TRUE(m_layouts.save("4", state));
    back = loaded("4");
    EXPECT_FALSE(back.savedBefore);
    EXPECT_EQ(back.windowPosition, LayoutStore::defaultWindowPosition(kScreen));
    EXPECT_FALSE(back.panes[0].position);
    EXPECT_TRUE(back.alwaysOnTop);
}

TEST_F(LayoutStoreTest, DamagedValuesFailTheLoadWithTheirError)
{
    const auto loadError = [&](const QString& key, const QString& value) {
        EXPECT_TRUE(m_store.save("ZI4", "Layout5", key, value));
        const Result<LayoutState> state = m_layouts.load("5", kScreen);
        EXPECT_TRUE(m_store.deleteSection("ZI4", "Layout5"));
        return state ? 0 : state.error().number;
    };
    EXPECT_EQ(loadError("Position", "10|20|30"), LayoutStore::kErrorSubscript);
    EXPECT_EQ(loadError("Position", "10|20|x|40"), LayoutStore::kErrorTypeMismatch);
    EXPECT_EQ(loadError("chkVisible3", "maybe"), LayoutStore::kErrorTypeMismatch);
    EXPECT_EQ(loadError("2Back", "-5"), LayoutStore::kErrorTypeMismatch);
    EXPECT_EQ(loadError("4Size", "inf"), LayoutStore::kErrorTypeMismatch);
    EXPECT_EQ(loadError("WindowState", "7"), LayoutStore::kErrorInvalidValue);
    EXPECT_EQ(loadError("WindowState", "2.0"), LayoutStore::kErrorTypeMismatch);
    // A pane position is read only for a layout saved before.
    EXPECT_EQ(loadError("3Position", "1|2"), 0);
    ASSERT_TRUE(m_store.save("ZI4", "Layout5", "Position", "1|2|3000|4000"));
    EXPECT_EQ(loadError("3Position", "1|2"), LayoutStore::kErrorSubscript);
    // A maximized window never reads its position.
    ASSERT_TRUE(m_store.save("ZI4", "Layout5", "WindowState", "2"));
    EXPECT_EQ(loadError("Position", "broken"), 0);

    // Hand-written values in other spellings are read.
    ASSERT_TRUE(m_store.save("ZI4", "layout5", "CHKVISIBLE1", "0"));
    ASSERT_TRUE(m_store.save("ZI4", "layout5", "alwaysontop", "-1"));
    const LayoutState state = loaded("5");
    EXPECT_FALSE(state.panes[0].visible);
    EXPECT_TRUE(state.alwaysOnTop);
}

TEST_F(LayoutStoreTest, ResetAllClearsTheFiveLayoutsOnly)
{
    EXPECT_TRUE(m_layouts.resetAll());  // nothing saved yet: still no error
    ASSERT_TRUE(m_layouts.save("2", customState()));
    ASSERT_TRUE(m_layouts.save("5", customState()));
    ASSERT_TRUE(m_layouts.setCurrentLayout("5"));
    ASSERT_TRUE(m_store.save("ZI4", "Main", "Sura", "35"));
    ASSERT_TRUE(m_layouts.resetAll());
    EXPECT_EQ(m_layouts.currentLayout(), "1");
    EXPECT_FALSE(loaded("2").savedBefore);
    EXPECT_FALSE(loaded("5").alwaysOnTop);
    EXPECT_EQ(m_store.get("ZI4", "Main", "Sura", ""), "35");
}

TEST_F(LayoutStoreTest, CurrentLayoutAndTheNextAndPreviousLayouts)
{
    EXPECT_EQ(m_layouts.currentLayout(), "1");
    ASSERT_TRUE(m_layouts.setCurrentLayout("4"));
    EXPECT_EQ(m_layouts.currentLayout(), "4");
    for (const char* damaged : {"7", "0", "abc", ""}) {
        ASSERT_TRUE(m_store.save("ZI4", "Main", "CurrentLayout", damaged));
        EXPECT_EQ(m_layouts.currentLayout(), "1") << damaged;
    }
    const char* next[] = {"2", "3", "4", "5", "1"};
    const char* previous[] = {"5", "1", "2", "3", "4"};
    for (int layout = 1; layout <= 5; ++layout) {
        EXPECT_EQ(LayoutStore::nextLayout(QString::number(layout)), next[layout - 1]);
        EXPECT_EQ(LayoutStore::previousLayout(QString::number(layout)), previous[layout - 1]);
    }
    EXPECT_EQ(LayoutStore::nextLayout("9"), "1");
    EXPECT_EQ(LayoutStore::previousLayout("x"), "5");
}

TEST(LayoutPosition, FormatsHeightBeforeWidthAndReadsBack)
{
    EXPECT_EQ(LayoutStore::formatPosition(QRectF(1, 2, 40, 30)), "1|2|30|40");
    EXPECT_EQ(LayoutStore::parsePosition("1|2|30|40|extra").value(), QRectF(1, 2, 40, 30));
    EXPECT_EQ(LayoutStore::parsePosition(" -150 | 0.5|1e3|4").value(), QRectF(-150, 0.5, 4, 1000));
    EXPECT_EQ(LayoutStore::parsePosition("").error().number, LayoutStore::kErrorSubscript);
    EXPECT_EQ(LayoutStore::parsePosition("1||2|3").error().number, LayoutStore::kErrorTypeMismatch);
    EXPECT_EQ(LayoutStore::parsePosition("1|2|3|1e10").error().number, LayoutStore::kErrorTypeMismatch);
    EXPECT_EQ(LayoutStore::parsePosition("1,5|2|3|4").error().number, LayoutStore::kErrorTypeMismatch);
}

TEST(LayoutPosition, RandomAndTruncatedInputEndsInAnErrorOrFiniteNumbers)
{
    std::mt19937 random(1234);
    const QString alphabet = "0123456789|.-+eE ,xinfa";
    const QString sample = "-1500.25|300|14580|25920";
    for (int round = 0; round < 5000; ++round) {
        QString text;
        if (round % 3 == 0) {
            text = sample.left(std::uniform_int_distribution<int>(0, int(sample.size()))(random));
        } else {
            for (int n = std::uniform_int_distribution<int>(0, 30)(random); n > 0; --n) {
                text += alphabet[std::uniform_int_distribution<int>(0, int(alphabet.size()) - 1)(random)];
            }
        }
        const Result<QRectF> rect = LayoutStore::parsePosition(text);
        if (!rect) {
            const int32_t number = rect.error().number;
            ASSERT_TRUE(number == LayoutStore::kErrorSubscript || number == LayoutStore::kErrorTypeMismatch);
            continue;
        }
        const QRectF value = rect.value();
        for (double v : {value.x(), value.y(), value.width(), value.height()}) {
            ASSERT_TRUE(std::isfinite(v) && std::fabs(v) <= 1e9) << text.toStdString();
        }
        ASSERT_EQ(LayoutStore::parsePosition(LayoutStore::formatPosition(value)).value(), value);
    }
}

}  // namespace
}  // namespace lumora
