#include "SimStation.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <stdexcept>

#include "RowChecks.h"
#include "gui/GuiStation.h"
#include "ui/ControlIds.h"
#include "qt/FramedCheckBox.h"

namespace tandrel::e2e {

namespace {

Options StationOptions(const VirtualBench& bench, std::vector<std::string> images) {
    Options options;
    options.libraryPath = TANDREL_SIM_LIBRARY;
    options.devices = "dir:" + bench.Registry();
    options.images = std::move(images);
    // Every station keeps its results, so every run here also exercises the store.
    options.results = bench.Root() + "/results.db";
    return options;
}

std::FILE* CreateFile(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (!file) throw std::runtime_error("cannot write " + path);
    return file;
}

}  // namespace

SimStation::SimStation(const VirtualBench& bench, std::vector<std::string> images,
                       const std::function<void(Options&)>& adjust)
    : registry_(bench.Registry()),
      journalPath_(bench.Root() + "/journal.jsonl"),
      journalFile_(CreateFile(journalPath_)),
      journalTail_(journalPath_) {
    bench.MakeCurrent();
    Options options = StationOptions(bench, std::move(images));
    if (adjust) adjust(options);
    station_ = std::make_unique<test::Station<QtWindowSystem>>(
        test::StationSetup{std::move(options), &loader_, &registry_, journalFile_.get()});
    Dialog().OnInitDialog();
    station_->window.Show();
    if (!QTest::qWaitForWindowExposed(&station_->window.Window())) ADD_FAILURE() << "the window was never exposed";
    Dialog().OnWindowShown();
}

SimStation::~SimStation() {
    for (int n = 1; n <= ChannelTable::channelCount; ++n) {
        if (Record(n).portOpen) Dialog().engine.CloseChannelPort(&Record(n));
    }
    station_.reset();
}

QWidget* SimStation::Widget(ControlId id) {
    QWidget* widget = station_->window.Window().Control(id);
    if (!widget) throw std::invalid_argument("the window has no control " + std::to_string(id));
    return widget;
}

void SimStation::Click(ControlId id) {
    QWidget* widget = Widget(id);
    if (auto* cell = qobject_cast<FramedCheckBox*>(widget)) widget = cell->Box();
    QTest::mouseClick(widget, Qt::LeftButton);
}

// Keys go where the focus is; a field that keeps its focus in a child (the
// Driver box's edit line) gets them there.
void SimStation::PressKey(ControlId id, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    Widget(id)->setFocus(Qt::TabFocusReason);
    QWidget* focused = station_->window.Window().focusWidget();
    QTest::keyClick(focused ? focused : Widget(id), key, modifiers);
}

void SimStation::ChooseComm() {
    auto* driver = qobject_cast<QComboBox*>(station_->window.Window().Control(IDC_DRIVER));
    driver->setCurrentIndex(driver->findText(QStringLiteral("COMM")));
}

std::string SimStation::ClickAnsweringTheBox(ControlId id) {
    std::string text;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&text] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        text = box->text().toStdString();
        box->button(QMessageBox::Ok)->click();
    });
    answer.start(10);
    Click(id);
    return text;
}

void SimStation::ChooseMenuEntry(const QString& text) {
    for (auto* menu : station_->window.Window().findChildren<QMenu*>()) {
        for (QAction* entry : menu->actions()) {
            if (entry->text() == text) return entry->trigger();
        }
    }
    throw std::invalid_argument("the window's menu has no entry " + text.toStdString());
}

void SimStation::InPortHealthWindow(const std::function<void(DialogWindow& window)>& whileOpen) {
    bool opened = false;
    QTimer::singleShot(0, &station_->window.Window(), [&] {
        auto* window = qobject_cast<DialogWindow*>(QApplication::activeModalWidget());
        if (!window || window->windowTitle() != "Port health") return;
        opened = true;
        whileOpen(*window);
        QTest::mouseClick(window->Control(IDOK_PORT_HEALTH), Qt::LeftButton);
    });
    ChooseMenuEntry("Port &health...");
    if (!opened) ADD_FAILURE() << "the port-health window did not open";
}

QColor SimStation::RowColour(int channel) {
    QWidget* row = station_->window.Window().Control(StatusLabelId(channel));
    return gui::PixelOf(row, QPoint(3, row->height() - 3));
}

std::vector<std::string> SimStation::History(int channel) { return StatusTexts(Records(), channel); }

bool SimStation::Await(const std::function<bool()>& condition, int timeoutMs) {
    return gui::Eventually(condition, timeoutMs);
}

bool SimStation::AwaitShown(int channel, const std::string& text, int timeoutMs) {
    return Await([&] { return Contains(History(channel), text); }, timeoutMs);
}

bool SimStation::AwaitDownloading(const std::vector<int>& channels, int percent) {
    return Await([&] {
        for (int n : channels) {
            if (Row(n) != "Downloading FLS" || Progress(n) < percent) return false;
        }
        return true;
    });
}

}  // namespace tandrel::e2e
