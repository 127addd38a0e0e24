#include "app/twips.h"

#include <cmath>

#include "settings/settingtext.h"

namespace lumora {

namespace Twips {

namespace {

double usableDpi(double dpi)
{
    return std::isfinite(dpi) && dpi > 0.0 ? dpi : kDefaultDpi;
}

int saturatedRound(double value)
{
    if (std::isnan(value)) {
        return 0;
    }
    const double rounded = SettingText::roundHalfEven(value);
    if (rounded <= -kLimit) {
        return -kLimit;
    }
    if (rounded >= kLimit) {
        return kLimit;
    }
    return static_cast<int>(rounded);
}

}  // namespace

double perPixel(double dpi)
{
    return kPerInch / usableDpi(dpi);
}

int fromPixels(double pixels, double dpi)
{
    return saturatedRound(pixels * perPixel(dpi));
}

int toPixels(double twips, double dpi)
{
    return saturatedRound(twips / perPixel(dpi));
}

QRect rectFromPixels(const QRect& pixels, double dpi)
{
    return QRect(fromPixels(pixels.x(), dpi), fromPixels(pixels.y(), dpi), fromPixels(pixels.width(), dpi),
                 fromPixels(pixels.height(), dpi));
}

QRect rectToPixels(const QRect& twips, double dpi)
{
    return QRect(toPixels(twips.x(), dpi), toPixels(twips.y(), dpi), toPixels(twips.width(), dpi),
                 toPixels(twips.height(), dpi));
}

QSize sizeFromPixels(const QSize& pixels, double dpi)
{
    return QSize(fromPixels(pixels.width(), dpi), fromPixels(pixels.height(), dpi));
}

QSize sizeToPixels(const QSize& twips, double dpi)
{
    return QSize(toPixels(twips.width(), dpi), toPixels(twips.height(), dpi));
}

QRect rounded(const QRectF& twips) {
    const auto whole = [](double value) { return static_cast<int>(SettingText::roundHalfEven(value)); };
    return QRect(whole(twips.x()), whole(twips.y()), whole(twips.width()), whole(twips.height()));
}

}  // namespace Twips

}  // namespace lumora
