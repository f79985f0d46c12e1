#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <vector>

#include "qt/QtControls.h"
#include "qt/QtWindowLoop.h"
#include "ui/ControlIds.h"
#include "ui/Templates.h"
#include "qt/FramedCheckBox.h"

namespace tandrel::gui {
namespace {

TEST(QtControls, AutoCheckBoxTogglesBeforeItsHandlerRuns) {
    QtControls controls(MainDialogTemplate());
    std::vector<std::pair<ControlId, int>> clicks;
    controls.SetHandlers([&](ControlId id) { clicks.emplace_back(id, controls.GetCheck(id)); }, [](unsigned) {});
    controls.Window().show();
    auto* cell = qobject_cast<FramedCheckBox*>(controls.Window().Control(SlotCheckBoxId(2)));
    ASSERT_NE(cell, nullptr);
    QTest::mouseClick(cell->Box(), Qt::LeftButton);
    QTest::mouseClick(cell->Box(), Qt::LeftButton);
    EXPECT_EQ(clicks, (std::vector<std::pair<ControlId, int>>{{SlotCheckBoxId(2), 1}, {SlotCheckBoxId(2), 0}}));
}

TEST(QtControls, ProgressOutsideTheRangeIsClamped) {
    QtControls controls(MainDialogTemplate());
    controls.SetProgressPos(ProgressId(1), 150);
    EXPECT_EQ(controls.GetProgressPos(ProgressId(1)), 100);
    controls.SetProgressPos(ProgressId(1), -5);
    EXPECT_EQ(controls.GetProgressPos(ProgressId(1)), 0);
}

TEST(QtControls, TextTypedIntoTheDriverBoxThatNamesNoItemLeavesNoSelection) {
    QtControls controls(MainDialogTemplate());
    controls.SetComboSelection(IDC_DRIVER, kDriverUsb);
    EXPECT_EQ(controls.GetComboSelection(IDC_DRIVER), kDriverUsb);
    auto* driver = qobject_cast<QComboBox*>(controls.Window().Control(IDC_DRIVER));
    driver->lineEdit()->setText("usb2");
    EXPECT_EQ(controls.GetComboSelection(IDC_DRIVER), -1);
    EXPECT_EQ(driver->count(), 2);
}

TEST(QtControls, TextsRoundTripAsUtf8AndUnknownIdsReadEmpty) {
    QtControls controls(MainDialogTemplate());
    const std::string korean = "\xEB\xA6\xAC\xEC\x85\x8B";
    controls.SetText(SlotPathId(0), "/tmp/" + korean + ".fls");
    EXPECT_EQ(controls.GetText(SlotPathId(0)), "/tmp/" + korean + ".fls");
    controls.SetText(4242, "ignored");
    EXPECT_EQ(controls.GetText(4242), "");
    EXPECT_FALSE(controls.IsEnabled(4242));
}

struct Note : MessagePayload {};

TEST(QtControls, MessageBoxKeepsTheWindowHandlingPostsAndTimers) {
    QtControls controls(MainDialogTemplate());
    QtWindowLoop loop;
    int delivered = 0;
    int ticks = 0;
    loop.SetHandlers([&](WindowMessage&) { ++delivered; }, [&](int) { ++ticks; });
    controls.Window().show();

    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (delivered < 1 || ticks < 1) return;
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->accept();
    });
    QTimer::singleShot(0, &watcher, [&] {
        loop.Post(WindowMessage{WM_APPEND_LOG, std::make_unique<Note>()});
        loop.SetTimer(7, 1);
        watcher.start(1);
    });
    // Whatever happens, the box does not stay open for good.
    QTimer giveUp;
    giveUp.setSingleShot(true);
    QObject::connect(&giveUp, &QTimer::timeout, [] {
        if (auto* box = QApplication::activeModalWidget()) box->close();
    });
    giveUp.start(10000);
    controls.MessageBox("Please enter an integer.");
    EXPECT_EQ(delivered, 1);
    EXPECT_GE(ticks, 1);
}

}  // namespace
}  // namespace tandrel::gui
