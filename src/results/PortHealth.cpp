#include "results/PortHealth.h"

#include <algorithm>
#include <cstdio>

namespace tandrel {

namespace {

std::optional<double> Percent(int part, int whole) {
    if (whole <= 0) return std::nullopt;
    return 100.0 * part / whole;
}

double MedianOfYields(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

int SuccessesIn(const std::deque<bool>& results) {
    return static_cast<int>(std::count(results.begin(), results.end(), true));
}

std::string Seconds(std::int64_t ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f s", static_cast<double>(ms) / 1000.0);
    return text;
}

std::string Whole(double percent) {
    char text[16];
    std::snprintf(text, sizeof text, "%.0f%%", percent);
    return text;
}

}  // namespace

std::optional<std::int64_t> MedianOf(std::vector<std::int64_t> values) {
    if (values.empty()) return std::nullopt;
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

void PortHealth::StartShift(std::int64_t ms) {
    shiftStartMs_ = ms;
    for (Track& t : tracks_) t.shiftPhones = t.shiftSuccesses = 0;
}

void PortHealth::Load(const PortHistory& history) {
    StartShift(history.shiftStartMs ? history.shiftStartMs : kNoShift);
    for (const PortClear& c : history.clears) Clear(c.port, c.ms);
    for (const PortOutcome& o : history.outcomes) Add(o);
}

std::vector<int> PortHealth::Add(const PortOutcome& outcome) {
    if (outcome.port < 1 || outcome.port > kPorts) return {};
    Track& t = tracks_[static_cast<std::size_t>(outcome.port - 1)];
    ++t.phones;
    t.successes += outcome.success;
    t.inRow = outcome.success ? 0 : t.inRow + 1;
    if (outcome.resultMs >= shiftStartMs_) {
        ++t.shiftPhones;
        t.shiftSuccesses += outcome.success;
    }
    t.recent.push_back(outcome.success);
    if (t.recent.size() > kYieldWindow) t.recent.pop_front();
    t.durations.push_back(outcome.durationMs);
    if (outcome.success) {
        t.successDurations.push_back(outcome.durationMs);
        t.recentSuccesses.push_back(outcome.durationMs);
        if (t.recentSuccesses.size() > kSlowWindow) t.recentSuccesses.pop_front();
    }
    // One port's phone moves the others' comparison too: every port is judged.
    std::vector<int> flagged;
    for (int port = 1; port <= kPorts; ++port) {
        Track& judged = tracks_[static_cast<std::size_t>(port - 1)];
        if (judged.flag.flagged) continue;
        std::string reason = Reason(port);
        if (reason.empty()) continue;
        judged.flag = PortFlag{true, std::move(reason)};
        flagged.push_back(port);
    }
    return flagged;
}

void PortHealth::Clear(int port, std::int64_t ms) {
    if (port < 1 || port > kPorts) return;
    Track& t = tracks_[static_cast<std::size_t>(port - 1)];
    t = Track{};
    t.clearedMs = ms;
}

const PortHealth::Track* PortHealth::TrackOf(int port) const {
    if (port < 1 || port > kPorts) return nullptr;
    return &tracks_[static_cast<std::size_t>(port - 1)];
}

PortFigures PortHealth::Figures(int port) const {
    PortFigures f;
    const Track* t = TrackOf(port);
    if (!t) return f;
    f.phones = t->phones;
    f.successes = t->successes;
    f.inRow = t->inRow;
    f.yield = Percent(t->successes, t->phones);
    f.yield20 = Percent(SuccessesIn(t->recent), static_cast<int>(t->recent.size()));
    f.shiftYield = Percent(t->shiftSuccesses, t->shiftPhones);
    f.medianMs = MedianOf(t->durations);
    f.successMedianMs = MedianOf(t->successDurations);
    f.recentMedianMs = MedianOf({t->recentSuccesses.begin(), t->recentSuccesses.end()});
    return f;
}

const PortFlag& PortHealth::Flag(int port) const {
    static const PortFlag kNone;
    const Track* t = TrackOf(port);
    return t ? t->flag : kNone;
}

std::int64_t PortHealth::ClearedAt(int port) const {
    const Track* t = TrackOf(port);
    return t ? t->clearedMs : 0;
}

// The first rule that holds, in this order: failures in a row, a yield far
// below the others', slow successes. Empty when none does.
std::string PortHealth::Reason(int port) const {
    const Track& t = *TrackOf(port);
    if (t.inRow >= alarmInRow_) {
        return std::to_string(t.inRow) + (t.inRow == 1 ? " failure" : " failures") + " in a row";
    }
    if (std::string yield = YieldReason(port); !yield.empty()) return yield;
    return SlowReason(port);
}

std::string PortHealth::YieldReason(int port) const {
    const Track& t = *TrackOf(port);
    if (t.recent.size() < kYieldMinPhones) return {};
    std::vector<double> others;
    for (int other = 1; other <= kPorts; ++other) {
        const Track& o = *TrackOf(other);
        if (other == port || o.recent.size() < kYieldMinPhones) continue;
        others.push_back(*Percent(SuccessesIn(o.recent), static_cast<int>(o.recent.size())));
    }
    if (others.empty()) return {};
    const double mine = *Percent(SuccessesIn(t.recent), static_cast<int>(t.recent.size()));
    const double theirs = MedianOfYields(std::move(others));
    if (theirs - mine <= kYieldGapPoints) return {};
    return "yield " + Whole(mine) + " over its last " + std::to_string(t.recent.size()) + " phones, the other ports " +
           Whole(theirs);
}

std::string PortHealth::SlowReason(int port) const {
    const Track& t = *TrackOf(port);
    if (t.recentSuccesses.size() < kSlowWindow) return {};
    std::vector<std::int64_t> others;
    for (int other = 1; other <= kPorts; ++other) {
        const Track& o = *TrackOf(other);
        if (other == port || o.recentSuccesses.size() < kSlowWindow) continue;
        others.push_back(*MedianOf({o.recentSuccesses.begin(), o.recentSuccesses.end()}));
    }
    if (others.empty()) return {};
    const std::int64_t mine = *MedianOf({t.recentSuccesses.begin(), t.recentSuccesses.end()});
    const std::int64_t theirs = *MedianOf(std::move(others));
    if (static_cast<double>(mine) <= kSlowFactor * static_cast<double>(theirs)) return {};
    return "slow, " + Seconds(mine) + " a phone over its last " + std::to_string(kSlowWindow) +
           " successes, the other ports " + Seconds(theirs);
}

bool ParsePortAlarm(const std::string& text, int& alarm) {
    if (text.empty() || text.size() > 4 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    const int value = std::stoi(text);
    if (value < 1 || value > 1000) return false;
    alarm = value;
    return true;
}

std::string PortAlarmRefusal(const std::string& text) {
    return "--port-alarm takes a number of failures from 1 to 1000, not " + text;
}

std::string PortHealthLine(int port, const PortFigures& f, const PortFlag& flag) {
    const auto percent = [](const std::optional<double>& p) { return p ? Whole(*p) : std::string("-"); };
    const std::string median = f.successMedianMs ? Seconds(*f.successMedianMs) : std::string("-");
    std::string line = "Port " + std::to_string(port) + ": " + std::to_string(f.phones) + " phones, " +
                       std::to_string(f.successes) + " successes, yield " + percent(f.yield20) + " last 20, " +
                       percent(f.shiftYield) + " shift, " + std::to_string(f.inRow) + " failed in a row, median " +
                       median;
    if (flag.flagged) line += " \u2014 FLAGGED: " + flag.reason;
    return line;
}

}  // namespace tandrel
