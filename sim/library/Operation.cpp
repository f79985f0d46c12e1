#include "Operation.h"

namespace tandrel::sim {

void Operation::Cancel() {
    std::lock_guard lock(reportMutex);
    cancelled.store(true, std::memory_order_release);
}

void Operation::Progress(int percent) {
    if (percent == lastPercent) return;
    lastPercent = percent;
    Report(IFWD_DL_STATUS_PROGRESS, std::to_string(percent).c_str());
}

void Operation::Succeed() { outcomeStatus = IFWD_DL_STATUS_OK; }

void Operation::Fail(const std::string& why) {
    outcomeStatus = IFWD_DL_STATUS_FAILED;
    outcomeText = why;
}

void Operation::DeliverOutcome() {
    if (outcomeStatus >= 0) Report(outcomeStatus, outcomeText.c_str());
}

void Operation::Report(int status, const char* text) {
    std::lock_guard lock(reportMutex);
    if (cancelled.load(std::memory_order_relaxed) || callback == nullptr) return;
    callback(channel, status, text);
}

}  // namespace tandrel::sim
