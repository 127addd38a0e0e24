#include "controls/tickruler.h"

#include <vector>

#include <gtest/gtest.h>

namespace lumora {
namespace {

// The columns holding a full-height line of the tick colour.
std::vector<int> lineColumns(TickRuler& ruler) {
    const QImage image = ruler.grab().toImage();
    std::vector<int> columns;
    for (int x = 0; x < image.width(); ++x) {
        bool full = true;
        for (int y = 0; y < image.height(); ++y) full = full && image.pixelColor(x, y) == TickRuler::tickColour();
        if (full) columns.push_back(x);
    }
    return columns;
}

TEST(TickRulerTest, OneTickPerVerseAndAClosingLine) {
    TickRuler ruler;
    ruler.setBackColor(QColor(57, 49, 57));
    ruler.resize(210, 8);
    // No verse count: ten ticks 20 pixels apart, then the line 10 pixels in from the right.
    EXPECT_EQ(lineColumns(ruler), (std::vector<int>{0, 20, 40, 60, 80, 100, 120, 140, 160, 180, 200}));
    ruler.setVerses(1);
    EXPECT_EQ(lineColumns(ruler), (std::vector<int>{0, 200}));
    ruler.setVerses(3);  // 66.67 pixels apart
    EXPECT_EQ(lineColumns(ruler), (std::vector<int>{0, 67, 133, 200}));
    ruler.resize(110, 8);
    EXPECT_EQ(lineColumns(ruler), (std::vector<int>{0, 33, 67, 100}));
}

}  // namespace
}  // namespace lumora
