#include "controls/contrast.h"

#include <algorithm>
#include <cmath>

namespace lumora {

namespace {

double linearChannel(int channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

QColor blend(const QColor& from, const QColor& to, double share) {
    const auto channel = [share](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * share)); };
    return QColor(channel(from.red(), to.red()), channel(from.green(), to.green()),
                  channel(from.blue(), to.blue()));
}

}  // namespace

double Contrast::relativeLuminance(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return 0.2126 * linearChannel(rgb.red()) + 0.7152 * linearChannel(rgb.green()) +
           0.0722 * linearChannel(rgb.blue());
}

double Contrast::ratio(const QColor& first, const QColor& second) {
    const double a = relativeLuminance(first);
    const double b = relativeLuminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

QColor Contrast::markOn(const QColor& background) {
    return ratio(Qt::black, background) >= ratio(Qt::white, background) ? QColor(Qt::black) : QColor(Qt::white);
}

QColor Contrast::dimmedOn(const QColor& text, const QColor& background) {
    if (ratio(text, background) < kMinimumTextRatio) return markOn(background);
    // The ratio falls steadily as the text moves towards the background; step in hundredths and keep the
    // last colour that still passes (a small margin absorbs the rounding of the channels).
    constexpr double kMargin = 0.05;
    QColor dimmed = text;
    for (int step = 1; step < 100; ++step) {
        const QColor next = blend(text, background, step / 100.0);
        if (ratio(next, background) < kMinimumTextRatio + kMargin) break;
        dimmed = next;
    }
    return dimmed;
}

}  // namespace lumora
