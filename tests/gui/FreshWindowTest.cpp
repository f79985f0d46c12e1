#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <vector>

#include "GuiStation.h"
#include "ui/ControlIds.h"
#include "ui/Templates.h"
#include "qt/FramedCheckBox.h"
#include "qt/StaticText.h"

namespace tandrel::gui {
namespace {

TEST(FreshWindow, ShowsEightBoldReadyRowsOnWhite) {
    Station s;
    EXPECT_EQ(s.window.Window().windowTitle(), "Tandrel_V10_20101013");
    for (int n = 1; n <= 8; ++n) {
        SCOPED_TRACE(n);
        auto* row = s.As<StaticText>(StatusLabelId(n));
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->Text(), "READY");
        EXPECT_EQ(row->font().weight(), QFont::Bold);
        EXPECT_EQ(row->font().pixelSize(), 13);
        // Below the text, inside the sunken edge.
        EXPECT_EQ(PixelOf(row, QPoint(3, row->height() - 3)), QColor(Qt::white));
    }
}

TEST(FreshWindow, StopIsDisabledAndTheCommandsAreUsable) {
    Station s;
    for (int n = 1; n <= 8; ++n) EXPECT_FALSE(s.Widget(StopButtonId(n))->isEnabled()) << n;
    for (ControlId id : {IDC_OPEN_FILE, IDC_START, IDC_RESET}) EXPECT_TRUE(s.Widget(id)->isEnabled()) << id;
}

TEST(FreshWindow, DriverBoxHoldsCommThenUsbWithUsbSelected) {
    Station s;
    auto* driver = s.As<QComboBox>(IDC_DRIVER);
    ASSERT_NE(driver, nullptr);
    ASSERT_EQ(driver->count(), 2);
    EXPECT_EQ(driver->itemText(0), "COMM");
    EXPECT_EQ(driver->itemText(1), "USB");
    EXPECT_EQ(driver->currentIndex(), 1);
    EXPECT_EQ(driver->currentText(), "USB");
}

TEST(FreshWindow, ProgressBarsAreEmptyOverZeroToHundred) {
    Station s;
    for (int n = 1; n <= 8; ++n) {
        auto* bar = s.As<QProgressBar>(ProgressId(n));
        ASSERT_NE(bar, nullptr) << n;
        EXPECT_EQ(bar->minimum(), 0);
        EXPECT_EQ(bar->maximum(), 100);
        EXPECT_EQ(bar->value(), 0);
    }
}

TEST(FreshWindow, OnlyTheFirstFiveImageSlotsAreVisible) {
    Station s;
    for (int k = 0; k < kSlotCount; ++k) {
        const bool shown = k < 5;
        EXPECT_EQ(s.Widget(SlotCheckBoxId(k))->isVisible(), shown) << k;
        EXPECT_EQ(s.Widget(SlotPathId(k))->isVisible(), shown) << k;
        EXPECT_TRUE(s.As<QLineEdit>(SlotPathId(k))->text().isEmpty());
    }
    EXPECT_EQ(s.As<QLineEdit>(IDC_COMM_NUMBER)->text(), "0");
}

// The widget of a control that takes the focus: a slot's box sits inside its cell.
QWidget* FocusWidgetOf(Station& s, const ControlTemplate& control) {
    QWidget* w = s.Widget(control.id);
    if (auto* cell = qobject_cast<FramedCheckBox*>(w)) return cell->Box();
    return w;
}

TEST(FreshWindow, TabOrderIsTemplateOrder) {
    Station s;
    std::vector<QWidget*> expected;
    for (const auto& control : MainDialogTemplate().controls) {
        if (control.id == kNoId) continue;
        QWidget* w = FocusWidgetOf(s, control);
        if (w->focusPolicy() & Qt::TabFocus) expected.push_back(w);
    }
    ASSERT_GT(expected.size(), 20u);

    std::vector<QWidget*> chain;
    QWidget* w = expected.front();
    do {
        if (std::find(expected.begin(), expected.end(), w) != expected.end()) chain.push_back(w);
        w = w->nextInFocusChain();
    } while (w != expected.front() && chain.size() <= expected.size());
    EXPECT_EQ(chain, expected);
}

// Dialog units to pixels, worked out here from the font's letters.
struct Units {
    Units() {
        const QFontMetrics m(QFont(QStringLiteral("Sans"), 8));
        const int letters = m.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
        // A dialog's base unit across is a whole number of pixels: the average, rounded.
        x = (letters / 26 + 1) / 2;
        y = m.height();
    }
    double X(int du) const { return du * x / 4; }
    double Y(int du) const { return du * y / 8; }
    double x = 0;
    double y = 0;
};

void ExpectNear(int actual, double expected, const char* what) {
    EXPECT_LE(std::abs(actual - expected), 1.0) << what << ": " << actual << " against " << expected;
}

TEST(FreshWindow, EveryControlSitsWhereTheTemplatePutsIt) {
    Station s;
    const Units u;
    const DialogTemplate& t = MainDialogTemplate();
    ExpectNear(s.window.Window().width(), u.X(t.width), "window width");
    ExpectNear(s.window.Window().height(), u.Y(t.height), "window height");
    for (const auto& control : t.controls) {
        if (control.id == kNoId) continue;
        SCOPED_TRACE(control.id);
        const QRect g = s.Widget(control.id)->geometry();
        ExpectNear(g.x(), u.X(control.rect.x), "x");
        ExpectNear(g.y(), u.Y(control.rect.y), "y");
        ExpectNear(g.width(), u.X(control.rect.width), "width");
        // A closed combo box is one line high; its template height is the open list's.
        if (control.kind != ControlKind::ComboBox) ExpectNear(g.height(), u.Y(control.rect.height), "height");
    }
}

TEST(FreshWindow, CarriesTheProgramIcon) {
    Station s;
    EXPECT_FALSE(s.window.Window().windowIcon().isNull());
}

}  // namespace
}  // namespace tandrel::gui
