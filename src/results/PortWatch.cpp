#include "results/PortWatch.h"

#include <filesystem>
#include <system_error>

#include "results/ResultStore.h"
#include "ui/Journal.h"

namespace tandrel {

PortWatch::PortWatch(WatchContext context, StoreWriter* writer, int alarmInRow)
    : ctx_(context), writer_(writer), health_(alarmInRow) {}

void PortWatch::LoadHistory(const std::string& path) {
    ReadHistory(path);
    FlagsChanged();
}

void PortWatch::ReadHistory(const std::string& path) {
    std::error_code ignored;
    if (path.empty() || !std::filesystem::exists(std::filesystem::u8path(path), ignored)) return;
    std::string error;
    // Opened for writing, so that a store of an older station is brought up to date.
    const std::unique_ptr<ResultStore> store = ResultStore::Open(path, true, error);
    PortHistory history;
    if (!store || !store->LoadPortHistory(LocalDayStartMs(ctx_.clock.UtcMs()), history, error)) {
        ctx_.display.AppendLog("Port health counts from now: " + error);
        return;
    }
    health_.Load(history);
    // A port flagged before and not cleared since is still to be seen to.
    for (int port = 1; port <= PortHealth::kPorts; ++port) {
        if (health_.Flag(port).flagged) {
            ctx_.display.AppendLog(FlagLine(port));
            ShowMark(port);
        }
    }
}

void PortWatch::Started() {
    const std::int64_t now = ctx_.clock.UtcMs();
    const std::int64_t shift = health_.ShiftStart();
    if (shift == PortHealth::kNoShift || LocalDayStartMs(shift) != LocalDayStartMs(now)) health_.StartShift(now);
}

void PortWatch::Finished(const ResultRecord& record) {
    const PortOutcome outcome{record.channel, record.success, record.durationMs, record.resultMs};
    const std::vector<int> flagged = health_.Add(outcome);
    for (int port : flagged) Announce(port);
    if (!flagged.empty()) FlagsChanged();
}

void PortWatch::StateChanged(int channel, ChannelState state) {
    if (!health_.Flag(channel).flagged) return;
    if (state == ChannelState::Ready) ctx_.display.Label(channel).Mark(kAmber);
    else ctx_.display.Label(channel).Unmark();
}

void PortWatch::Clear(int port) {
    if (port < 1 || port > PortHealth::kPorts) return;
    const PortClear clear{port, ctx_.clock.UtcMs()};
    health_.Clear(port, clear.ms);
    if (writer_) writer_->Hand(clear);
    ctx_.display.Label(port).Unmark();
    if (Journal* journal = ctx_.display.GetJournal()) journal->PortHealth(port, false, "cleared", 0, std::nullopt);
    FlagsChanged();
}

void PortWatch::FlagsChanged() const {
    if (flagsChanged_) flagsChanged_(health_);
}

std::vector<std::string> PortWatch::Lines() const {
    std::vector<std::string> lines;
    for (int port = 1; port <= PortHealth::kPorts; ++port) {
        lines.push_back(PortHealthLine(port, health_.Figures(port), health_.Flag(port)));
    }
    return lines;
}

void PortWatch::Announce(int port) {
    const PortFlag& flag = health_.Flag(port);
    const PortFigures figures = health_.Figures(port);
    ctx_.display.AppendLog(FlagLine(port));
    if (Journal* journal = ctx_.display.GetJournal()) {
        journal->PortHealth(port, true, flag.reason, figures.inRow, figures.yield20);
    }
    ShowMark(port);
}

std::string PortWatch::FlagLine(int port) const {
    return "Port " + std::to_string(port) + ": " + health_.Flag(port).reason + " \u2014 check the cable and the hub port";
}

void PortWatch::ShowMark(int port) {
    const ChannelRecord* record = ctx_.channels.Record(port);
    if (record && record->state.load() == ChannelState::Ready) ctx_.display.Label(port).Mark(kAmber);
}

}  // namespace tandrel
