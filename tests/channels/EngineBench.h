#pragma once

#include <string>
#include <vector>

#include "support/FakeLibrary.h"
#include "app/DownloadDialog.h"
#include "support/InMemoryRegistry.h"
#include "support/SimulatedControls.h"
#include "support/SimulatedLoop.h"
#include "support/TableLoader.h"
#include "ui/ControlIds.h"
#include "support/MemoryFile.h"
#include "ui/Templates.h"

namespace tandrel::test {

// The main window on simulated controls and a virtual clock, with the
// scripted fake library in place of the real one and every row white. The
// journal keeps the history of every row.
struct EngineBench {
    explicit EngineBench(bool usb = true);

    void SetMode(bool usb) { controls.SetComboSelection(IDC_DRIVER, usb ? kDriverUsb : kDriverComm); }
    void AddItem(int memoryClass, const std::string& path);
    void Event(ChannelEventKind kind, int channel, const std::string& text = "") {
        dialog.engine.HandleChannelEvent(kind, channel, text);
    }

    ChannelRecord& R(int n) { return *dialog.channelTable.Record(n); }
    ChannelState State(int n) { return R(n).state.load(); }
    std::string Status(int n) const { return controls.GetText(StatusLabelId(n)); }
    Colour LabelColour(int n) { return dialog.display.Label(n).backgroundColor(); }
    bool StopEnabled(int n) const { return controls.IsEnabled(StopButtonId(n)); }
    std::vector<std::string> Log() const;
    std::string JournalText();
    // Every text the row of channel n showed, oldest first.
    std::vector<std::string> StatusHistory(int n);

    SimulatedControls controls{MainDialogTemplate()};
    SimulatedLoop loop;
    TableLoader loader;
    InMemoryRegistry registry;
    DevicePathTable paths;
    fakes::MemoryFile journalFile;
    Journal journal{journalFile.file, loop};
    FakeLibrary& fake = FakeLibrary::Reset(&loop);
    DownloadDialog dialog{StationPorts{controls, loop, loader, registry, paths}, Options{}, &journal};
    ChannelEngine& engine = dialog.engine;
    ChannelTable& channels = dialog.channelTable;
    LibraryMessage& message = dialog.libraryMessage;
    DownloadList& list = dialog.downloadList;
    LibraryTable& library = dialog.libraryTable;
    UnplugQueue& queue = dialog.unplugQueue;
};

}  // namespace tandrel::test
