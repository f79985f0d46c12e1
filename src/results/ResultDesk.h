#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "channels/ChannelRecord.h"
#include "channels/ChannelTable.h"
#include "plan/DownloadList.h"
#include "plan/ImageSnapshot.h"
#include "platform/WallClock.h"
#include "platform/WindowLoop.h"
#include "results/ResultRecord.h"
#include "results/StoreWriter.h"
#include "ui/Display.h"

namespace tandrel {

// What the desk works on; all of it belongs to the main window.
struct DeskContext {
    Display& display;
    WindowLoop& loop;
    const WallClock& clock;
};

// Who keeps the records.
struct StationIdentity {
    std::string name;
    std::string version;
};

// Where each finished phone becomes its one record, on the window thread:
// the desk follows every channel from its arming to its result, makes the
// record once, and hands it to the journal and to the store-writer thread.
class ResultDesk {
public:
    // writer may be null: no store is kept.
    ResultDesk(DeskContext context, StationIdentity identity, StoreWriter* writer);

    void SetLibraryVersion(std::string version) { libraryVersion_ = std::move(version); }
    // Told of every record once it is made.
    void OnFinished(std::function<void(const ResultRecord&)> observer) { observer_ = std::move(observer); }

    // Start: a new run of list's files, once snapshot has taken them.
    void Started(const DownloadList& list, const ImageSnapshot& snapshot);
    // The channel took a phone, found at devicePath.
    void Armed(const ChannelRecord& record, std::string devicePath);
    void StateChanged(int channel, ChannelState state);
    // USB mode: the phone has gone; its row still shows what it was told.
    void Unplugged(int channel);
    // The phone's row shows its result now.
    // reason: why it failed, where its row does not say.
    void Finished(const ChannelRecord& record, bool success, std::string_view reason = {});

private:
    struct Run {
        std::string runUuid;
        std::string mode;
        std::string devicePath;
        std::string rowText;
        std::int64_t armedAt = 0;  // on the window loop's clock
        std::int64_t unpluggedAt = 0;
        std::int64_t armedMs = 0;  // UTC
        std::int64_t itemsDoneMs = 0;
        std::int64_t unpluggedMs = 0;
    };

    void FillImages(const ChannelRecord& record, ResultRecord& out) const;
    void FillFailure(const ChannelRecord& record, ResultRecord& out) const;
    void Journal(const ResultRecord& record);

    DeskContext ctx_;
    const StationIdentity identity_;
    StoreWriter* writer_;
    std::string libraryVersion_;
    std::function<void(const ResultRecord&)> observer_;
    std::string runUuid_;
    std::array<Run, ChannelTable::channelCount + 1> runs_ = {};
};

}  // namespace tandrel
