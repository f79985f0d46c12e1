#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFontDatabase>
#include <QListWidget>

#include "GuiStation.h"
#include "ui/ControlIds.h"
#include "qt/StaticText.h"
#include "support/RowTexts.h"

namespace tandrel::gui {
namespace {

// Counts the paints a widget receives.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* w) { w->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) ++paints;
        return false;
    }
};

TEST(StatusRow, NewColourShowsOnlyWhenTheTextIsNextSet) {
    Station s;
    auto* row = s.As<StaticText>(StatusLabelId(3));
    QCoreApplication::processEvents();
    PaintCounter counter(row);

    s.dialog.display.Label(3).SetBkColor(kRed);
    QCoreApplication::processEvents();
    EXPECT_EQ(counter.paints, 0) << "a new colour alone must not repaint the row";

    s.dialog.display.SetChannelStatus(3, "Fail");
    QCoreApplication::processEvents();
    EXPECT_GE(counter.paints, 1);
    EXPECT_EQ(PixelOf(row, QPoint(3, row->height() - 3)), QColor(Qt::red));
    EXPECT_EQ(row->Text(), "Fail");
}

TEST(StatusRow, NewFontRepaintsAtOnce) {
    Station s;
    auto* row = s.As<StaticText>(StatusLabelId(1));
    QCoreApplication::processEvents();
    PaintCounter counter(row);
    s.dialog.display.Label(1).SetFontBold(0);
    EXPECT_GE(counter.paints, 1);
    EXPECT_EQ(row->font().weight(), QFont::Normal);
    EXPECT_EQ(row->font().pixelSize(), 13);
}

TEST(Banner, TextIsDrawnInTheBannerColourOnWhiteCells) {
    Station s;
    auto* banner = s.As<StaticText>(IDC_STATUS_BANNER);
    s.dialog.display.SetBanner("\xEC\xB1\x84\xEB\x84\x90 \xEA\xB2\x80\xEC\x83\x89 \xEC\xA4\x91", false);
    QCoreApplication::processEvents();
    QImage shot = banner->grab().toImage();
    EXPECT_GT(CountNear(shot, Qt::red), 50) << "red text";
    EXPECT_EQ(CountNear(shot, Qt::blue), 0);
    EXPECT_GT(CountNear(shot, Qt::white, 0), 50) << "white text cells";
    // Below the text the banner keeps the dialog's background.
    const QColor background = s.window.Window().palette().color(QPalette::Window);
    EXPECT_EQ(shot.pixelColor(3, shot.height() - 3), background);

    s.dialog.display.SetBanner("USB", true);
    QCoreApplication::processEvents();
    shot = banner->grab().toImage();
    EXPECT_GT(CountNear(shot, Qt::blue), 20) << "blue text";
    EXPECT_EQ(CountNear(shot, Qt::red), 0);
}

TEST(Banner, KoreanTextHasAFontToBeDrawnWith) {
    EXPECT_FALSE(QFontDatabase::families(QFontDatabase::Korean).isEmpty())
        << "no font with Hangul glyphs is installed (fonts-nanum)";
}

TEST(EventLog, LinesStayInTheOrderAddedWithTheLastSelected) {
    Station s;
    auto* log = s.As<QListWidget>(IDC_EVENT_LOG);
    // Start-up may already have said which library it loaded.
    const int before = log->count();
    for (const char* line : {"b", "a", "c"}) s.dialog.display.AppendLog(line);
    ASSERT_EQ(log->count(), before + 3);
    EXPECT_EQ(log->item(before)->text(), "b");
    EXPECT_EQ(log->item(before + 1)->text(), "a");
    EXPECT_EQ(log->item(before + 2)->text(), "c");
    EXPECT_EQ(log->currentRow(), before + 2);
    s.dialog.display.ClearLog();
    EXPECT_EQ(log->count(), 0);
}

}  // namespace
}  // namespace tandrel::gui

namespace tandrel::gui {
namespace {

// Each text is measured with the row's own font against the row's face: a
// text that needs more lines than fit its height, or a line wider than the
// face, is clipped on screen.
TEST(StatusRow, EveryTextARowCanShowFitsItsLabel) {
    Station s;
    for (int n = 1; n <= 8; ++n) {
        auto* row = s.As<StaticText>(StatusLabelId(n));
        for (std::string_view text : test::kRowTexts) {
            s.dialog.display.SetChannelStatus(n, text);
            const QRect face = row->contentsRect();
            const QRect needed = row->TextBounds();
            EXPECT_TRUE(face.contains(needed))
                << "row " << n << " \"" << text << "\" needs " << needed.width() << "x" << needed.height()
                << " at " << needed.x() << "," << needed.y() << " in " << face.width() << "x" << face.height();
        }
    }
}

}  // namespace
}  // namespace tandrel::gui
