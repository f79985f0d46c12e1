#pragma once

#include <string>
#include <vector>

#include "support/FakeLibrary.h"
#include "support/Station.h"

namespace tandrel::test {

// The main window on simulated controls and a virtual clock, with the
// scripted fake library in place of the real one and every row white. The
// journal keeps the history of every row.
struct EngineBench : Station<> {
    explicit EngineBench(bool usb = true);

    void SetMode(bool usb) { controls.SetComboSelection(IDC_DRIVER, usb ? kDriverUsb : kDriverComm); }
    void AddItem(int memoryClass, const std::string& path);
    void Event(ChannelEventKind kind, int channel, const std::string& text = "") {
        dialog.engine.HandleChannelEvent(kind, channel, text);
    }

    ChannelRecord& R(int n) { return *dialog.channelTable.Record(n); }
    ChannelState State(int n) { return R(n).state.load(); }
    Colour LabelColour(int n) { return dialog.display.Label(n).backgroundColor(); }
    bool StopEnabled(int n) const { return controls.IsEnabled(StopButtonId(n)); }
    // Every text the row of channel n showed, oldest first.
    std::vector<std::string> StatusHistory(int n);

    SimulatedControls& controls = window.controls;
    SimulatedLoop& loop = window.loop;
    FakeLibrary& fake = FakeLibrary::Reset(&loop);
    ChannelEngine& engine = dialog.engine;
    ChannelTable& channels = dialog.channelTable;
    LibraryMessage& message = dialog.libraryMessage;
    DownloadList& list = dialog.downloadList;
    LibraryTable& library = dialog.libraryTable;
    UnplugQueue& queue = dialog.unplugQueue;
};

}  // namespace tandrel::test
