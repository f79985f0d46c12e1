#include "results/LinePacing.h"

#include <algorithm>

namespace tandrel {

std::string LinePacing::Answered(std::int64_t waiting) {
    backoffMs_ = 0;
    waiting_ = waiting;
    if (!toldUnreachable_ || waiting > 0) return {};
    toldUnreachable_ = false;
    return "Line reached: all results are through";
}

std::string LinePacing::Failed(const std::string& reason, std::int64_t waiting) {
    backoffMs_ = backoffMs_ ? std::min(2 * backoffMs_, kMaxBackoffMs) : kIntervalMs;
    waiting_ = waiting;
    if (toldUnreachable_) return {};
    toldUnreachable_ = true;
    return "Line not reachable: " + reason + ", " + std::to_string(waiting) +
           (waiting == 1 ? " result waiting" : " results waiting");
}

}  // namespace tandrel
