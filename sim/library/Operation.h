#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

#include "library/DownloadLibrary.h"

namespace tandrel::sim {

// One boot, download or reset in flight on a channel. Reports go out under a
// lock that Cancel also takes, so once Cancel has returned the operation can
// report nothing more. The outcome is held back until the channel is free
// again: a caller that starts its next step on hearing it must not find the
// channel still busy.
class Operation {
public:
    Operation(std::uint8_t channel, IFWD_DL_Callback callback) : channel(channel), callback(callback) {}

    void Cancel();
    bool Cancelled() const { return cancelled.load(std::memory_order_acquire); }

    // Status 2 with the percentage, only when it moved.
    void Progress(int percent);
    // Record the outcome; DeliverOutcome reports it.
    void Succeed();
    void Fail(const std::string& why);
    void DeliverOutcome();

private:
    void Report(int status, const char* text);

    const std::uint8_t channel;
    const IFWD_DL_Callback callback;
    std::atomic<bool> cancelled{false};
    std::mutex reportMutex;
    int lastPercent = -1;
    int outcomeStatus = -1;
    std::string outcomeText;
};

}  // namespace tandrel::sim
