#include "SimStation.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <stdexcept>

#include "RowChecks.h"
#include "gui/GuiStation.h"
#include "ui/ControlIds.h"
#include "ui/qt/FramedCheckBox.h"

namespace tandrel::e2e {

namespace {

Options StationOptions(const VirtualBench& bench, std::vector<std::string> images) {
    Options options;
    options.libraryPath = TANDREL_SIM_LIBRARY;
    options.devices = "dir:" + bench.Registry();
    options.images = std::move(images);
    return options;
}

std::FILE* CreateFile(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (!file) throw std::runtime_error("cannot write " + path);
    return file;
}

}  // namespace

SimStation::SimStation(const VirtualBench& bench, std::vector<std::string> images)
    : registry_(bench.Registry()),
      journalPath_(bench.Root() + "/journal.jsonl"),
      journalFile_(CreateFile(journalPath_)),
      journal_(std::make_unique<Journal>(journalFile_.get(), window_.Loop())),
      journalTail_(journalPath_) {
    bench.MakeCurrent();
    dialog_ = std::make_unique<DownloadDialog>(
        StationPorts{window_.Controls(), window_.Loop(), loader_, registry_, devicePaths_},
        StationOptions(bench, std::move(images)), journal_.get());
    dialog_->OnInitDialog();
    window_.Show();
    if (!QTest::qWaitForWindowExposed(&window_.Window())) ADD_FAILURE() << "the window was never exposed";
    dialog_->OnWindowShown();
}

SimStation::~SimStation() {
    for (int n = 1; n <= ChannelTable::channelCount; ++n) {
        if (Record(n).portOpen) dialog_->engine.CloseChannelPort(&Record(n));
    }
    dialog_.reset();
}

QWidget* SimStation::Widget(ControlId id) {
    QWidget* widget = window_.Window().Control(id);
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
    QWidget* focused = window_.Window().focusWidget();
    QTest::keyClick(focused ? focused : Widget(id), key, modifiers);
}

void SimStation::ChooseComm() {
    auto* driver = qobject_cast<QComboBox*>(window_.Window().Control(IDC_DRIVER));
    driver->setCurrentIndex(driver->findText(QStringLiteral("COMM")));
}

std::string SimStation::ResetAnsweringTheBox() {
    std::string text;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&text] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        text = box->text().toStdString();
        box->button(QMessageBox::Ok)->click();
    });
    answer.start(10);
    Click(IDC_RESET);
    return text;
}

std::string SimStation::Row(int channel) {
    return window_.Controls().GetText(kStatusLabelIds[static_cast<std::size_t>(channel)]);
}

QColor SimStation::RowColour(int channel) {
    QWidget* row = window_.Window().Control(kStatusLabelIds[static_cast<std::size_t>(channel)]);
    return gui::PixelOf(row, QPoint(3, row->height() - 3));
}

int SimStation::Progress(int channel) {
    return window_.Controls().GetProgressPos(kProgressIds[static_cast<std::size_t>(channel)]);
}

bool SimStation::Enabled(ControlId id) { return window_.Controls().IsEnabled(id); }

bool SimStation::WindowOpen() { return window_.Window().isVisible(); }

std::string SimStation::Banner() { return window_.Controls().GetText(IDC_STATUS_BANNER); }

std::vector<std::string> SimStation::Log() {
    std::vector<std::string> lines;
    const int count = window_.Controls().ListCount(IDC_EVENT_LOG);
    for (int i = 0; i < count; ++i) lines.push_back(window_.Controls().ListLine(IDC_EVENT_LOG, i));
    return lines;
}

std::vector<std::string> SimStation::History(int channel) { return StatusTexts(Records(), channel); }

bool SimStation::Await(const std::function<bool()>& condition, int timeoutMs) {
    return gui::Eventually(condition, timeoutMs);
}

bool SimStation::AwaitShown(int channel, const std::string& text, int timeoutMs) {
    return Await([&] { return Contains(History(channel), text); }, timeoutMs);
}

}  // namespace tandrel::e2e
