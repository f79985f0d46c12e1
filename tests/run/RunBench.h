#pragma once

#include <string>
#include <vector>

#include "support/FakeLibrary.h"
#include "support/MemoryImageFiles.h"
#include "support/Station.h"
#include "usb/Timers.h"

namespace tandrel::test {

// The whole window on simulated controls, a virtual clock and an in-memory
// registry of phones, with the scripted library in place of the real one.
// Every chosen image is a Code image, kept in memory.
struct RunBenchFiles {
    MemoryImageFiles memoryFiles;
};
struct RunBench : RunBenchFiles, Station<> {
    RunBench();

    // A phone whose "CreateFileName" is value, under instance name instance.
    void Plug(const std::string& instance, const std::string& value);
    void Plug(int device) { Plug("phone" + std::to_string(device), "USB" + std::to_string(device)); }
    void Unplug(const std::string& instance);
    void Unplug(int device) { Unplug("phone" + std::to_string(device)); }

    void ChooseImages(const std::vector<std::string>& paths);
    void SetUsb(bool usb) { controls.SetComboSelection(IDC_DRIVER, usb ? kDriverUsb : kDriverComm); }
    // Start, and the copies of the images in.
    void Start() {
        controls.Click(IDC_START);
        AwaitImages();
    }
    void AwaitImages();
    // The path of the copy the last Start took of path.
    std::string CopyOf(const std::string& path) const;
    void Reset() { controls.Click(IDC_RESET); }
    void Tick() { loop.RunFor(kScanPeriodMs); }
    // The library reports the end of channel n's current step.
    void Report(int channel, ChannelEventKind kind = ChannelEventKind::StepSucceeded) {
        dialog.engine.HandleChannelEvent(kind, channel, "");
    }
    // Boots channel n's phone and runs it to the point where it waits for its unplug.
    void RunToUnplug(int channel);

    ChannelRecord& R(int n) { return *dialog.channelTable.Record(n); }
    ChannelState State(int n) { return R(n).state.load(); }
    Colour BannerColour() { return dialog.display.bannerColour(); }
    int Calls(const std::string& entry, int channel) const;
    int JournalCount(const std::string& fragment);
    // Where fragment first stands in the journal; npos when it does not.
    std::size_t JournalPosition(const std::string& fragment);

    SimulatedControls& controls = window.controls;
    SimulatedLoop& loop = window.loop;
    FakeLibrary& fake = FakeLibrary::Reset(&loop);
};

}  // namespace tandrel::test
