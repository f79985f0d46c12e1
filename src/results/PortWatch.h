#pragma once

#include <functional>
#include <string>
#include <vector>

#include "channels/ChannelState.h"
#include "channels/ChannelTable.h"
#include "platform/WallClock.h"
#include "results/PortHealth.h"
#include "results/ResultRecord.h"
#include "results/StoreWriter.h"
#include "ui/Display.h"

namespace tandrel {

// What the watch works on; all of it belongs to the main window.
struct WatchContext {
    Display& display;
    const ChannelTable& channels;
    const WallClock& clock;
};

// Port health on the window thread: it counts every finished phone, and
// tells the operator of a port it flags, on its row (amber while the channel
// waits for a phone, the row's text kept), in the log and in the journal. A
// clear the operator makes is kept in the store.
class PortWatch {
public:
    // writer may be null: no store is kept, and clears last the session.
    PortWatch(WatchContext context, StoreWriter* writer, int alarmInRow);

    // At start-up, once: what the store at path holds. A store not made yet
    // holds nothing; one that cannot be read is said in the log. A port
    // still flagged is shown as at its flagging, but for the journal.
    void LoadHistory(const std::string& path);

    // A Start: the first of a new day begins the shift.
    void Started();
    void Finished(const ResultRecord& record);
    void StateChanged(int channel, ChannelState state);
    // The operator's "Cleared" for port.
    void Clear(int port);

    // Called whenever the set of flagged ports or a reason may have changed:
    // once the history is loaded, on a flag and on a clear.
    void OnFlagsChanged(std::function<void(const PortHealth&)> changed) { flagsChanged_ = std::move(changed); }

    const PortHealth& Health() const { return health_; }
    // The window's line for each port 1..8.
    std::vector<std::string> Lines() const;

private:
    void ReadHistory(const std::string& path);
    void Announce(int port);
    void ShowMark(int port);
    std::string FlagLine(int port) const;

    WatchContext ctx_;
    void FlagsChanged() const;

    StoreWriter* writer_;
    PortHealth health_;
    std::function<void(const PortHealth&)> flagsChanged_;
};

}  // namespace tandrel
