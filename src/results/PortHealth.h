#pragma once

#include <array>
#include <climits>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace tandrel {

// One finished phone as port health counts it.
struct PortOutcome {
    int port = 0;
    bool success = false;
    // From arming to unplug.
    std::int64_t durationMs = 0;
    // UTC, when its row showed the result.
    std::int64_t resultMs = 0;
};

// A port's figures since it was last cleared. A yield is in percent, none
// while there is no phone to count; a median is none without a time.
struct PortFigures {
    int phones = 0;
    int successes = 0;
    int inRow = 0;  // failures since the last success
    std::optional<double> yield;
    std::optional<double> yield20;  // over the last 20 phones
    std::optional<double> shiftYield;
    std::optional<std::int64_t> medianMs;         // of every phone
    std::optional<std::int64_t> successMedianMs;  // of its successes
    std::optional<std::int64_t> recentMedianMs;   // of its last 10 successes
};

// The operator changed a port's cable (or hub port) at ms, UTC.
struct PortClear {
    int port = 0;
    std::int64_t ms = 0;
};

// What port health starts from when the station starts: each port's last
// clear, the phones finished on it since (in the order they finished), and
// when the shift began (0: no Start yet today).
struct PortHistory {
    std::vector<PortClear> clears;
    std::vector<PortOutcome> outcomes;
    std::int64_t shiftStartMs = 0;
};

// Why a port was flagged; once flagged it stays so until it is cleared.
struct PortFlag {
    bool flagged = false;
    std::string reason;
};

// Which port or cable fails: each port's figures, and the rules that flag a
// port whose phones keep failing, whose yield falls far below its
// neighbours', or whose successes have become slow. Plain data in, no clock
// of its own; one thread at a time.
class PortHealth {
public:
    static constexpr int kPorts = 8;
    static constexpr int kDefaultAlarm = 3;
    static constexpr int kYieldWindow = 20;
    // Yields are compared only between ports with this many phones each.
    static constexpr int kYieldMinPhones = 10;
    static constexpr double kYieldGapPoints = 30.0;
    static constexpr int kSlowWindow = 10;
    static constexpr double kSlowFactor = 1.5;

    // alarmInRow: failures in a row that flag a port (at least 1).
    explicit PortHealth(int alarmInRow = kDefaultAlarm) : alarmInRow_(alarmInRow) {}

    // Until the first Start no shift has begun.
    static constexpr std::int64_t kNoShift = INT64_MAX;

    // The shift began at ms (UTC); only phones finished since count in its yield.
    void StartShift(std::int64_t ms);
    std::int64_t ShiftStart() const { return shiftStartMs_; }

    // Starts from history, as if it had happened in this session.
    void Load(const PortHistory& history);

    // Counts a finished phone; returns the ports this flagged, in port order.
    // A port outside 1..8 counts nowhere.
    std::vector<int> Add(const PortOutcome& outcome);
    // The operator changed the port's cable at ms: it counts afresh.
    void Clear(int port, std::int64_t ms);

    PortFigures Figures(int port) const;
    const PortFlag& Flag(int port) const;
    // When the port was last cleared (UTC ms); 0 when never.
    std::int64_t ClearedAt(int port) const;

private:
    struct Track {
        int phones = 0;
        int successes = 0;
        int inRow = 0;
        int shiftPhones = 0;
        int shiftSuccesses = 0;
        std::deque<bool> recent;                  // the last kYieldWindow results
        std::deque<std::int64_t> recentSuccesses;  // the last kSlowWindow success times
        std::vector<std::int64_t> durations;
        std::vector<std::int64_t> successDurations;
        PortFlag flag;
        std::int64_t clearedMs = 0;
    };

    const Track* TrackOf(int port) const;
    std::string Reason(int port) const;
    std::string YieldReason(int port) const;
    std::string SlowReason(int port) const;

    int alarmInRow_;
    std::int64_t shiftStartMs_ = kNoShift;
    std::array<Track, kPorts> tracks_ = {};
};

// The median of values (the lower middle's and upper middle's mean, rounded
// down, for an even count); none when values is empty.
std::optional<std::int64_t> MedianOf(std::vector<std::int64_t> values);

// N of --port-alarm N: a whole number from 1 to 1000; false (alarm left
// alone) for anything else, with the words for the operator.
bool ParsePortAlarm(const std::string& text, int& alarm);
std::string PortAlarmRefusal(const std::string& text);

// A port's figures and flag as one line of the port-health window.
std::string PortHealthLine(int port, const PortFigures& figures, const PortFlag& flag);

}  // namespace tandrel
