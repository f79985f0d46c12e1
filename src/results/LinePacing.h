#pragma once

#include <cstdint>
#include <string>

namespace tandrel {

// When the station tries the line next, and what its operator hears of it:
// once when the line cannot be reached, once more when everything waiting
// has gone through. Pure logic, driven by the forwarding thread.
class LinePacing {
public:
    // The rest between tries while the line answers and nothing waits.
    static constexpr int kIntervalMs = 2000;
    // The longest rest while the line cannot be reached.
    static constexpr int kMaxBackoffMs = 30000;

    // The line answered for a batch; waiting results are still unsent. The
    // line for the log, or empty.
    std::string Answered(std::int64_t waiting);
    // A try failed for reason with waiting results unsent.
    std::string Failed(const std::string& reason, std::int64_t waiting);

    // How long to rest before the next try.
    int RestMs() const { return backoffMs_ ? backoffMs_ : (waiting_ ? 0 : kIntervalMs); }
    // A new result ends the rest at once, except while the line is being
    // given time to come back.
    bool NewResultEndsRest() const { return backoffMs_ == 0; }

private:
    int backoffMs_ = 0;  // 0 while the line answers
    std::int64_t waiting_ = 0;
    bool toldUnreachable_ = false;
};

}  // namespace tandrel
