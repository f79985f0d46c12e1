#pragma once

#include <QColor>
#include <QString>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "JournalRecords.h"
#include "VirtualBench.h"
#include "platform/DirectoryRegistry.h"
#include "platform/posix/DlopenLoader.h"
#include "qt/DialogWindow.h"
#include "qt/QtWindowSystem.h"
#include "support/Station.h"

namespace tandrel::e2e {

// Long enough for a loaded machine under the sanitizers; a passing test
// never waits it out.
constexpr int kDeadlineMs = 60000;

// Closes the journal's file after the dialog that writes to it is gone.
struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// The station as an operator meets it, in this process: the real window on
// Qt, the simulator library loaded by path, the bench's device tree, the
// journal in a file beside the bench. The images are chosen as --image would.
class SimStation {
public:
    // adjust, when given, changes the options before the station is made.
    SimStation(const VirtualBench& bench, std::vector<std::string> images,
               const std::function<void(Options&)>& adjust = {});
    // Closes the ports it left open, so the simulator is clean for the next test.
    ~SimStation();

    DownloadDialog& Dialog() { return station_->dialog; }
    ChannelRecord& Record(int channel) { return *Dialog().channelTable.Record(channel); }

    // The operator's hands on the window. A check box is clicked on its box.
    void Click(ControlId id);
    // Gives control id the keyboard focus and presses key, as the keyboard would.
    void PressKey(ControlId id, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void ChooseComm();
    // Clicks Reset and answers its message box; returns the box's text.
    std::string ResetAnsweringTheBox() { return ClickAnsweringTheBox(IDC_RESET); }
    // Clicks id and answers the message box it puts up with OK; the box's text.
    std::string ClickAnsweringTheBox(ControlId id);

    // Picks the entry of the window's menu with this text, as a right click would.
    void ChooseMenuEntry(const QString& text);
    // Chooses the "Port health..." entry and, while the window is open, runs
    // whileOpen with it, then clicks its OK.
    void InPortHealthWindow(const std::function<void(DialogWindow& window)>& whileOpen);

    // What the window shows now.
    std::string Row(int channel) const { return station_->Row(channel); }
    QColor RowColour(int channel);
    int Progress(int channel) const { return station_->Progress(channel); }
    bool Enabled(ControlId id) { return station_->window.Controls().IsEnabled(id); }
    std::string Banner() const { return station_->Banner(); }
    std::vector<std::string> Log() const { return station_->Log(); }
    bool WindowOpen() { return station_->window.Window().isVisible(); }

    // Every text the row has shown, in order.
    std::vector<std::string> History(int channel);
    const std::vector<JournalRecord>& Records() { return journalTail_.Update(); }

    // Runs the window until condition holds; false when the deadline passed.
    bool Await(const std::function<bool()>& condition, int timeoutMs = kDeadlineMs);
    // Until the row has shown text at some point.
    bool AwaitShown(int channel, const std::string& text, int timeoutMs = kDeadlineMs);
    // Until every channel of channels is downloading its Code item with its
    // bar at percent or more.
    bool AwaitDownloading(const std::vector<int>& channels, int percent);

private:
    QWidget* Widget(ControlId id);

    DlopenLoader loader_;
    DirectoryRegistry registry_;
    std::string journalPath_;
    std::unique_ptr<std::FILE, FileCloser> journalFile_;
    std::unique_ptr<test::Station<QtWindowSystem>> station_;
    JournalTail journalTail_;
};

}  // namespace tandrel::e2e
