#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "JournalRecords.h"

namespace tandrel::bench {

// When the journal says each step of a full run happened, in milliseconds
// of the station's clock. Each "last" is the latest over all channels.
struct StationTimeline {
    std::int64_t start = 0;          // Start pressed
    std::int64_t lastDetected = 0;   // the last phone armed
    std::int64_t firstItem = 0;      // the first item begun
    std::int64_t lastItemsDone = 0;  // the last channel through its items
    std::int64_t lastDone = 0;       // the last "Done, Disconnect the phone"
};

// The run's timeline, once every one of channels has shown
// "Done, Disconnect the phone"; nothing before, or when Start is missing.
std::optional<StationTimeline> ReadTimeline(const std::vector<e2e::JournalRecord>& records, int channels);

}  // namespace tandrel::bench
