#include "qt/DialogUnits.h"

#include <QFontMetrics>

namespace tandrel {

namespace {

// value * numerator / denominator rounded to the nearest whole; template values are never negative.
int ScaleRounded(int value, int numerator, int denominator) {
    return (value * numerator + denominator / 2) / denominator;
}

int ToPixelsX(int du, DialogBaseUnits units) { return ScaleRounded(du, units.avgWidth, 4); }
int ToPixelsY(int du, DialogBaseUnits units) { return ScaleRounded(du, units.height, 8); }

}  // namespace

QFont DialogFont() {
    QFont font(QStringLiteral("Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    return font;
}

DialogBaseUnits BaseUnitsOf(const QFont& font) {
    // The average over the 52 letters, rounded, as dialog templates were laid out with.
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return DialogBaseUnits{(letters / 26 + 1) / 2, metrics.height()};
}

QRect ToPixels(const DialogRect& r, DialogBaseUnits units) {
    return QRect(ToPixelsX(r.x, units), ToPixelsY(r.y, units), ToPixelsX(r.width, units),
                 ToPixelsY(r.height, units));
}

QSize ToPixels(int width, int height, DialogBaseUnits units) {
    return QSize(ToPixelsX(width, units), ToPixelsY(height, units));
}

}  // namespace tandrel
