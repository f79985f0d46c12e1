#include "GuiStation.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTest>
#include <QTimer>
#include <cstdlib>

namespace tandrel::gui {

Station::Station() {
    dialog.OnInitDialog();
    window.Show();
    if (!QTest::qWaitForWindowExposed(&window.Window())) ADD_FAILURE() << "the window was never exposed";
}

bool Eventually(const std::function<bool()>& condition, int timeoutMs) {
    // The pulse wakes the loop even when nothing else would.
    QTimer pulse;
    pulse.start(5);
    const QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

QColor PixelOf(QWidget* widget, QPoint at) { return widget->grab().toImage().pixelColor(at); }

int CountNear(const QImage& image, QColor colour, int tolerance) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            const int distance = std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) +
                                 std::abs(c.blue() - colour.blue());
            if (distance <= tolerance) ++count;
        }
    }
    return count;
}

}  // namespace tandrel::gui
