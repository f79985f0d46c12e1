#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>
#include <functional>
#include <string>

#include "qt/QtWindowSystem.h"
#include "support/Station.h"

namespace tandrel::gui {

// A fresh station window on Qt, initialised and on screen.
struct Station : test::Station<QtWindowSystem> {
    Station();

    QWidget* Widget(ControlId id) { return window.Window().Control(id); }
    template <class W>
    W* As(ControlId id) {
        return qobject_cast<W*>(Widget(id));
    }
};

// Runs the event loop until condition holds (true) or timeoutMs have passed (false).
bool Eventually(const std::function<bool()>& condition, int timeoutMs = 10000);

// The colour of a widget's pixel as the widget draws itself now.
QColor PixelOf(QWidget* widget, QPoint at);
// How many pixels of an image are close to colour.
int CountNear(const QImage& image, QColor colour, int tolerance = 60);

}  // namespace tandrel::gui
