#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "FakeLibrary.h"
#include "channels/ChannelEngine.h"
#include "platform/sim/SimulatedControls.h"
#include "platform/sim/SimulatedLoop.h"
#include "ui/ControlIds.h"
#include "ui/Journal.h"
#include "ui/Templates.h"

namespace tandrel::test {

// The channel engine on simulated controls and a virtual clock, talking to
// the scripted fake library. The journal keeps the history of every row.
struct EngineBench {
    explicit EngineBench(bool usb = true);
    ~EngineBench();

    void AddItem(int memoryClass, const std::string& path);
    void Event(ChannelEventKind kind, int channel, const std::string& text = "");
    // Selects "USB" or "COMM" in the "Driver" box.
    void SetMode(bool usb);

    ChannelRecord& R(int channel) { return *channels.Record(channel); }
    ChannelState State(int channel) { return R(channel).state.load(); }
    std::string Status(int channel) const { return controls.GetText(kStatusLabelIds[static_cast<std::size_t>(channel)]); }
    Colour LabelColour(int channel) { return display.Label(channel).backgroundColor(); }
    std::vector<std::string> Log() const;
    // Every text the row of channel showed, oldest first.
    std::vector<std::string> StatusHistory(int channel);
    std::vector<std::string> Journal(const std::string& event);

    SimulatedControls controls{MainDialogTemplate()};
    SimulatedLoop loop;
    char* journalText = nullptr;
    std::size_t journalSize = 0;
    std::FILE* journalFile;
    tandrel::Journal journal;
    Display display;
    ChannelTable channels;
    FakeLibrary& fake;
    LibraryTable library;
    LibraryMessage message;
    DownloadList list;
    UnplugQueue queue;
    DevicePathTable paths;
    std::uint8_t bootBlock[6] = {};
    ChannelEngine engine;
};

}  // namespace tandrel::test
