#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

#include "platform/DialogTemplate.h"

namespace tandrel {

// A dialog's base units: the average character width and the height of its
// font. A dialog unit is a quarter of the one across and an eighth of the
// other down, so a template keeps its proportions whatever font it gets.
struct DialogBaseUnits {
    int avgWidth = 0;
    int height = 0;
};

// The font every dialog is drawn in: the system's sans at 8 points.
QFont DialogFont();

DialogBaseUnits BaseUnitsOf(const QFont& font);

// Each coordinate converts alone, rounded to the nearest pixel.
QRect ToPixels(const DialogRect& r, DialogBaseUnits units);
QSize ToPixels(int width, int height, DialogBaseUnits units);

}  // namespace tandrel
