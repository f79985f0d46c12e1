#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/Options.h"
#include "channels/ChannelEngine.h"
#include "channels/ChannelTable.h"
#include "library/LibraryTable.h"
#include "plan/DownloadList.h"
#include "plan/ImageBook.h"
#include "plan/ImageSlotSet.h"
#include "platform/DeviceRegistry.h"
#include "platform/DialogControls.h"
#include "platform/ImageFiles.h"
#include "platform/ModuleLoader.h"
#include "platform/WallClock.h"
#include "platform/WindowLoop.h"
#include "results/PortWatch.h"
#include "results/LineClient.h"
#include "results/LineForwarder.h"
#include "results/ResultDesk.h"
#include "results/StoreWriter.h"
#include "ui/Display.h"
#include "ui/Journal.h"
#include "usb/DevicePathTable.h"
#include "usb/ScanTick.h"
#include "usb/UnplugQueue.h"
#include "usb/UsbRunControl.h"

namespace tandrel {

// The desktop services the window runs on.
struct StationPorts {
    DialogControls& controls;
    WindowLoop& loop;
    ModuleLoader& loader;
    DeviceRegistry& registry;
    DevicePathTable& devicePaths;
    const ImageFiles& files;
    // Where Start keeps its copies of the chosen image files.
    std::string snapshotFolder;
    // What results are stamped with; the system's clock unless a test fakes it.
    const WallClock& clock = TheSystemWallClock();
    // The line service's client with --line; null without.
    std::unique_ptr<LineClient> line = nullptr;
};

// The main window: owner of all run-time state, and the handler of every
// event the station reacts to. Lives from start-up until the window closes.
class DownloadDialog {
public:
    DownloadDialog(StationPorts ports, Options options, Journal* journal = nullptr);
    ~DownloadDialog();
    DownloadDialog(const DownloadDialog&) = delete;
    DownloadDialog& operator=(const DownloadDialog&) = delete;

    // Runs once the window and its controls exist.
    bool OnInitDialog();
    // Runs once the window is on screen: what the command line asked for
    // (images into the slots, then Start) happens here.
    void OnWindowShown();

    // Data exchange between the bound fields and their members. Reading stops
    // at a field that does not hold an integer (the operator is told) and
    // returns false; writing always succeeds.
    bool UpdateData(bool saveAndValidate);

    // Clicks by control id, and commands of the window's menu.
    void OnCommand(ControlId id);
    void OnSysCommand(unsigned commandId);
    // The "Port health..." entry of the window's menu.
    void OnPortHealth();
    // Posted messages and timer ticks from the window loop.
    void OnMessage(WindowMessage& message);
    void OnTimer(int timerId);

    void OnOpenFile();
    void OnSlotCheckClicked(int slot);
    void OnStart();
    void OnReset();
    void OnStop(int channel);
    // The window is about to close: false keeps it open. Phones still being
    // written each get a "Fail" result first; the operator is asked before.
    bool OnClose(bool operatorAsked);

    // The ports.
    DialogControls& controls;
    WindowLoop& loop;
    ModuleLoader& loader;
    DeviceRegistry& registry;
    DevicePathTable& devicePaths;
    const Options options;

    // Bound fields.
    int commNumber = 0;
    std::array<std::string, 7> pathTexts;

    Display display;
    ImageSlotSet imageSlots;
    DownloadList downloadList;
    // The copies of downloadList's files the last Start took.
    ImageBook images;
    ChannelTable channelTable;
    LibraryTable libraryTable;
    LibraryMessage libraryMessage;
    UnplugQueue unplugQueue;
    // The results store's forwarder to the line (none without --line), its
    // writer (none when no store is kept) and where each finished phone's
    // record is made. The writer goes first: it cues the forwarder to its end.
    std::unique_ptr<LineForwarder> lineForwarder;
    std::unique_ptr<StoreWriter> storeWriter;
    ResultDesk results;
    PortWatch portWatch;
    UsbRunControl runControl{loop, devicePaths, unplugQueue, results};
    std::uint8_t bootBlock[6] = {};
    ChannelEngine engine;
    ScanTick scanTick;

private:
    void ApplyStartupImages();
    void RunLibraryStartup();
    void DetachLibrary();
    void OnChannelEvent(WindowMessage& message);
    void OnAppendLog(WindowMessage& message);
    void RefuseStart(const std::string& why);
    void OnImagesTaken(const ImageSnapshot& snapshot);
    void ArmCommChannels();
    std::vector<int> ChannelsBeingWritten() const;

    // Once the close has been let through, a second request (a signal while
    // the operator is being asked) records nothing again.
    bool closing_ = false;
};

}  // namespace tandrel
