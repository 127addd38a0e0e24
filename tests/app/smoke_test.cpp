// Lumora end to end: a sura of the sample folder recited in range mode, in real time over the null
// output, with every verse appearing in pane 1 in order.
#include <QTest>
#include <vector>

#include "app/mainwindow.h"
#include "app/textpaneframe.h"
#include "controls/textpane.h"
#include "programfixture.h"
#include "recitation/recitationcontroller.h"
#include "text/versetextassignment.h"

namespace lumora::test {
namespace {

using SmokeTest = ProgramTest;

TEST_F(SmokeTest, Sura112IsRecitedVerseByVerseInPaneOne) {
    useRealClock();
    Program& started = start(QString(), NullOutput::Mode::RealTime);
    RecitationController& controller = *started.controller();
    VerseTextAssignment& texts = *started.texts();
    TextPane* pane1 = started.window().paneFrame(1)->view();

    ASSERT_TRUE(controller.selectSura(111).ok());
    ASSERT_EQ(controller.rangeEnd().value(), 4);
    ASSERT_FALSE(controller.suraList().audioMissing(111));

    std::vector<int> shownSlots;
    std::vector<QString> shown;
    const auto record = [&] {
        const int slot = texts.shownSlot();
        if (shownSlots.empty() || shownSlots.back() != slot) {
            shownSlots.push_back(slot);
            shown.push_back(pane1->plainText().simplified());
        }
    };
    record();
    controller.startRecitation();
    ASSERT_TRUE(controller.tickEnabled());
    // The recording is about 11 seconds long; the last verse's end ends the range.
    const bool ended = QTest::qWaitFor(
        [&] {
            record();
            return controller.sura() != 112 ||
                   controller.waitKind() != RecitationController::WaitKind::None || !controller.tickEnabled();
        },
        60000);
    ASSERT_TRUE(ended);
    EXPECT_EQ(shownSlots, (std::vector<int>{0, 1, 2, 3, 4}));
    for (size_t i = 0; i < shown.size() && i < 5; ++i) {
        const QString expected = texts.paneText(static_cast<int>(i), 1).simplified();
        ASSERT_FALSE(expected.isEmpty());
        EXPECT_TRUE(shown[i].contains(expected)) << i << ": " << shown[i].toStdString();
    }
}

}  // namespace
}  // namespace lumora::test
