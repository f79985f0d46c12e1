#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "GuiStation.h"
#include "TandrelVersion.h"
#include "ui/ControlIds.h"
#include "qt/StaticText.h"

namespace tandrel::gui {
namespace {

QList<QAction*> MenuOf(Station& s) {
    auto* menu = s.window.Window().findChild<QMenu*>();
    return menu ? menu->actions() : QList<QAction*>{};
}

QAction* EntryWithText(Station& s, const QString& text) {
    for (QAction* a : MenuOf(s)) {
        if (a->text() == text) return a;
    }
    return nullptr;
}

// What the About box showed, read while it is open; then OK ends it.
struct AboutSeen {
    QString title;
    QStringList texts;
    bool hasIcon = false;
};

void CloseAboutWithOkOnceOpen(QWidget* owner, AboutSeen& seen) {
    QTimer::singleShot(0, owner, [&seen] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box) return;
        seen.title = box->windowTitle();
        for (auto* t : box->findChildren<StaticText*>()) seen.texts << t->Text();
        for (auto* l : box->findChildren<QLabel*>()) seen.hasIcon = seen.hasIcon || !l->pixmap().isNull();
        for (auto* b : box->findChildren<QPushButton*>()) {
            if (b->text() == "OK") b->click();
        }
    });
}

TEST(WindowMenu, AboutIsTheLastEntryAfterASeparatorAndSendsCommand16) {
    Station s;
    const QList<QAction*> entries = MenuOf(s);
    ASSERT_GE(entries.size(), 2);
    EXPECT_TRUE(entries[entries.size() - 2]->isSeparator());
    EXPECT_EQ(entries.back()->text(), "&About Tandrel...");
    EXPECT_EQ(entries.back()->data().toUInt(), 16u);
}

TEST(WindowMenu, AboutOpensTheAboutBoxUntilOk) {
    Station s;
    AboutSeen seen;
    CloseAboutWithOkOnceOpen(&s.window.Window(), seen);
    EntryWithText(s, "&About Tandrel...")->trigger();
    EXPECT_EQ(seen.title, "About Tandrel");
    EXPECT_TRUE(seen.texts.contains("Tandrel Version " TANDREL_VERSION));
    EXPECT_TRUE(seen.hasIcon);
    EXPECT_TRUE(s.window.Window().isVisible());
}

TEST(WindowMenu, CloseGoesToTheDefaultHandlingAndClosesTheWindow) {
    Station s;
    QSignalSpy finished(&s.window.Window(), &QDialog::finished);
    EntryWithText(s, "&Close")->trigger();
    EXPECT_EQ(finished.count(), 1);
    EXPECT_FALSE(s.window.Window().isVisible());
    s.window.RunUntilClosed();
}

TEST(Window, EscClosesIt) {
    Station s;
    QSignalSpy finished(&s.window.Window(), &QDialog::finished);
    QTest::keyClick(&s.window.Window(), Qt::Key_Escape);
    EXPECT_EQ(finished.count(), 1);
    EXPECT_FALSE(s.window.Window().isVisible());
}

TEST(Window, RunUntilClosedEndsWithTheCloseBox) {
    Station s;
    QTimer::singleShot(0, &s.window.Window(), [&s] { s.window.Window().close(); });
    s.window.RunUntilClosed();
    EXPECT_FALSE(s.window.Window().isVisible());
}

}  // namespace
}  // namespace tandrel::gui
