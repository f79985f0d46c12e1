#include "StationTimeline.h"

#include <algorithm>

#include "ui/ControlIds.h"

namespace tandrel::bench {

namespace {

bool IsStatus(const e2e::JournalRecord& r, const char* text) { return r.ev == "status" && r["text"] == text; }

}  // namespace

std::optional<StationTimeline> ReadTimeline(const std::vector<e2e::JournalRecord>& records, int channels) {
    StationTimeline line;
    bool started = false;
    bool itemBegun = false;
    int done = 0;
    for (const e2e::JournalRecord& r : records) {
        if (!started) {
            // Start's first visible act is to disable its own button.
            started = r.ev == "enable" && r["id"] == std::to_string(IDC_START) && r["on"] == "false";
            line.start = r.t;
            continue;
        }
        if (IsStatus(r, "USB detected")) line.lastDetected = std::max(line.lastDetected, r.t);
        if (IsStatus(r, "Downloading NAND PSI") && !itemBegun) {
            line.firstItem = r.t;
            itemBegun = true;
        }
        if (r.ev == "state" && r["state"] == "WaitPeers") line.lastItemsDone = std::max(line.lastItemsDone, r.t);
        if (IsStatus(r, "Done, Disconnect the phone")) {
            line.lastDone = std::max(line.lastDone, r.t);
            ++done;
        }
    }
    if (!started || done < channels) return std::nullopt;
    return line;
}

}  // namespace tandrel::bench
