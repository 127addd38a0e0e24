#pragma once
// Twips: the window keeps its geometry rules and its stored layouts in twips, 1440 per logical inch of the
// screen (15 per pixel at 96 dpi), so a layout saved on one screen fits another. The window converts at its
// edges, with the logical dpi of the screen it is on, and lays out its widgets in pixels.

#include <QPoint>
#include <QRect>
#include <QRectF>
#include <QSize>

namespace lumora {

namespace Twips {

inline constexpr double kPerInch = 1440.0;
// Used when a screen reports no usable dpi.
inline constexpr double kDefaultDpi = 96.0;

// Twips per pixel: 15 at 96 dpi, 10 at 144 dpi.
double perPixel(double dpi);

// Conversions give whole numbers within +-kLimit, so a left plus a width still fits an int.
inline constexpr int kLimit = 1'000'000'000;

// Nearest whole number of the other unit, halves to the even neighbour; results beyond kLimit are held at
// it, and a value that is not a number gives 0.
int fromPixels(double pixels, double dpi);
int toPixels(double twips, double dpi);

// Each of left, top, width and height converted on its own, so equal sizes stay equal.
QRect rectFromPixels(const QRect& pixels, double dpi);
QRect rectToPixels(const QRect& twips, double dpi);
QSize sizeFromPixels(const QSize& pixels, double dpi);
QSize sizeToPixels(const QSize& twips, double dpi);
// A stored rectangle of twips in whole twips, halves to the even neighbour.
QRect rounded(const QRectF& twips);

}  // namespace Twips

}  // namespace lumora
