#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tandrel::line {

// One station result, checked: its keys, and the row as the station sent it
// (the database takes the other fields from there).
struct LineRow {
    std::string station;
    std::int64_t sequence = 0;
    std::string uuid;
    std::string record;  // the row's JSON object, compact
};

// What a station sends: its results, how many more it still holds back,
// and, from a station that watches its ports, the ports it has flagged now:
// a JSON list of {"port": N, "reason": TEXT}, the empty list when none is.
struct Batch {
    std::vector<LineRow> rows;
    std::int64_t waiting = 0;
    std::optional<std::string> ports;
};

// The most rows one batch may carry; a station sends 100 at a time.
constexpr std::size_t kMaxBatchRows = 1000;

// Reads a batch, {"results": [row, ...], "waiting": N, "ports": [...]}, each row in the
// form tandrel-results writes. False, with the first fault in words (which row, which field), when
// anything of it is not a valid row: then none of it is taken.
bool ParseBatch(const std::string& body, Batch& batch, std::string& reason);

}  // namespace tandrel::line
