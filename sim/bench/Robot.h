#pragma once

#include <atomic>
#include <chrono>
#include <cstdio>
#include <vector>

#include "common/Bench.h"

namespace tandrel::sim {

struct RobotPlan {
    std::vector<int> phones;                          // plugged in this order
    std::chrono::milliseconds interval{1000};         // between two plugs
    bool untilDone = false;                           // stop once every phone is out again
    std::chrono::milliseconds timeout{0};             // 0: no limit
};

// The operator's hands: plugs the phones one after another and unplugs each
// once the bench records a final state for it (reset done, failed, aborted,
// or closed before its reset).
// Runs until stop is set, or until done when asked; returns the exit status:
// 0, or 1 when a phone did not end with its reset done or time ran out.
int RunRobot(const Bench& bench, const RobotPlan& plan, const std::atomic<bool>& stop, std::FILE* log);

}  // namespace tandrel::sim
