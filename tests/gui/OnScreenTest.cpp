#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "GuiStation.h"
#include "ui/ControlIds.h"

namespace tandrel::gui {
namespace {

// On a real X server (run by the gui.xvfb test under xvfb-run): the window
// as the screen shows it, saved as a picture beside the test for a person to
// look at, and checked where the template puts its parts.
class OnScreen : public ::testing::Test {
protected:
    void SetUp() override {
        if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "needs an X server; see the gui.xvfb test";
    }

    static QImage Screen() { return QGuiApplication::primaryScreen()->grabWindow(0).toImage(); }

    // Part of the screen covered by a control of the window.
    static QImage ShotOf(const QImage& screen, QWidget* control) {
        return screen.copy(QRect(control->mapToGlobal(QPoint(0, 0)), control->size()));
    }
};

TEST_F(OnScreen, MainWindowLooksLikeTheTemplate) {
    Station s;
    s.dialog.display.SetBanner("\xEC\xB1\x84\xEB\x84\x90 \xEA\xB2\x80\xEC\x83\x89 \xEC\xA4\x91", true);
    s.dialog.display.AppendLog("Library: libIFWD_DownloadDll.so not found");
    s.dialog.display.SetChannelProgress(2, 40);
    s.dialog.display.Label(2).SetBkColor(kRowBlue);
    s.dialog.display.SetChannelStatus(2, "Downloading FLS");

    // Paints reach the X server in their own time: wait for the last change to show.
    auto rowTwoIsBlue = [&s] {
        const QImage row = ShotOf(Screen(), s.Widget(StatusLabelId(2)));
        return row.pixelColor(3, row.height() - 3) == QColor(0, 31, 255);
    };
    ASSERT_TRUE(Eventually(rowTwoIsBlue));
    const QImage screen = Screen();
    ASSERT_TRUE(screen.save("main-window.png"));

    const QPalette palette = s.window.Window().palette();
    const QColor greyCaption = palette.color(QPalette::Disabled, QPalette::ButtonText);
    for (int n = 1; n <= 8; ++n) {
        const QImage row = ShotOf(screen, s.Widget(StatusLabelId(n)));
        const QColor face = n == 2 ? QColor(0, 31, 255) : QColor(Qt::white);
        EXPECT_EQ(row.pixelColor(3, row.height() - 3), face) << "row " << n;
        EXPECT_GT(CountNear(row, Qt::black, 150), 10) << "row " << n << " shows its text";
        const QImage stop = ShotOf(screen, s.Widget(StopButtonId(n)));
        EXPECT_GT(CountNear(stop, greyCaption), 10) << "Stop " << n << " shows its greyed caption";
    }
    const QImage progress = ShotOf(screen, s.Widget(ProgressId(2)));
    const QColor bar = palette.color(QPalette::Highlight);
    const QImage middleLine = progress.copy(0, progress.height() / 2, progress.width(), 1);
    EXPECT_NEAR(CountNear(middleLine, bar, 120) / double(progress.width()), 0.4, 0.05) << "filled to 40 %";
    EXPECT_GT(CountNear(ShotOf(screen, s.Widget(IDC_STATUS_BANNER)), Qt::blue), 50) << "banner text";
    // The last line is selected: highlighted, with its text drawn on the highlight.
    const QImage log = ShotOf(screen, s.Widget(IDC_EVENT_LOG));
    EXPECT_GT(CountNear(log, bar), 1000) << "selected log line";
    EXPECT_GT(CountNear(log, palette.color(QPalette::HighlightedText), 100), 20) << "log text";
}

TEST_F(OnScreen, AboutBoxLooksLikeItsTemplate) {
    Station s;
    bool saved = false;
    QTimer::singleShot(0, &s.window.Window(), [&saved] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box) return;
        auto* ok = box->findChild<QPushButton*>();
        const bool drawn = QTest::qWaitForWindowExposed(box) &&
                           Eventually([&] { return ok && CountNear(ShotOf(Screen(), ok), Qt::black, 300) > 5; }, 5000);
        saved = drawn && ShotOf(Screen(), box).save("about-box.png");
        for (auto* b : box->findChildren<QPushButton*>()) b->click();
    });
    s.window.Controls().ShowAbout();
    EXPECT_TRUE(saved);
}

}  // namespace
}  // namespace tandrel::gui
