#pragma once

#include <chrono>
#include <cstdint>

#include "support/Scheduler.h"

namespace tandrel {

// A window loop on a virtual clock. Nothing happens until the test drives it:
// RunFor(ms) delivers posted messages, timer ticks and delayed tasks in time
// order while the clock advances; Pause advances the clock and delivers
// nothing. Posts may come from any thread.
class SimulatedLoop : public Scheduler {
public:
    void Pause(int ms) override;

    // Advances the clock by ms, delivering everything that falls due.
    void RunFor(std::int64_t ms);
    // Delivers the messages posted so far, without moving the clock.
    void DeliverPosted();
    // Blocks in real time until a message is queued or the timeout passes.
    bool WaitForPost(std::chrono::milliseconds timeout);

protected:
    Time Clock() const override { return now_; }
    void Reach(Time due) override;

private:
    Time now_{};
};

}  // namespace tandrel
