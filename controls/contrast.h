#pragma once
// Contrast between two colours as the web's accessibility guidelines measure it: relative luminance from
// the sRGB channels, and the ratio (lighter + 0.05) / (darker + 0.05), from 1 (same) to 21 (black on
// white). Captions must reach kMinimumTextRatio against what they are drawn on, disabled ones included.

#include <QColor>

namespace lumora {

class Contrast {
public:
    // The level the guidelines ask of normal-sized text.
    static constexpr double kMinimumTextRatio = 4.5;

    static double relativeLuminance(const QColor& colour);
    static double ratio(const QColor& first, const QColor& second);
    // Black or white, whichever stands out more on `background` (focus marks on painted controls).
    static QColor markOn(const QColor& background);
    // `text` faded towards `background` as far as it can go while keeping kMinimumTextRatio: the caption
    // colour of a disabled control, dimmed yet readable. When `text` itself falls short, the stronger of
    // black and white is returned.
    static QColor dimmedOn(const QColor& text, const QColor& background);
};

}  // namespace lumora
