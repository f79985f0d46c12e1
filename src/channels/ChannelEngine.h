#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "channels/ChannelState.h"
#include "channels/ChannelTable.h"
#include "channels/ItemStages.h"
#include "channels/RunControl.h"
#include "library/LibraryTable.h"
#include "plan/DownloadList.h"
#include "plan/ImageBook.h"
#include "platform/WindowLoop.h"
#include "ui/Display.h"

namespace tandrel {

// What the channel engine works on; all of it belongs to the main window.
struct EngineContext {
    ChannelTable& channels;
    Display& display;
    WindowLoop& loop;
    LibraryTable& library;
    LibraryMessage& message;
    const DownloadList& downloadList;
    // The snapshot of downloadList's files the last Start took.
    ImageBook& images;
    RunControl& runControl;
    const std::uint8_t* bootBlock;
};

// The per-channel state machine: boots a phone, downloads every item, waits
// for its peers, has the phone reset, and handles failure and abort. Runs on
// the window thread only; even the finishing passes are tasks of the window
// loop, so no two events for a channel ever interleave.
class ChannelEngine {
public:
    explicit ChannelEngine(EngineContext context);

    // The one entry: an event for channel 1..8 (any other number is ignored).
    void HandleChannelEvent(ChannelEventKind kind, int channel, std::string_view text);

    // The channel's port in the library: true when it is open (closed)
    // afterwards. Faults thrown by the library stop here.
    bool OpenChannelPort(ChannelRecord* record);
    bool CloseChannelPort(ChannelRecord* record);

private:
    enum class ItemOutcome { ItemStarted, NoItemLeft, ItemFailed };

    // Starting a run (BootSteps.cpp).
    void ArmChannel(ChannelRecord& record);
    bool HoldForImages(ChannelRecord& record);
    void HoldPhone(ChannelRecord& record, const std::string& rowText, bool red);
    void TellChangedSources();
    void DetectionStep(ChannelRecord& record);
    void BootStep(ChannelRecord& record);
    void EnableStopButton(int channel);

    // Walking the download list (ItemSteps.cpp).
    void NextItem(ChannelRecord& record);
    ItemOutcome StartNextItem(ChannelRecord& record);
    void BeginStage(ChannelRecord& record, std::string_view text, ChannelState state);
    int CallDownload(const ChannelRecord& record, const ItemStage& stage, const char* fileSpec);

    // Ending a run (RunEnd.cpp).
    void FailChannel(ChannelRecord& record, std::string_view statusText, std::string_view logText);
    void AbortChannel(ChannelRecord& record);
    void CompleteChannel(ChannelRecord& record);
    void AwaitUnplug(ChannelRecord& record, std::string_view statusText, bool finishPeers);
    void ReleasePeers();
    void NoteFailure(ChannelRecord& record, std::string_view rowText);

    // Waiting for the peers and finishing (FinishPass.cpp).
    void EnterWaitPeers(ChannelRecord& record);
    void FinishChannel(ChannelRecord& record);
    bool AnyChannelBusy() const;
    void StartFinishPass();
    void VisitInPass(int channel);

    // Moves a non-empty LibraryMessage to the EventLog; clears it when asked.
    void LogLibraryMessage(bool clear);
    bool UsbMode() const { return ctx_.display.IsUsbMode(); }

    EngineContext ctx_;
};

// What the boot and download calls return when they refuse to start.
constexpr int kCallRefused = 1;

// The library sees channel numbers as unsigned 8-bit values.
inline std::uint8_t LibraryChannel(const ChannelRecord& record) { return static_cast<std::uint8_t>(record.channel); }

}  // namespace tandrel
